#pragma once
// The built-in tour: visits every page and pop-up of the pane as a user would (the Settings page,
// the root page while its logo fades in, the configuration page, a slider's entry pop-up with a
// typed value, the error pop-up, a list page, the makers page and a maker's profile, the share
// sheet, the mail composer) and leaves at each stop a PNG snapshot (when the build can draw) and
// the screen as text, plus the event log, in one folder.
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "simulator/SnapshotChecker.h"

namespace sim {

class SettingsApp;

class Tour {
public:
    struct Stop {
        std::string name;                   // "03-configuration"
        std::vector<std::string> commands;  // script commands that lead there
    };

    // The app should run on a manual clock, so the stops fall at the times they name. With a
    // reference folder in `snapshots`, each stop's screen is also compared with (or recorded as)
    // <stop>.png there.
    Tour(SettingsApp& app, std::filesystem::path folder, std::ostream& out, std::ostream& err,
        SnapshotChecker::Options snapshots = {});

    // Runs every stop; returns the number of commands (and snapshot checks) that failed. Prints
    // where everything went.
    int run();
    int recordedSnapshots() const { return _recorded; }

    // The stops on the current device: they type as its keyboard allows.
    static std::vector<Stop> stops();
    const std::filesystem::path& eventLogPath() const { return _eventLog; }

private:
    SettingsApp& _app;
    std::filesystem::path _folder, _eventLog;
    std::ostream& _out;
    std::ostream& _err;
    SnapshotChecker::Options _snapshots;
    int _recorded = 0;
};

}  // namespace sim
