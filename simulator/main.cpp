// velkaro-sim: the Settings application that runs the Velkaro pane on Linux, in a window, from a
// script, or as a built-in tour when there is no display.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cstdlib>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <memory>
#include <optional>
#include <set>
#include <sstream>

#include <CLI/CLI.hpp>

#include "host/Runtime/UTF8.h"
#include "host/Runtime/DeviceProfile.h"
#include "host/Runtime/EventLog.h"
#include "simulator/EventLogWriter.h"
#include "simulator/LayoutCheck.h"
#include "simulator/ScratchFolder.h"
#include "simulator/ScreenDump.h"
#include "simulator/ScriptRunner.h"
#include "simulator/SettingsApp.h"
#include "simulator/SnapshotContactSheet.h"
#include "simulator/Tour.h"

#include "simulator/Window.h"
#include "simulator/WindowGeometry.h"

#ifndef VELKARO_DEFAULT_BUNDLE
#define VELKARO_DEFAULT_BUNDLE "Velkaro.bundle"
#endif

namespace {

constexpr const char* kVersion = "1.0";
constexpr const char* kOutboxDevicePath = "var/mobile/Library/Mail/Outbox";

// The window's keys, and what a run leaves where, for --help.
constexpr const char* kWindowHelp =
    "In the window: click to tap, drag a slider or the page, the wheel scrolls. Escape, Backspace or\n"
    "Alt+Left goes back; in a pop-up digits, '-' and '.' type, Backspace deletes, Return answers and\n"
    "Escape cancels; Return posts the share sheet and Escape cancels it; Ctrl+Return sends the mail\n"
    "and Escape cancels it; Up/Down, Page Up/Down and Space scroll. F12 or Ctrl+S saves a snapshot\n"
    "(velkaro-snapshot-N.png in the current folder); Ctrl+Q quits.\n"
    "\n"
    "The device: the window keeps its device root (preferences, sent mails) between runs; the tour,\n"
    "--script, --dump and --page previews without a window use a throwaway one, removed at exit,\n"
    "unless --device-root or --keep-device is given. Sent mails go to its outbox,\n"
    "<device root>/var/mobile/Library/Mail/Outbox, as .eml files. Each run says which device root,\n"
    "outbox and event log it uses.\n";

// The microblogging clients a simulated device can have installed, by their URL schemes.
const std::vector<std::string> kClients{"aphelion", "tweetbot", "twitterrific", "tweetings", "twitter"};

std::string joined(const std::vector<std::string>& items) {
    std::string out;
    for (const auto& item : items) out += (out.empty() ? "" : ", ") + item;
    return out;
}

std::filesystem::path defaultDeviceRoot() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
        return std::filesystem::path(data) / "velkaro-simulator/device";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / ".local/share/velkaro-simulator/device";
    return std::filesystem::current_path() / "velkaro-simulator/device";
}

// A path as given on the command line, against the caller's folder.
void makeAbsolute(std::filesystem::path& path) {
    if (!path.empty()) path = std::filesystem::absolute(path).lexically_normal();
}

bool hasDisplay() {
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (wayland && *wayland);
}

std::vector<std::string> splitList(const std::string& text) {
    std::vector<std::string> out;
    std::stringstream in(text);
    for (std::string item; std::getline(in, item, ',');) {
        while (!item.empty() && item.front() == ' ') item.erase(item.begin());
        while (!item.empty() && item.back() == ' ') item.pop_back();
        if (!item.empty()) out.push_back(item);
    }
    return out;
}

