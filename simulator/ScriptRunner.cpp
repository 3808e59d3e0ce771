#include "simulator/ScriptRunner.h"

#include <cctype>
#include <cmath>
#include <istream>
#include <limits>
#include <ostream>
#include <sstream>

#include "host/Foundation/NSString.h"
#include "host/Runtime/UTF8.h"
#include "host/Preferences/PSListController.h"
#include "host/Preferences/PreferenceStore.h"
#include "host/Runtime/DeviceRoot.h"
#include "host/Runtime/EventLog.h"
#include "simulator/ScreenDump.h"
#include "simulator/SettingsApp.h"
#include "simulator/Snapshot.h"

namespace sim {
namespace {

// The longest `wait`: a day of simulated time per line. The pane's timers run for seconds; far
// larger values only push the clock to where its times lose their meaning.
constexpr double kLongestWait = 24 * 60 * 60;
// Rows and sections are counted in ints on the way to the table.
constexpr double kLargestIndex = 1e9;

// A finite number: the classic locale's reader refuses "nan", "inf" and values out of range.
bool parseNumber(const std::string& text, double& value) {
    if (text.empty()) return false;
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    in >> value;
    return !in.fail() && in.eof();
}

bool parseIndex(const std::string& text, NSInteger& value) {
    double v = 0;
    if (!parseNumber(text, v) || v != std::floor(v) || std::fabs(v) > kLargestIndex) return false;
    value = NSInteger(v);
    return true;
}

std::string lower(std::string s) {
    for (auto& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The words after the command, joined again (for titles and text given without quotes).
std::string rest(const std::vector<std::string>& words, std::size_t from) {
    std::string out;
    for (std::size_t i = from; i < words.size(); ++i) out += (i > from ? " " : "") + words[i];
    return out;
}

// A stored value against expected text: numbers within a small tolerance, booleans by name.
bool matchesValue(const PlistValue& stored, const std::string& expected) {
    if (stored.isBool()) return lower(expected) == (stored.boolValue() ? "true" : "false");
    double wanted = 0;
    if (auto n = stored.number(); n && parseNumber(expected, wanted)) return std::fabs(*n - wanted) < 1e-4;
    if (auto t = stored.text()) return *t == expected;
    return stored.description() == expected;
}

}  // namespace

ScriptRunner::ScriptRunner(SettingsApp& app, std::ostream& out, std::ostream& err, Options options)
    : _app(app), _out(out), _err(err), _options(std::move(options)),
      _firstEvent(host::EventLog::shared().recorded()) {}

int ScriptRunner::run(std::istream& script) {
    std::string line;
    int number = 0;
    while (std::getline(script, line)) {
        ++number;
        if (!runLine(line, number) && _options.strict) break;
    }
    return _failures;
}

bool ScriptRunner::runLine(const std::string& line, int lineNumber) {
    const auto words = split(line);
    if (words.empty()) return true;
    if (_options.echo) _out << "> " << line << "\n";
    std::string error;
    if (execute(words, error)) return true;
    ++_failures;
    _err << "line " << lineNumber << ": " << host::utf8::printable(error) << std::endl;
    return false;
}

bool ScriptRunner::execute(const std::vector<std::string>& words, std::string& error) {
    const std::string command = lower(words[0]);
    const auto args = words.size() - 1;
    const auto need = [&](std::size_t n, const char* usage) {
        if (args >= n) return true;
        error = std::string("usage: ") + usage;
        return false;
    };
    const auto refused = [&](const std::string& what) {
        error = what;
        return false;
    };
    // The row of the visible page with this title.
    const auto row = [&](const std::string& title, NSIndexPath& indexPath) {
        auto page = _app.visiblePage();
        if (title.size() > 1 && title[0] == '@') {
            // "@key=value": the row whose property list entry has this value, whatever its language.
            const auto eq = title.find('=');
            if (eq == std::string::npos) return refused("a row by property is written @KEY=VALUE");
            const std::string key = title.substr(1, eq - 1), value = title.substr(eq + 1);
            if (page && page->table())
                for (const auto& section : page->table()->sections())
                    for (const auto& r : section.rows)
                        if (auto spec = page->specifierAtIndexPath(r.indexPath);
                            spec && spec->propertyForKey(key).text().value_or(spec->propertyForKey(key).description()) == value) {
                            indexPath = r.indexPath;
                            return true;
                        }
            return refused("no row with " + key + " = " + value + " on " + (page ? page->className() : std::string("this screen")));
        }
        if (auto found = _app.rowTitled(title)) {
            indexPath = *found;
            return true;
        }
        error = "no row titled \"" + title + "\" on " + (page ? page->className() : std::string("this screen"));
        return false;
    };

    if (command == "help") {
        _out << commandHelp();
        return true;
    }
    if (command == "open-bundle" || (command == "open" && args == 0)) {
        if (_app.openBundleEntry()) return true;
        if (_app.loadError()) return refused("the bundle cannot be opened: " + *_app.loadError());
        return refused("the bundle's entry can be opened only from the Settings page, with nothing in front of it");
    }
    if (command == "tap" || command == "open") {
        if (!need(1, "tap \"Row title\"")) return false;
        NSIndexPath path;
        if (!row(rest(words, 1), path)) return false;
        const auto before = _app.visibleController();
        if (!_app.tapRow(path)) return refused("the row cannot be tapped now (an alert or sheet is in front)");
        if (before == _app.topPage() && _app.visibleController() == before && _app.loadError())
            return refused("the bundle cannot be opened: " + *_app.loadError());
        return true;
    }
    if (command == "tap-row") {
        NSIndexPath path;
        if (!need(2, "tap-row SECTION ROW")) return false;
        if (!parseIndex(words[1], path.section) || !parseIndex(words[2], path.row)) return refused("tap-row takes two whole numbers");
        return _app.tapRow(path) || refused("there is no row " + words[1] + "." + words[2] + " to tap");
    }
    if (command == "tap-at") {
        double x = 0, y = 0;
        if (!need(2, "tap-at X Y")) return false;
        if (!parseNumber(words[1], x) || !parseNumber(words[2], y)) return refused("tap-at takes two numbers (points)");
        return _app.tapAt({x, y}) || refused("nothing answers a tap at " + words[1] + "," + words[2]);
    }
    if (command == "value") {
        NSIndexPath path;
        if (!need(1, "value \"Slider row title\"") || !row(rest(words, 1), path)) return false;
        return _app.tapValueButton(path) || refused("row \"" + rest(words, 1) + "\" has no value button");
    }
    if (command == "toggle") {
        NSIndexPath path;
        if (!need(1, "toggle \"Switch row title\"") || !row(rest(words, 1), path)) return false;
        return _app.toggleSwitch(path) || refused("row \"" + rest(words, 1) + "\" has no switch to toggle");
    }
    if (command == "slide") {
        NSIndexPath path;
        double value = 0;
        if (!need(2, "slide \"Slider row title\" VALUE")) return false;
        if (!parseNumber(words.back(), value) || std::fabs(value) > std::numeric_limits<float>::max())
            return refused("slide needs a number as its last word");
        std::string title = words[1];
        for (std::size_t i = 2; i + 1 < words.size(); ++i) title += " " + words[i];
        if (!row(title, path)) return false;
        return _app.slide(path, float(value)) || refused("row \"" + title + "\" has no slider");
    }
    if (command == "type") {
        if (!need(1, "type TEXT")) return false;
        const std::string text = rest(words, 1);
        const auto before = _app.fieldText();
        if (!before) return refused("there is no text field in front to type into");
        if (!_app.typeText(text)) return refused("the text field does not take typing now");
        const auto after = _app.fieldText().value_or("");
        const std::size_t typed = after.size() >= before->size() ? after.size() - before->size() : 0;
        if (typed < text.size())
            return refused("the number pad has digits only: typed " + std::to_string(typed) + " of " +
                           std::to_string(text.size()) + " characters (use key Negate / key Point for '-' and '.')");
        return true;
    }
    if (command == "key") {
        if (!need(1, "key Negate|Point")) return false;
        return _app.pressKeypadKey(rest(words, 1)) || refused("there is no keypad key \"" + rest(words, 1) + "\" on screen");
    }
    if (command == "delete") return _app.deleteBackward() || refused("there is no focused text field to delete from");
    if (command == "press") {
        if (!need(1, "press \"Button title\"")) return false;
        if (!_app.topAlert()) return refused("there is no alert on screen");
        return _app.pressAlertButton(rest(words, 1)) || refused("the alert has no button \"" + rest(words, 1) + "\"");
    }
    if (command == "compose") return _app.tapRightBarButton() || refused("there is no right bar button to tap now");
    if (command == "sheet") {
        if (!need(1, "sheet post|cancel")) return false;
        const auto how = lower(words[1]);
        if (how != "post" && how != "cancel") return refused("usage: sheet post|cancel");
        return _app.finishSheet(how == "post") || refused("there is no share sheet on screen");
    }
    if (command == "mail") {
        if (!need(1, "mail send|cancel")) return false;
        const auto how = lower(words[1]);
        if (how != "send" && how != "cancel") return refused("usage: mail send|cancel");
        return _app.finishMail(how == "send") || refused("there is no mail composer on screen");
    }
    if (command == "account") {
        if (!need(2, "account twitter|mail on|off")) return false;
        const auto which = lower(words[1]), state = lower(words[2]);
        if ((which != "twitter" && which != "mail") || (state != "on" && state != "off"))
            return refused("usage: account twitter|mail on|off");
        if (which == "twitter") _app.setTwitterAccount(state == "on");
        else _app.setMailAccount(state == "on");
        return true;
    }
    if (command == "back") return _app.goBack() || refused("there is nothing to go back from");
    if (command == "wait") {
        double seconds = 0;
        if (!need(1, "wait SECONDS") || !parseNumber(words[1], seconds) || !(seconds >= 0) || seconds > kLongestWait)
            return refused("wait takes a number of seconds from 0 to 86400 (a day)");
        _app.advance(seconds);
        return true;
    }
    if (command == "scroll") {
        double dy = 0;
        if (!need(1, "scroll POINTS") || !parseNumber(words[1], dy)) return refused("scroll takes a number of points");
        _app.scroll(dy);
        return true;
    }
    if (command == "snapshot") {
        if (!need(1, "snapshot FILE.png")) return false;
        std::filesystem::path path = rest(words, 1);
        if (path.is_relative() && !_options.outputFolder.empty()) path = _options.outputFolder / path;
        if (!Snapshot::write(_app, path, &error)) return false;
        _out << "snapshot " << path.string() << "\n";
        return true;
    }
    if (command == "dump") {
        _out << ScreenDump::describe(_app);
        return true;
    }
    if (command == "echo") {
        _out << rest(words, 1) << "\n";
        return true;
    }
    if (command == "expect") {
        if (!need(1, "expect \"text on screen\"")) return false;
        const auto dump = ScreenDump::describe(_app);
        return dump.find(rest(words, 1)) != std::string::npos || refused("the screen does not show \"" + rest(words, 1) + "\"");
    }
    if (command == "expect-file") {
        if (!need(1, "expect-file /device/path")) return false;
        return host::DeviceRoot::exists(rest(words, 1)) || refused("no file " + rest(words, 1) + " on the device");
    }
    if (command == "expect-pref") {
        if (!need(3, "expect-pref DOMAIN KEY VALUE")) return false;
        const auto stored = host::PreferenceStore::valueForKey(words[1], words[2]);
        if (stored.isNil()) return refused(words[1] + " stores no value for " + words[2]);
        return matchesValue(stored, rest(words, 3)) ||
               refused(words[1] + " " + words[2] + " is " + stored.description() + ", not " + rest(words, 3));
    }
    if (command == "expect-event") {
        if (!need(1, "expect-event KIND [FIELD=VALUE ...]")) return false;
        const auto& log = host::EventLog::shared();
        const auto& events = log.events();
        for (std::size_t i = _firstEvent > log.firstKept() ? _firstEvent - log.firstKept() : 0; i < events.size(); ++i) {
            if (events[i].kind != words[1]) continue;
            bool all = true;
            for (std::size_t w = 2; w < words.size() && all; ++w) {
                const auto eq = words[w].find('=');
                if (eq == std::string::npos) return refused("expect-event fields are written FIELD=VALUE");
                all = events[i].field(words[w].substr(0, eq)) == words[w].substr(eq + 1);
            }
            if (all) return true;
        }
        return refused("no " + words[1] + " event" + (args > 1 ? " with " + rest(words, 2) : std::string()) + " so far" +
                       (_firstEvent < log.firstKept() ? " (only the newest " + std::to_string(log.kCapacity) + " events are kept)" : ""));
    }
    return refused("unknown command \"" + words[0] + "\" (try \"help\")");
}

std::string ScriptRunner::commandHelp() {
    return R"(Script commands, one per line ('#' starts a comment; "quotes" group words):
  open [Velkaro] | open-bundle   open the pane's entry on the Settings page
  open|tap "Row title"           tap the row with this title on the visible page; any command
                                 taking a row also takes @KEY=VALUE (the row's property list entry)
  tap-row SECTION ROW            tap a row by its place
  tap-at X Y                     tap a point of the screen (points, top left is 0 0)
  value "Slider row"             tap the slider row's value button (the entry pop-up)
  type TEXT                      type into the pop-up's field (the number pad has digits only)
  key Negate|Point               tap a key of the keypad toolbar
  delete                         delete the last character of the field
  press "Button"                 press a button of the front alert (Enter, Cancel, OK)
  toggle "Switch row"            flip a switch
  slide "Slider row" VALUE       drag a slider to a value
  compose                        tap the right bar button (the share sheet)
  sheet post|cancel              finish the share sheet
  mail send|cancel               finish the mail composer
  account twitter|mail on|off    set up or remove the device's account for the service
  back                           go back one page
  wait SECONDS                   let time pass, up to a day (timers, animations, delayed posts)
  scroll POINTS                  scroll the page
  snapshot FILE.png              draw the screen into a PNG
  dump                           print the screen as text
  echo TEXT                      print TEXT
  expect "text"                  fail unless the screen dump shows the text
  expect-file /device/path       fail unless the file exists on the device
  expect-pref DOMAIN KEY VALUE   fail unless the stored preference has the value
  expect-event KIND [F=V ...]    fail unless such an event was logged since the script began
)";
}

}  // namespace sim
