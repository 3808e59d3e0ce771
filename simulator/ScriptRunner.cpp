#include "simulator/ScriptRunner.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <istream>
#include <limits>
#include <ostream>
#include <sstream>
#include <string_view>

#include "host/Foundation/NSString.h"
#include "host/Runtime/UTF8.h"
#include "host/Preferences/PSListController.h"
#include "host/Preferences/PSSegmentTableCell.h"
#include "host/Preferences/PSSliderTableCell.h"
#include "host/Preferences/PreferenceStore.h"
#include "host/Runtime/DeviceRoot.h"
#include "host/Runtime/EventLog.h"
#include "host/Social/SLComposeViewController.h"
#include "host/UIKit/UIAlertView.h"
#include "host/UIKit/UISlider.h"
#include "host/UIKit/UITextField.h"
#include "simulator/NumberPad.h"
#include "simulator/ScreenColumns.h"
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

// A number as a person writes it: 10, 0.6, -12.5.
std::string shortNumber(double value) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << value;
    return out.str();
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

// What a command's handler works with: the application, the line's words, where to print, and
// where to put the reason when the line fails.
struct Context {
    SettingsApp& app;
    std::ostream& out;
    const ScriptRunner::Options& options;
    SnapshotChecker& snapshots;
    std::size_t firstEvent;  // the number of the first event after the script began
    const std::vector<std::string>& words;
    std::string_view usage;  // the command's own
    std::string& error;
    std::string& warning;    // what a line that did its work still has to say

    std::size_t args() const { return words.size() - 1; }
    std::string rest(std::size_t from) const { return sim::rest(words, from); }
    bool refused(std::string what) {
        error = std::move(what);
        return false;
    }
    bool usageError() { return refused("usage: " + std::string(usage)); }
    std::string pageName() const {
        auto page = app.visiblePage();
        return page ? page->className() : std::string("this screen");
    }

    // The row of the visible page with this title, or "@key=value": the row whose property list
    // entry has this value, whatever its language.
    bool row(const std::string& title, NSIndexPath& indexPath) {
        auto page = app.visiblePage();
        if (title.size() > 1 && title[0] == '@') {
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
            return refused("no row with " + key + " = " + value + " on " + pageName());
        }
        if (auto found = app.rowTitled(title)) {
            indexPath = *found;
            return true;
        }
        return refused("no row titled \"" + title + "\" on " + pageName());
    }
};

// Types into the row's field being edited; the keyboard may lack some of the characters.
bool typeAll(Context& c, const std::string& text) {
    auto field = c.app.editingField();
    const std::size_t before = field ? field->text().size() : 0;
    if (!field || !c.app.typeText(text)) return c.refused("no row's text field is being edited");
    const std::size_t typed = field->text().size() - before;
    if (typed < text.size())
        return c.refused("the field's keyboard lacks some of the characters: typed " + std::to_string(typed) + " of " +
                         std::to_string(text.size()));
    return true;
}

bool openBundle(Context& c) {
    if (c.app.openBundleEntry()) return true;
    if (c.app.loadError()) return c.refused("the bundle cannot be opened: " + *c.app.loadError());
    return c.refused("the bundle's entry can be opened only from the Settings page, with nothing in front of it");
}

bool tapTitled(Context& c) {
    NSIndexPath path;
    if (!c.row(c.rest(1), path)) return false;
    const auto before = c.app.visibleController();
    if (!c.app.tapRow(path)) return c.refused("the row cannot be tapped now (an alert or sheet is in front)");
    if (before == c.app.topPage() && c.app.visibleController() == before && c.app.loadError())
        return c.refused("the bundle cannot be opened: " + *c.app.loadError());
    return true;
}

// precision=P and perceptual=T words, from `from` on, over `tolerance`.
bool readTolerance(Context& c, std::size_t from, SnapshotComparison::Tolerance& tolerance) {
    for (std::size_t i = from; i < c.words.size(); ++i) {
        const auto eq = c.words[i].find('=');
        const std::string key = lower(c.words[i].substr(0, eq));
        double value = 0;
        if (eq == std::string::npos || !parseNumber(c.words[i].substr(eq + 1), value)) return c.usageError();
        if (key == "precision" && value >= 0 && value <= 1) tolerance.precision = value;
        else if (key == "perceptual" && value >= 0) tolerance.perceptual = value;
        else if (key == "precision") return c.refused("precision is a share of pixels, from 0 to 1");
        else if (key == "perceptual") return c.refused("perceptual is a CIEDE2000 difference, 0 or more (2 is visible at a close look)");
        else return c.usageError();
    }
    return true;
}

