#include "simulator/Tour.h"

#include <fstream>
#include <memory>
#include <ostream>
#include <sstream>

#include "host/Runtime/DeviceProfile.h"
#include "host/Runtime/EventLog.h"
#include "simulator/EventLogWriter.h"
#include "simulator/NumberPad.h"
#include "simulator/ScreenColumns.h"
#include "simulator/ScreenDump.h"
#include "simulator/ScriptRunner.h"
#include "simulator/SettingsApp.h"
#include "simulator/Snapshot.h"

namespace sim {

Tour::Tour(SettingsApp& app, std::filesystem::path folder, std::ostream& out, std::ostream& err,
    SnapshotChecker::Options snapshots)
    : _app(app), _folder(std::move(folder)), _eventLog(_folder / "events.jsonl"), _out(out), _err(err),
      _snapshots(std::move(snapshots)) {}

std::vector<Tour::Stop> Tour::stops() {
    // Rows are found by their property list entries, so the tour runs in every language. A phone
    // gives the sign through the pane's keypad toolbar; a pad's keyboard has a key of its own.
    const bool pad = NumberPad::padKeyboard();
    return {
        {"01-settings", {}},
        // Stops wait for the screen to settle after a push, a sheet or an alert.
        {"02-root-0.4s", {"open-bundle", "wait 0.4"}},
        {"03-root-1.2s", {"wait 0.8"}},
        {"04-root-scrolled", {"scroll 1000"}},
        {"05-configuration", {"scroll -1000", "tap @label=Configuration", "wait 0.4"}},
        {"06-slider-popup", pad ? std::vector<std::string>{"value @key=artworkOffset", "type -12"}
                                : std::vector<std::string>{"value @key=artworkOffset", "type 12", "key Negate"}},
        {"07-slider-stored", {"press Enter", "wait 0.3"}},
        // The value the next stop refuses is the one on screen here.
        {"08-narrow-popup", {"value @key=cornerRadius", "type 42"}},
        {"09-error-popup", {"press Enter", "wait 0.3"}},
        {"10-entry-again", {"press OK", "wait 0.3"}},
        {"11-list", {"press Cancel", "tap @key=artworkStyle", "wait 0.4"}},
        {"12-configuration-again", {"tap-row 0 2", "back", "wait 0.5"}},
        {"13-makers", {"back", "tap @label=Makers", "wait 0.4"}},
        {"14-maker-opened", {"tap @devName=skyvane", "wait 0.4"}},
        // A user reads the maker's note before going on; notes last a few seconds.
        {"15-share-sheet", {"wait 2.6", "account twitter on", "compose", "wait 0.4"}},
        {"16-root-again", {"sheet post", "back", "wait 0.4"}},
        {"17-mail-composer", {"account mail on", "tap @action=emailKX", "wait 0.4"}},
        // A pad's pane stays beside the list: the tour ends on both, the mail sent.
        ScreenColumns::split() ? Stop{"18-mail-sent", {"mail send", "wait 3.5"}}
                               : Stop{"18-settings-again", {"mail send", "back", "wait 3.5"}},
    };
}

int Tour::run() {
    std::error_code ec;
    std::filesystem::create_directories(_folder, ec);
    if (ec) {
        _err << "tour: cannot create " << std::filesystem::absolute(_folder).string() << ": " << ec.message() << "\n";
        return 1;
    }
    auto writer = std::make_shared<EventLogWriter>(_eventLog);
    for (const auto& event : host::EventLog::shared().events()) writer->write(event);
    _app.addEventObserver([writer](const host::Event& event) { writer->write(event); });

    const auto& profile = host::DeviceProfile::current();
    const bool twitter = profile.hasTwitterAccount, mail = profile.hasMailAccount;
    const bool drawing = Snapshot::available();
    if (!drawing) _err << "tour: drawing not available in this build; each stop is written as text only\n";

    std::ostringstream scriptOut, scriptErr;
    const bool checking = !_snapshots.referenceFolder.empty();
    ScriptRunner runner(_app, scriptOut, scriptErr, {false, false, _folder}, _snapshots);
    int failed = 0, pictures = 0, line = 0;
    const auto all = stops();
    for (const auto& stop : all) {
        auto commands = stop.commands;
        if (checking) commands.push_back("expect-snapshot " + stop.name);
        for (const auto& command : commands) {
            scriptErr.str("");
            if (!runner.runLine(command, ++line)) {
                ++failed;
                std::string message = scriptErr.str();
                if (auto colon = message.find(": "); colon != std::string::npos) message = message.substr(colon + 2);
                _err << "tour, " << stop.name << ": " << command << ": " << message;
            }
        }
        std::ofstream(_folder / (stop.name + ".txt")) << ScreenDump::describe(_app);
        if (drawing) {
            std::string why;
            if (Snapshot::write(_app, _folder / (stop.name + ".png"), &why)) ++pictures;
            else _err << "tour, " << stop.name << ": " << why << "\n";
        }
    }
    _recorded = runner.recordedSnapshots();
    if (checking && !_snapshots.record) _out << "  every stop compared with " << std::filesystem::absolute(_snapshots.referenceFolder).string() << "\n";
    _app.setTwitterAccount(twitter);
    _app.setMailAccount(mail);
    if (!writer->close()) {
        _err << "tour: " << writer->error() << "\n";
        ++failed;
    }

    _out << "Tour: " << all.size() << " stops written to " << std::filesystem::absolute(_folder).string() << "\n"
         << "  " << pictures << " PNG snapshots, " << all.size() << " screen texts (<stop>.txt), the event log ("
         << _eventLog.filename().string() << ")\n";
    if (failed) _out << "  " << failed << " step(s) failed; see the messages above\n";
    return failed;
}

}  // namespace sim
