#pragma once
// What expect-snapshot does with a drawn screen: compares it with NAME.png in the reference
// folder and, when it differs, leaves the actual picture and a diff picture under the same name in
// the output folder; or, when recording, writes the reference and counts it.
#include <filesystem>
#include <iosfwd>
#include <set>
#include <string>

#include "simulator/SnapshotComparison.h"
#include "simulator/SnapshotImage.h"

namespace sim {

class SnapshotChecker {
public:
    struct Options {
        std::filesystem::path referenceFolder;  // "" : expect-snapshot refuses to run
        std::filesystem::path outputFolder;     // "" : kDefaultOutputFolder in the current folder
        bool record = false;
    };
    static constexpr const char* kDefaultOutputFolder = "snapshot-failures";
    // Device pixels per point of the pictures compared, for the points in a failure's line.
    static constexpr double kScale = 2;

    explicit SnapshotChecker(Options options) : _options(std::move(options)) {}

    // True when the screen matches (or was recorded; the written path goes to `out`); false with
    // one line in `error` otherwise.
    bool check(const SnapshotImage& screen, const std::string& name, SnapshotComparison::Tolerance tolerance, std::ostream& out,
        std::string& error);

    SnapshotComparison::Tolerance defaults() const { return _defaults; }
    void setDefaults(SnapshotComparison::Tolerance tolerance) { _defaults = tolerance; }
    bool recording() const { return _options.record; }
    int recorded() const { return _recorded; }

private:
    std::filesystem::path outputFolder() const;

    Options _options;
    SnapshotComparison::Tolerance _defaults;
    int _recorded = 0;
    std::set<std::filesystem::path> _met;  // output pictures this run has cleared
};

}  // namespace sim