// A command: its name, the words it takes, one line of help, how many words it needs at least
// (fewer is a usage error), and what it does.
struct Command {
    std::string_view name;
    std::string_view usage;
    std::string_view help;
    std::size_t minimumArgs;
    bool (*run)(Context&);
};

const Command kCommands[] = {
    {"help", "help", "print this list", 0, [](Context& c) {
        c.out << ScriptRunner::commandHelp();
        return true;
    }},
    {"open-bundle", "open-bundle", "open the pane's entry on the Settings page", 0, openBundle},
    {"open", "open [\"Row title\"]", "without a title, open-bundle; with one, tap", 0, [](Context& c) {
        return c.args() == 0 ? openBundle(c) : tapTitled(c);
    }},
    {"tap", "tap \"Row title\"", "tap the row with this title on the visible page", 1, tapTitled},
    {"tap-row", "tap-row SECTION ROW", "tap a row by its place", 2, [](Context& c) {
        NSIndexPath path;
        if (!parseIndex(c.words[1], path.section) || !parseIndex(c.words[2], path.row))
            return c.refused("tap-row takes two whole numbers");
        return c.app.tapRow(path) || c.refused("there is no row " + c.words[1] + "." + c.words[2] + " to tap");
    }},
    {"tap-at", "tap-at X Y", "tap a point of the screen (points, top left is 0 0)", 2, [](Context& c) {
        double x = 0, y = 0;
        if (!parseNumber(c.words[1], x) || !parseNumber(c.words[2], y)) return c.refused("tap-at takes two numbers (points)");
        return c.app.tapAt({x, y}) || c.refused("nothing answers a tap at " + c.words[1] + "," + c.words[2]);
    }},
    {"value", "value \"Slider row title\"", "tap the slider row's value button (the entry pop-up)", 1, [](Context& c) {
        NSIndexPath path;
        if (!c.row(c.rest(1), path)) return false;
        return c.app.tapValueButton(path) || c.refused("row \"" + c.rest(1) + "\" has no value button");
    }},
    {"type", "type TEXT", "type into the pop-up's field, the share sheet's or composer's text, or the row's field being edited", 1, [](Context& c) {
        const std::string text = c.rest(1);
        if (c.app.composingView()) return c.app.typeText(text);
        auto editing = c.app.topAlert() ? nullptr : c.app.editingField();
        if (editing) return typeAll(c, text);
        const auto before = c.app.fieldText();
        if (!before) return c.refused("there is no text field in front to type into");
        if (!c.app.typeText(text)) return c.refused("the text field does not take typing now");
        const auto after = c.app.fieldText().value_or("");
        const std::size_t typed = after.size() >= before->size() ? after.size() - before->size() : 0;
        if (typed < text.size() && NumberPad::padKeyboard())
            return c.refused("the keyboard's numbers page has no key for some of these: typed " + std::to_string(typed) +
                             " of " + std::to_string(text.size()) + " characters");
        if (typed < text.size())
            return c.refused("the number pad has digits only: typed " + std::to_string(typed) + " of " +
                             std::to_string(text.size()) + " characters (use key Negate / key Point for '-' and '.')");
        return true;
    }},
    {"return", "return", "press Return in the row's field being edited: its text is stored", 0, [](Context& c) {
        return c.app.endEditing() || c.refused("no row's text field is being edited");
    }},
    {"edit", "edit \"Text row title\" TEXT", "replace the text row's text with TEXT and press Return", 2, [](Context& c) {
        NSIndexPath path;
        if (!c.row(c.words[1], path)) return false;
        if (!c.app.beginEditing(path)) return c.refused("row \"" + c.words[1] + "\" has no text field to edit now");
        const auto field = c.app.editingField();
        while (field && !field->text().empty() && c.app.deleteBackward()) continue;
        const bool typed = typeAll(c, c.rest(2));
        c.app.endEditing();
        return typed;
    }},
    {"segment", "segment \"Segmented row title\" \"Segment title\"", "choose a segment of a segmented row", 2, [](Context& c) {
        NSIndexPath path;
        if (!c.row(c.words[1], path)) return false;
        auto page = c.app.visiblePage();
        auto cell = std::dynamic_pointer_cast<PSSegmentTableCell>(page->table()->cellForRowAtIndexPath(path));
        if (!cell) return c.refused("row \"" + c.words[1] + "\" is not a segmented row");
        const std::string wanted = c.rest(2);
        const auto& titles = cell->control()->titles();
        for (int pass = 0; pass < 2; ++pass)
            for (std::size_t i = 0; i < titles.size(); ++i)
                if (pass == 0 ? titles[i] == wanted : lower(titles[i]) == lower(wanted))
                    return c.app.chooseSegment(path, NSInteger(i)) || c.refused("the segments cannot be tapped now");
        std::string known;
        for (const auto& t : titles) known += (known.empty() ? "" : ", ") + t;
        return c.refused("row \"" + c.words[1] + "\" has no segment \"" + wanted + "\" (it has: " + known + ")");
    }},
    {"key", "key Negate|Point", "tap a key of the keypad toolbar", 1, [](Context& c) {
        if (c.app.pressKeypadKey(c.rest(1))) return true;
        if (NumberPad::padKeyboard() && c.app.fieldText())
            return c.refused("there is no keypad key \"" + c.rest(1) + "\": the pad's keyboard has '-' and '.' keys of its own; type them (type -12.5)");
        return c.refused("there is no keypad key \"" + c.rest(1) + "\" on screen");
    }},
    {"delete", "delete", "delete the last character of the field or text being edited", 0, [](Context& c) {
        return c.app.deleteBackward() || c.refused("there is no focused text field to delete from");
    }},
    {"press", "press \"Button title\"", "press a button of the front alert (Enter, Cancel, OK)", 1, [](Context& c) {
        if (!c.app.topAlert()) return c.refused("there is no alert on screen");
        return c.app.pressAlertButton(c.rest(1)) || c.refused("the alert has no button \"" + c.rest(1) + "\"");
    }},
    {"toggle", "toggle \"Switch row title\"", "flip a switch", 1, [](Context& c) {
        NSIndexPath path;
        if (!c.row(c.rest(1), path)) return false;
        return c.app.toggleSwitch(path) || c.refused("row \"" + c.rest(1) + "\" has no switch to toggle");
    }},
    {"slide", "slide \"Slider row title\" VALUE", "drag a slider to a value", 2, [](Context& c) {
        NSIndexPath path;
        double value = 0;
        if (!parseNumber(c.words.back(), value) || std::fabs(value) > std::numeric_limits<float>::max())
            return c.refused("slide needs a number as its last word");
        std::string title = c.words[1];
        for (std::size_t i = 2; i + 1 < c.words.size(); ++i) title += " " + c.words[i];
        if (!c.row(title, path)) return false;
        if (!c.app.slide(path, float(value))) return c.refused("row \"" + title + "\" has no slider");
        // A drag past the end stops there, as a finger does; the script is told where.
        auto cell = std::dynamic_pointer_cast<PSSliderTableCell>(c.app.visiblePage()->table()->cellForRowAtIndexPath(path));
        if (auto slider = cell ? cell->control() : nullptr; slider && (value < slider->minimumValue() || value > slider->maximumValue()))
            c.warning = c.words.back() + " is outside the slider's range " + shortNumber(slider->minimumValue()) + ".." +
                        shortNumber(slider->maximumValue()) + ": it stopped at " + shortNumber(slider->value());
        return true;
    }},
    {"compose", "compose", "tap the right bar button (the share sheet)", 0, [](Context& c) {
        return c.app.tapRightBarButton() || c.refused("there is no right bar button to tap now");
    }},
    {"sheet", "sheet post|cancel", "finish the share sheet", 1, [](Context& c) {
        const auto how = lower(c.words[1]);
        if (how != "post" && how != "cancel") return c.usageError();
        return c.app.finishSheet(how == "post") || c.refused("there is no share sheet on screen");
    }},
    {"mail", "mail send|cancel", "finish the mail composer", 1, [](Context& c) {
        const auto how = lower(c.words[1]);
        if (how != "send" && how != "cancel") return c.usageError();
        return c.app.finishMail(how == "send") || c.refused("there is no mail composer on screen");
    }},
    {"account", "account twitter|mail on|off", "set up or remove the device's account for the service", 2, [](Context& c) {
        const auto which = lower(c.words[1]), state = lower(c.words[2]);
        if ((which != "twitter" && which != "mail") || (state != "on" && state != "off")) return c.usageError();
        if (which == "twitter") c.app.setTwitterAccount(state == "on");
        else c.app.setMailAccount(state == "on");
        return true;
    }},
    {"back", "back", "go back one page", 0, [](Context& c) {
        if (auto alert = c.app.topAlert()) {
            std::string buttons;
            for (NSInteger i = 0; i < alert->numberOfButtons(); ++i)
                buttons += (i ? ", " : "") + alert->buttonTitleAtIndex(i).value_or("");
            return c.refused("the alert \"" + alert->title().value_or("") + "\" is in front: press one of its buttons first (" +
                             buttons + ")");
        }
        if (auto presented = c.app.presentedController())
            return c.refused(std::dynamic_pointer_cast<SLComposeViewController>(presented)
                                 ? "the share sheet is in front: finish it first (sheet post|cancel)"
                                 : "the mail composer is in front: finish it first (mail send|cancel)");
        if (c.app.goBack()) return true;
        if (ScreenColumns::split() && ScreenColumns::paneShown(c.app))
            return c.refused("this is the pane's first page, with the Settings list beside it: there is nothing to go back to");
        return c.refused("this is the first page: there is nothing to go back to");
    }},
    // wait and scroll say what number they take, with or without one.
    {"wait", "wait SECONDS", "let time pass, up to a day (timers, animations, delayed posts)", 0, [](Context& c) {
        double seconds = 0;
        if (c.args() < 1 || !parseNumber(c.words[1], seconds) || !(seconds >= 0) || seconds > kLongestWait)
            return c.refused("wait takes a number of seconds from 0 to 86400 (a day)");
        c.app.advance(seconds);
        return true;
    }},
    {"scroll", "scroll POINTS", "scroll the page", 0, [](Context& c) {
        double dy = 0;
        if (c.args() < 1 || !parseNumber(c.words[1], dy)) return c.refused("scroll takes a number of points");
        c.app.scroll(dy);
        return true;
    }},
    {"snapshot", "snapshot FILE.png", "draw the screen into a PNG", 1, [](Context& c) {
        std::filesystem::path path = c.rest(1);
        if (path.is_relative() && !c.options.outputFolder.empty()) path = c.options.outputFolder / path;
        path = std::filesystem::absolute(path);
        if (!Snapshot::write(c.app, path, &c.error)) return false;
        c.out << "snapshot " << path.string() << "\n";
        return true;
    }},
    {"expect-snapshot", "expect-snapshot NAME [precision=P] [perceptual=T]",
        "fail unless the screen (2x) matches NAME.png in --snapshot-dir: a share P of its pixels (default 1) within "
        "CIEDE2000 difference T (default 1.5: one 8-bit level, unseen); --record-snapshots writes it instead", 1,
        [](Context& c) {
        auto tolerance = c.snapshots.defaults();
        if (!readTolerance(c, 2, tolerance)) return false;
        return c.snapshots.check(Snapshot::image(c.app), c.words[1], tolerance, c.out, c.error);
    }},
    {"snapshot-defaults", "snapshot-defaults [precision=P] [perceptual=T]", "set expect-snapshot's tolerance for the lines after",
        1, [](Context& c) {
        auto tolerance = c.snapshots.defaults();
        if (!readTolerance(c, 1, tolerance)) return false;
        c.snapshots.setDefaults(tolerance);
        return true;
    }},
    {"dump", "dump", "print the screen as text", 0, [](Context& c) {
        c.out << ScreenDump::describe(c.app);
        return true;
    }},
    {"echo", "echo TEXT", "print TEXT", 0, [](Context& c) {
        c.out << c.rest(1) << "\n";
        return true;
    }},
    {"expect", "expect \"text on screen\"", "fail unless the screen dump shows the text", 1, [](Context& c) {
        const auto dump = ScreenDump::describe(c.app);
        return dump.find(c.rest(1)) != std::string::npos || c.refused("the screen does not show \"" + c.rest(1) + "\"");
    }},
    {"expect-file", "expect-file /device/path", "fail unless the file exists on the device", 1, [](Context& c) {
        return host::DeviceRoot::exists(c.rest(1)) || c.refused("no file " + c.rest(1) + " on the device");
    }},
    {"expect-pref", "expect-pref DOMAIN KEY VALUE", "fail unless the stored preference has the value", 3, [](Context& c) {
        const auto stored = host::PreferenceStore::valueForKey(c.words[1], c.words[2]);
        if (stored.isNil()) return c.refused(c.words[1] + " stores no value for " + c.words[2]);
        return matchesValue(stored, c.rest(3)) ||
               c.refused(c.words[1] + " " + c.words[2] + " is " + stored.description() + ", not " + c.rest(3));
    }},
    {"expect-event", "expect-event KIND [FIELD=VALUE ...]", "fail unless such an event was logged since the script began", 1,
        [](Context& c) {
        const auto& log = host::EventLog::shared();
        const auto& events = log.events();
        for (std::size_t i = c.firstEvent > log.firstKept() ? c.firstEvent - log.firstKept() : 0; i < events.size(); ++i) {
            if (events[i].kind != c.words[1]) continue;
            bool all = true;
            for (std::size_t w = 2; w < c.words.size() && all; ++w) {
                const auto eq = c.words[w].find('=');
                if (eq == std::string::npos) return c.refused("expect-event fields are written FIELD=VALUE");
                all = events[i].field(c.words[w].substr(0, eq)) == c.words[w].substr(eq + 1);
            }
            if (all) return true;
        }
        return c.refused("no " + c.words[1] + " event" + (c.args() > 1 ? " with " + c.rest(2) : std::string()) + " so far" +
                         (c.firstEvent < log.firstKept() ? " (only the newest " + std::to_string(log.kCapacity) + " events are kept)" : ""));
    }},
};

}  // namespace

