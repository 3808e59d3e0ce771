#pragma once
// Headless script mode: one command per line, run against the Settings application, as a user
// would act. Blank lines and lines starting with '#' are skipped; words are separated by blanks
// and "double quotes" group a title with blanks in it. A failing line prints "line N: message"
// and the script goes on (or stops, when strict); a line that did its work with a remark (a slide
// past the slider's end) prints "line N: remark" and counts as done.
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "simulator/ScriptLine.h"
#include "simulator/SnapshotChecker.h"

namespace sim {

class SettingsApp;

class ScriptRunner {
public:
    struct Options {
        bool strict = false;               // stop at the first failing line
        bool echo = false;                 // print each command before running it
        std::filesystem::path outputFolder;  // where relative snapshot paths go ("" = current folder)
    };

    // `snapshots`: expect-snapshot's folders and record mode.
    ScriptRunner(SettingsApp& app, std::ostream& out, std::ostream& err, Options options,
        SnapshotChecker::Options snapshots = {});

    // Runs the script; returns the number of failed lines.
    int run(std::istream& script);
    // One line, numbered for messages; false when it failed (the message is already printed).
    bool runLine(const std::string& line, int lineNumber);
    int failures() const { return _failures; }
    // References written by expect-snapshot in record mode.
    int recordedSnapshots() const { return _snapshots.recorded(); }

    // The command reference, for --help and the "help" command.
    static std::string commandHelp();
    // The words of a line: blanks separate, double quotes group (with \" inside), '#' starts a
    // comment outside quotes.
    static std::vector<std::string> split(const std::string& line) { return ScriptLine::split(line); }

private:
    bool execute(const std::vector<std::string>& words, std::string& error);

    SettingsApp& _app;
    std::ostream& _out;
    std::ostream& _err;
    Options _options;
    SnapshotChecker _snapshots;
    std::size_t _firstEvent;  // the number of the first event after the script began (see EventLog)
    int _failures = 0;
    int _lineNumber = 0;  // the line being run, for what a line that did its work says
};

}  // namespace sim
