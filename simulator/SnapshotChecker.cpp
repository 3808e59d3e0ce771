#include "simulator/SnapshotChecker.h"

#include <ostream>

namespace sim {
namespace {

// A name is a relative path inside the folder: "root" or "iphone6s/root", never "../x".
bool validName(const std::filesystem::path& name) {
    if (name.empty() || name.is_absolute()) return false;
    for (const auto& part : name)
        if (part == ".." || part == ".") return false;
    return true;
}

}  // namespace

std::filesystem::path SnapshotChecker::outputFolder() const {
    return std::filesystem::absolute(_options.outputFolder.empty() ? kDefaultOutputFolder : _options.outputFolder);
}

bool SnapshotChecker::check(const SnapshotImage& screen, const std::string& name, SnapshotComparison::Tolerance tolerance,
    std::ostream& out, std::string& error) {
    std::filesystem::path file = name;
    if (file.extension() != ".png") file += ".png";
    if (!validName(file)) {
        error = "a snapshot name is a relative path inside the reference folder, not \"" + name + "\"";
        return false;
    }
    if (_options.referenceFolder.empty()) {
        error = "expect-snapshot needs the reference folder (--snapshot-dir DIR)";
        return false;
    }
    const auto reference = std::filesystem::absolute(_options.referenceFolder / file).lexically_normal();
    if (_options.record) {
        if (!screen.write(reference, &error)) return false;
        ++_recorded;
        out << "recorded " << reference.string() << "\n";
        return true;
    }
    const auto actualPath = (outputFolder() / file).lexically_normal();
    auto diffPath = actualPath;
    diffPath.replace_filename(actualPath.stem().string() + "-diff.png");
    std::error_code ec;
    // Writing the actual picture over its own reference would make the next run pass.
    if (std::filesystem::equivalent(actualPath.parent_path(), reference.parent_path(), ec)) {
        error = "the snapshot output folder is the reference folder: give --snapshot-output another";
        return false;
    }
    // A picture left by an earlier run would be taken for this run's; one this run left stays.
    if (_met.insert(actualPath).second) {
        std::filesystem::remove(actualPath, ec);
        std::filesystem::remove(diffPath, ec);
    }

    std::string why;
    const auto expected = SnapshotImage::read(reference, &why);
    if (!expected) {
        const bool missing = !std::filesystem::exists(reference, ec);
        std::string wrote = screen.write(actualPath, &why) ? "; the screen is in " + actualPath.string() : "; " + why;
        error = missing ? "snapshot " + name + ": no reference " + reference.string() + " (record it with --record-snapshots)" + wrote
                        : "snapshot " + name + ": " + why + wrote;
        return false;
    }
    const SnapshotComparison comparison(screen, *expected, tolerance);
    if (comparison.passed()) return true;
    error = "snapshot " + name + " differs from " + reference.string() + ": " + comparison.summary(kScale);
    if (!screen.write(actualPath, &why)) {
        error += "; " + why;
        return false;
    }
    error += "; actual " + actualPath.string();
    if (!comparison.sizesDiffer()) {
        if (comparison.diffImage().write(diffPath, &why)) error += ", diff " + diffPath.string();
        else error += "; " + why;
    }
    return false;
}

}  // namespace sim