void listProfiles() {
    for (const auto& p : host::DeviceProfile::builtIn()) {
        std::cout << std::fixed << std::setprecision(2) << p.name << ": " << p.displayName << ", " << (p.userInterfaceIdiom == 1 ? "pad" : "phone") << ", iOS "
                  << p.productVersion << " (" << p.buildVersion << "), " << p.productType << ", Core Foundation "
                  << p.coreFoundationVersion << ", screen " << int(p.screenSize.width) << "x" << int(p.screenSize.height) << "\n";
    }
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App cli{"velkaro-sim: a small Settings application that opens the Velkaro settings pane from a simulated\n"
                 "device. With a display it opens a window; without one (or with --headless) it runs the built-in\n"
                 "tour, which writes snapshots, screen texts and the event log into a folder."};
    cli.footer("\n" + std::string(kWindowHelp) + "\n" + sim::ScriptRunner::commandHelp());
    cli.set_version_flag("--version", std::string("velkaro-sim ") + kVersion);

    std::string profile = "iphone6s", language, clients;
    std::filesystem::path deviceRoot, bundle = VELKARO_DEFAULT_BUNDLE, tourFolder, pageFile, scriptPath, eventLogPath;
    bool twitterAccount = false, noMailAccount = false, dump = false, headless = false, listOnly = false, strict = false;
    bool keepDevice = false;
    cli.add_option("--profile", profile, "Device profile (see --list-profiles)")->type_name("NAME")->capture_default_str();
    cli.add_option("--language", language, "Preferred languages, comma separated, e.g. de or fr,en (default: the profile's); "
                                           "pseudo-double, pseudo-accented, pseudo-bounded and pseudo-rtl are made from the "
                                           "development language's texts")
        ->type_name("LANGS");
    auto* rootOption = cli.add_option("--device-root", deviceRoot,
        "The simulated device's file system, kept between runs (default: " + defaultDeviceRoot().string() +
        " for the window; a throwaway folder for the tour, --script, --dump and previews without a window)")
        ->type_name("DIR");
    cli.add_flag("--keep-device", keepDevice, "Keep the throwaway device root at exit (its path is printed)")->excludes(rootOption);
    cli.add_option("--bundle", bundle, "The staged Velkaro.bundle folder (module and resources)")->type_name("DIR")->capture_default_str();
    cli.add_option("--page", pageFile,
        "Preview a page list (XML, binary or text) in place of the pane, with the host's own cells and no module; "
        "its detail rows open <Name>.plist beside it, <lang>.lproj/<List>.strings localizes it")
        ->type_name("FILE");
    cli.add_option("--installed-clients", clients,
        "Microblogging clients installed on the device, comma separated: " + joined(kClients) + " (default: none)")
        ->type_name("LIST");
    cli.add_flag("--twitter-account", twitterAccount, "Set up a microblogging account (the share sheet is available)");
    cli.add_flag("--no-mail-account", noMailAccount, "Remove the mail account (the mail composer cannot open)");
    auto* scriptOption = cli.add_option("--script", scriptPath, "Run script commands from FILE, or from standard input with -, then exit")
        ->type_name("FILE|-");
    cli.add_flag("--strict", strict, "With --script: stop at the first failing line")->needs(scriptOption);
    auto* tourOption = cli.add_option("--tour", tourFolder, "Run the built-in tour into DIR (default without a display: ./velkaro-tour)")
        ->type_name("DIR");
    cli.add_option("--event-log", eventLogPath, "Write every event (preferences, notifications, links, sheets, mails, "
                                                "diagnostics) to FILE as JSON lines")
        ->type_name("FILE");
    cli.add_flag("--dump", dump, "Print the pane's root page (or the --page) as text (sections, rows, footers, cell classes) "
                                 "and exit");
    sim::SnapshotChecker::Options snapshots;
    cli.add_option("--snapshot-dir", snapshots.referenceFolder, "With --script: the reference pictures expect-snapshot compares with; with --tour: each stop is compared with <stop>.png there")
        ->type_name("DIR");
    cli.add_option("--snapshot-output", snapshots.outputFolder,
        std::string("With --script: where a failing expect-snapshot leaves NAME.png (the screen) and NAME-diff.png (changed "
                    "pixels in red over the faded reference) (default: ./") + sim::SnapshotChecker::kDefaultOutputFolder + ")")
        ->type_name("DIR");
    cli.add_flag("--record-snapshots", snapshots.record,
        "With --script: expect-snapshot writes (or replaces) its reference instead of comparing; the run then ends with "
        "status 1, so a recording never passes as a check");
    std::filesystem::path contactSheet;
    std::string contactProfiles, contactLanguages;
    auto* sheetOption = cli.add_option("--contact-sheet", contactSheet,
        "Write one picture of every stop of the tour (scaled-down tiles, labelled profile · language · stop) and exit")
        ->type_name("FILE.png");
    cli.add_option("--contact-profiles", contactProfiles, "With --contact-sheet: the profiles, comma separated, or all "
                                                          "(default: --profile)")->type_name("LIST")->needs(sheetOption);
    cli.add_option("--contact-languages", contactLanguages, "With --contact-sheet: one row per language, comma separated "
                                                            "(default: --language as one row)")->type_name("LIST")->needs(sheetOption);
    std::string scaleText;
    cli.add_option("--scale", scaleText, "Window pixels per point, 0.25 to 4, e.g. 0.75, 1.5 or 2 (default: the largest that fits the "
                                          "display, at most 2). The window can be resized: the screen keeps the device's aspect, "
                                          "and F12 snapshots stay at the device's 2x")
        ->type_name("S");
    bool checkLayout = false;
    cli.add_flag("--check-layout", checkLayout, "Visit the pane's pages and list every label cut short, reaching past its row or "
                                                "the screen, or lying over another, with what it lacks; exit 1 when there is any")
        ->excludes(scriptOption);
    cli.add_flag("--headless", headless, "Never open a window, even when a display is available");
    cli.add_flag("--list-profiles", listOnly, "List the built-in device profiles and exit");
    try {
        cli.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // --help and --version end here with status 0; every usage error with 2.
        return cli.exit(e) == 0 ? 0 : 2;
    }
    const bool snapshotting = !snapshots.referenceFolder.empty() || !snapshots.outputFolder.empty() || snapshots.record;
    if (snapshotting && !scriptOption->count() && !tourOption->count()) {
        std::cerr << "velkaro-sim: --snapshot-dir, --snapshot-output and --record-snapshots need --script or --tour\n";
        return 2;
    }
    const bool fromStdin = scriptPath == "-";
    for (auto* path : {&deviceRoot, &bundle, &tourFolder, &pageFile, &eventLogPath, &contactSheet}) makeAbsolute(*path);
    if (!fromStdin) makeAbsolute(scriptPath);

    if (listOnly) {
        listProfiles();
        return 0;
    }
    if (!host::DeviceProfile::builtInNamed(profile)) {
        std::cerr << "velkaro-sim: unknown profile \"" << profile << "\"; the profiles are:\n";
        listProfiles();
        return 2;
    }

    if (!contactSheet.empty()) {
        sim::SettingsApp::Options base;
        base.bundleDirectory = bundle;
        if (twitterAccount) base.twitterAccount = true;
        if (noMailAccount) base.mailAccount = false;
        std::vector<std::string> profiles;
        for (const auto& name : splitList(contactProfiles.empty() ? profile : contactProfiles)) {
            if (name == "all")
                for (const auto& p : host::DeviceProfile::builtIn()) profiles.push_back(p.name);
            else if (host::DeviceProfile::builtInNamed(name)) profiles.push_back(name);
            else {
                std::cerr << "velkaro-sim: unknown profile \"" << name << "\" in --contact-profiles (see --list-profiles)\n";
                return 2;
            }
        }
        std::vector<std::string> languages = splitList(contactLanguages);
        if (languages.empty()) languages.push_back(language);
        std::string why;
        if (!sim::SnapshotContactSheet::write(base, profiles, languages, contactSheet, std::cerr, &why)) {
            std::cerr << "velkaro-sim: contact sheet: " << host::utf8::printable(why) << "\n";
            return 1;
        }
        std::cout << "contact sheet " << contactSheet.string() << ": " << profiles.size() * languages.size() << " rows of "
                  << sim::Tour::stops().size() << " stops\n";
        return 0;
    }

    const bool previewing = !pageFile.empty();
    if (previewing && !tourFolder.empty()) {
        std::cerr << "velkaro-sim: the tour visits the pane's own pages; preview a --page in the window, with --script or with --dump\n";
        return 2;
    }

    sim::SettingsApp::Options options;
    options.bundleDirectory = bundle;
    options.pageFile = pageFile;
    options.profile = profile;
    options.languages = splitList(language);
    if (!clients.empty()) {
        std::set<std::string> schemes = host::DeviceProfile::builtInNamed(profile)->installedURLSchemes;
        for (const auto& client : splitList(clients)) {
            if (client == "none") continue;
            if (std::find(kClients.begin(), kClients.end(), client) == kClients.end()) {
                std::cerr << "velkaro-sim: unknown client \"" << client
                          << "\" (known: " << joined(kClients) << ")\n";
                return 2;
            }
            schemes.insert(client);
        }
        options.installedSchemes = schemes;
    }
    if (twitterAccount) options.twitterAccount = true;
    if (noMailAccount) options.mailAccount = false;

    const auto windowScale = scaleText.empty() ? std::optional<double>(0) : sim::WindowGeometry::parseScale(scaleText);
    if (!windowScale) {
        std::cerr << "velkaro-sim: --scale takes a number from " << sim::WindowGeometry::kMinScale << " to "
                  << sim::WindowGeometry::kMaxScale << ", not \"" << scaleText << "\"\n";
        return 2;
    }
    if (checkLayout && previewing) {
        std::cerr << "velkaro-sim: --check-layout visits the pane's own pages, not a --page preview\n";
        return 2;
    }
    const bool wantsWindow = !dump && !checkLayout && scriptPath.empty() && tourFolder.empty() && !headless && hasDisplay();
    const bool windowed = wantsWindow;
    // Only the window keeps the user's device by default; every other run gets its own.
    std::optional<sim::ScratchFolder> scratch;
    const auto deviceFor = [&](bool window) -> std::filesystem::path {
        if (!deviceRoot.empty()) return deviceRoot;
        if (window) return defaultDeviceRoot();
        if (!scratch) {
            std::string why;
            auto made = sim::ScratchFolder::create("velkaro-device-", &why);
            if (!made) {
                std::cerr << "velkaro-sim: cannot make a throwaway device root: " << why << " (give --device-root DIR)\n";
                std::exit(1);
            }
            scratch.emplace(std::move(*made));
            if (keepDevice) scratch->keep();
        }
        return scratch->path();
    };
    const bool touring = !dump && !checkLayout && scriptPath.empty() && !previewing;
    const std::filesystem::path tourTarget = tourFolder.empty() ? std::filesystem::absolute("velkaro-tour") : tourFolder;
    // Said once per device, before anything runs on it.
    bool languageWarned = false;
    const auto announce = [&](const sim::SettingsApp& shown, bool window) {
        const auto& root = shown.options().deviceRoot;
        std::string logs = eventLogPath.string();
        if (touring && !window) logs += (logs.empty() ? "" : " and ") + (tourTarget / "events.jsonl").string();
        std::cerr << "velkaro-sim: device root " << root.string()
                  << (!deviceRoot.empty() || window ? "" : keepDevice ? " (throwaway, kept)" : " (throwaway, removed at exit)")
                  << "; outbox " << (root / kOutboxDevicePath).string() << "; event log "
                  << (logs.empty() ? "none (--event-log FILE writes one)" : logs) << "\n";
        if (languageWarned) return;
        languageWarned = true;
        if (auto fallback = shown.languageFallback())
            for (const auto& missing : fallback->missing)
                std::cerr << "velkaro-sim: warning: the " << (previewing ? "page" : "pane") << " has no \"" << missing
                          << "\" localization (it has " << joined(fallback->available) << "): showing " << fallback->shown << "\n";
    };
    std::ifstream scriptFile;
    if (!scriptPath.empty() && !fromStdin) {
        scriptFile.open(scriptPath);
        if (!scriptFile) {
            std::cerr << "velkaro-sim: cannot read the script " << scriptPath.string() << ": " << std::strerror(errno) << "\n";
            return 2;
        }
    }
    std::shared_ptr<sim::EventLogWriter> eventLog;
    bool eventLogFailed = false;
    if (!eventLogPath.empty()) {
        eventLog = std::make_shared<sim::EventLogWriter>(eventLogPath);
        if (!eventLog->isOpen()) {
            std::cerr << "velkaro-sim: " << eventLog->error() << "\n";
            return 2;
        }
    }
    // A log that stopped being written fails the run: said at once, and in the exit status.
    const auto finish = [&](int status) {
        if (!eventLog || eventLog->close()) return status;
        if (!eventLogFailed) std::cerr << "velkaro-sim: " << eventLog->error() << "\n";
        return status ? status : 2;
    };
    std::string error;
    bool started = false;
    const auto makeApp = [&](bool manualClock) {
        options.manualClock = manualClock;
        options.deviceRoot = deviceFor(!manualClock);
        auto made = std::make_unique<sim::SettingsApp>(options);
        if (eventLog)
            made->addEventObserver([eventLog, &eventLogFailed](const host::Event& event) {
                if (eventLog->write(event) || eventLogFailed) return;
                eventLogFailed = true;
                std::cerr << "velkaro-sim: " << eventLog->error() << "\n";
            });
        // Diagnostics are for people too, not only for the log.
        made->addEventObserver([](const host::Event& event) {
            if (event.kind == "diagnostic") std::cerr << "velkaro-sim: " << host::utf8::printable(event.field("message")) << "\n";
        });
        started = made->start(&error);
        // The window's device is named once the window is up: a window that cannot open names
        // only the device of the tour that runs instead.
        if (manualClock) announce(*made, false);
        return made;
    };
    auto running = makeApp(!windowed);
    sim::SettingsApp& app = *running;
    // A pane or page list that cannot be opened ends every run but the window's (which shows why
    // on its Settings page); the reason was printed once, as the diagnostic it also is.
    if (!started && (previewing || !windowed)) return finish(1);
    // The page as text: asked for, or a preview with nowhere to draw it and no script to run.
    const auto dumpPage = [&](sim::SettingsApp& shown) {
        if (!shown.openBundleEntry()) {
            std::cerr << "velkaro-sim: the " << (previewing ? "page" : "pane") << " cannot be opened\n";
            return finish(1);
        }
        std::cout << sim::ScreenDump::describePage(shown);
        return finish(0);
    };
    if (dump) return dumpPage(app);
    if (checkLayout) {
        std::vector<std::string> unreached;
        const auto findings = sim::LayoutCheck::checkPane(app, &unreached);
        return finish(sim::LayoutCheck::report(findings, unreached, std::cout));
    }
    if (!scriptPath.empty()) {
        sim::ScriptRunner runner(app, std::cout, std::cerr, {strict, false, {}}, snapshots);
        const int failures = runner.run(fromStdin ? static_cast<std::istream&>(std::cin) : scriptFile);
        if (snapshots.record)
            std::cerr << "velkaro-sim: recorded " << runner.recordedSnapshots()
                      << " references; run again without --record-snapshots to check\n";
        return finish(failures || snapshots.record ? 1 : 0);
    }
    bool windowFailed = false;
    if (windowed) {
        std::string why;
        const int status = sim::Window::run(app, *windowScale, &why, [&] { announce(app, true); });
        if (why.empty()) return finish(status);
        // No usable display after all: the tour still shows the pane, on its own clock.
        std::cerr << "velkaro-sim: " << host::utf8::printable(why)
                  << (previewing ? ": printing the page instead\n" : ": running the tour instead\n");
        windowFailed = true;
        running.reset();
        running = makeApp(true);
    }
    if (!started) return finish(1);
    if (previewing) {
        if (!windowFailed && !headless) std::cerr << "velkaro-sim: no display: printing the page (--script acts on it)\n";
        return dumpPage(*running);
    }
    if (tourFolder.empty()) {
        tourFolder = tourTarget;
        if (!wantsWindow && !headless) std::cout << "No display found (DISPLAY and WAYLAND_DISPLAY are unset): running the tour.\n";
    }
    sim::Tour tour(*running, tourFolder, std::cout, std::cerr, snapshots);
    const int failures = tour.run();
    if (snapshots.record)
        std::cerr << "velkaro-sim: recorded " << tour.recordedSnapshots()
                  << " references; run again without --record-snapshots to check\n";
    return finish(failures || snapshots.record ? 1 : 0);
}