ScriptRunner::ScriptRunner(SettingsApp& app, std::ostream& out, std::ostream& err, Options options,
    SnapshotChecker::Options snapshots)
    : _app(app), _out(out), _err(err), _options(std::move(options)), _snapshots(std::move(snapshots)),
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
    _lineNumber = lineNumber;
    if (execute(words, error)) return true;
    ++_failures;
    _err << "line " << lineNumber << ": " << host::utf8::printable(error) << std::endl;
    return false;
}

// The commands that act on the screen: like a UI test runner, they first let running
// transitions end. The others (wait, snapshot, dump, the expectations) take the screen as it is.
bool waitsForTransitions(const std::string& name) {
    static const std::string_view acting[] = {"open-bundle", "open", "tap", "tap-row", "tap-at", "value", "type", "return",
        "edit", "segment", "key", "delete", "press", "toggle", "slide", "compose", "sheet", "mail", "back", "scroll"};
    return std::find(std::begin(acting), std::end(acting), name) != std::end(acting);
}

bool ScriptRunner::execute(const std::vector<std::string>& words, std::string& error) {
    const std::string name = lower(words[0]);
    if (waitsForTransitions(name)) _app.finishTransitions();
    for (const auto& command : kCommands) {
        if (command.name != name) continue;
        std::string warning;
        Context context{_app, _out, _options, _snapshots, _firstEvent, words, command.usage, error, warning};
        if (context.args() < command.minimumArgs) return context.usageError();
        const bool done = command.run(context);
        if (done && !warning.empty()) _err << "line " << _lineNumber << ": " << host::utf8::printable(warning) << std::endl;
        return done;
    }
    error = "unknown command \"" + words[0] + "\" (try \"help\")";
    return false;
}

std::string ScriptRunner::commandHelp() {
    std::size_t column = 0;
    for (const auto& command : kCommands) column = std::max(column, command.usage.size());
    std::string out = "Script commands, one per line ('#' starts a comment; \"quotes\" group words). A row is named by\n"
                      "its title, or by @KEY=VALUE (an entry of its property list):\n";
    for (const auto& command : kCommands)
        out += "  " + std::string(command.usage) + std::string(column + 2 - command.usage.size(), ' ') + std::string(command.help) + "\n";
    return out;
}

}  // namespace sim
