// Script mode, the event log file and the built-in tour.
#include "simulator/EventLogWriter.h"
#include "simulator/Snapshot.h"
#include "simulator/Tour.h"
#include "tests/simulator/SimulatorFixture.h"

class ScriptRunnerTest : public SimulatorFixture {};
class TourTest : public SimulatorFixture {};

TEST(ScriptRunnerSplit, WordsQuotesAndComments) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases{
        {"tap Configuration", {"tap", "Configuration"}}, {"  slide \"Corner radius\"   7 ", {"slide", "Corner radius", "7"}},
        {"press \"say \\\"hi\\\"\"", {"press", "say \"hi\""}}, {"# a comment", {}},
        {"wait 0.5 # half a second", {"wait", "0.5"}}, {"tap \"#1 row\"", {"tap", "#1 row"}},
        {"type \"\"", {"type", ""}}, {"", {}},
    };
    for (const auto& [line, words] : cases) EXPECT_EQ(sim::ScriptRunner::split(line), words) << line;
}

// The slider flow as a script: the value is stored at once and announced 0.2 s later.
TEST_F(ScriptRunnerTest, ScriptEntersASliderValueAndChecksWhatReachedTheOutside) {
    ASSERT_TRUE(start());
    const auto run = runScript("# open the pane from the Settings page\nopen Velkaro\ntap \"Configuration\"\nvalue \"Artwork offset\"\n"
                               "type 12\nkey Negate\npress Enter\nexpect-event notification\nwait 0.2\n"  // lines 5-9
                               "expect-event notification name=com.mornvale.velkaro/ReloadPrefs\n"
                               "expect-pref com.mornvale.velkaro artworkOffset -12\nexpect \"slider=-12\"\ndump\n");
    EXPECT_EQ(run.failures, 1) << run.err;
    EXPECT_EQ(run.err.rfind("line 8: no notification event so far", 0), 0u) << run.err;
    EXPECT_NE(run.out.find("page KXVelkaroConfigurationListController"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("slider=-12 [-50..50]"), std::string::npos) << run.out;
}

// On a pad the keyboard itself has "-" and ".": typing goes through it, and the phone's toolbar
// keys are refused with what to type instead.
TEST_F(ScriptRunnerTest, OnAPadTheScriptTypesSignAndPoint) {
    options.profile = "ipad-air2";
    ASSERT_TRUE(start());
    const auto run = runScript("open-bundle\ntap Configuration\nvalue \"Artwork offset\"\nkey Negate\ntype -12.5x\ntype 5\npress Enter\n"
                               "expect-pref com.mornvale.velkaro artworkOffset -12.55\n");
    EXPECT_EQ(run.failures, 2) << run.err;
    EXPECT_EQ(run.err, "line 4: there is no keypad key \"Negate\": the pad's keyboard has '-' and '.' keys of its own; "
                       "type them (type -12.5)\n"
                       "line 5: the keyboard's numbers page has no key for some of these: typed 5 of 6 characters\n");
}

// Failing lines are reported with their numbers; the script goes on unless it is strict.
TEST_F(ScriptRunnerTest, ScriptReportsFailingLinesAndStopsWhenStrict) {
    const std::string script = "open-bundle\nfrobnicate\ntap \"No such row\"\ntap Configuration\nvalue \"Corner radius\"\ntype -5\n"
                               "press Enter\nexpect-pref com.mornvale.velkaro cornerRadius 5\n";
    ASSERT_TRUE(start());
    auto run = runScript(script);
    EXPECT_EQ(run.failures, 3) << run.err;
    // The number pad drops the minus sign: 5 is typed, and stored.
    EXPECT_EQ(run.err, "line 2: unknown command \"frobnicate\" (try \"help\")\n"
                       "line 3: no row titled \"No such row\" on VelkaroListController\n"
                       "line 6: the number pad has digits only: typed 1 of 2 characters (use key Negate / key Point for '-' and '.')\n");

    ASSERT_TRUE(start());  // a new application, on the Settings page again
    run = runScript(script, true);
    EXPECT_EQ(run.failures, 1);
    EXPECT_EQ(app->visiblePage()->className(), "VelkaroListController") << "nothing after line 2 ran";
}

// Lines say what happened and what stands in the way: a slide past the end says where it stopped
// (and still counts as done), back under a pop-up or sheet names it, and the dump names rows that
// show no title by the name and key scripts reach them by.
TEST_F(ScriptRunnerTest, LinesSayWhatHappenedAndWhatIsInFront) {
    ASSERT_TRUE(start());
    const auto run = runScript("open\ntap Configuration\nslide \"Corner radius\" 99\nslide \"Corner radius\" 5\ndump\n"
                               "value \"Corner radius\"\nback\npress Cancel\naccount twitter on\ncompose\n"  // lines 6-10
                               "back\nsheet cancel\nback\nback\nback\n");
    EXPECT_EQ(run.failures, 3) << run.err;
    EXPECT_EQ(run.err, "line 3: 99 is outside the slider's range 0..10: it stopped at 10\n"
                       "line 7: the alert \"Corner radius\" is in front: press one of its buttons first (Cancel, Enter)\n"
                       "line 11: the share sheet is in front: finish it first (sheet post|cancel)\n"
                       "line 15: this is the first page: there is nothing to go back to\n");
    EXPECT_NE(run.out.find("KXVelkaroSliderCell named \"Corner radius\" key=cornerRadius | \"5\" slider=5"), std::string::npos)
        << run.out;
}

// Numbers no clock or row can take are refused with a message, and the clock is left alone;
// what a refused line quotes back reaches the terminal with its control bytes escaped.
TEST_F(ScriptRunnerTest, ScriptRefusesAbsurdNumbersAndEscapesWhatItQuotes) {
    ASSERT_TRUE(start());
    const std::string waitRange = "wait takes a number of seconds from 0 to 86400";
    const std::pair<std::string, std::string> cases[] = {
        {"wait -1", waitRange}, {"wait nan", waitRange}, {"wait inf", waitRange}, {"wait 1e308", waitRange}, {"wait 86401", waitRange},
        {"tap-row 1e300 0", "tap-row takes two whole numbers"}, {"tap-row 0 -9.3e18", "tap-row takes two whole numbers"},
        {"slide \"Corner radius\" 1e300", "slide needs a number as its last word"},
        {"tap \"\x1b[2J\x1b]0;owned\x07\xff\"", R"(no row titled "\x1b[2J\x1b]0;owned\x07\xff")"},
    };
    for (const auto& [script, message] : cases) {
        const auto run = runScript(script);
        EXPECT_EQ(run.failures, 1) << script;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\x1b'), std::string::npos) << run.err;
    }
    EXPECT_EQ(app->now(), 0);
    EXPECT_EQ(runScript("wait 86400").failures, 0);
}

// Each event is one JSON line with its time, kind and fields, whatever the fields hold.
TEST(EventLogWriter, OneJsonObjectPerLine) {
    host::Event plain{0.25, "notification", {{"name", "com.mornvale.velkaro/ReloadPrefs"}}};
    EXPECT_EQ(sim::EventLogWriter::line(plain),
        R"({"time":0.25,"kind":"notification","fields":{"name":"com.mornvale.velkaro/ReloadPrefs"}})");
    // Quotes, line breaks and bytes that are not UTF-8 stay inside the one line.
    host::Event awkward{0.1 + 0.2, "diagnostic", {{"message", "a \"broken\"\nlist \xff"}}};
    const auto line = sim::EventLogWriter::line(awkward);
    EXPECT_EQ(line.find('\n'), std::string::npos) << line;
    EXPECT_NE(line.find(R"("time":0.3,)"), std::string::npos) << line;
    EXPECT_NE(line.find(R"(a \"broken\"\nlist )"), std::string::npos) << line;

    const test::ScratchFolder scratch;
    const auto path = scratch.path / "logs" / "events.jsonl";
    {
        sim::EventLogWriter writer(path);
        ASSERT_TRUE(writer.isOpen());
        writer.write(plain);
        writer.write(awkward);
    }
    EXPECT_EQ(test::readFile(path), sim::EventLogWriter::line(plain) + "\n" + line + "\n");

    // A time too large to scale to microseconds is still a number.
    EXPECT_EQ(sim::EventLogWriter::line({1e308, "tick", {}}), R"({"time":1e+308,"kind":"tick","fields":{}})");
}

// A log the disk refuses fails loudly, naming the file; nothing is written after the failure.
TEST(EventLogWriter, FailedWritesAreReportedWithTheAbsolutePath) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    sim::EventLogWriter writer("/dev/full");
    ASSERT_TRUE(writer.isOpen()) << writer.error();
    EXPECT_FALSE(writer.write({0, "tick", {}}));
    EXPECT_FALSE(writer.isOpen());
    EXPECT_FALSE(writer.close());
    EXPECT_EQ(writer.error(), "cannot write the event log /dev/full: No space left on device");
}

// The tour visits every stop without a failing step and leaves its screens and its log.
TEST_F(TourTest, TourWritesEveryStopAndTheEventLog) {
    ASSERT_TRUE(start());
    const auto folder = temp / "tour";
    std::ostringstream out, err;
    sim::Tour tour(*app, folder, out, err);
    EXPECT_EQ(tour.run(), 0) << err.str();
    EXPECT_NE(out.str().find(folder.string()), std::string::npos) << out.str();
    for (const auto& stop : sim::Tour::stops()) {
        EXPECT_TRUE(std::filesystem::exists(folder / (stop.name + ".txt"))) << stop.name;
        EXPECT_EQ(std::filesystem::exists(folder / (stop.name + ".png")), sim::Snapshot::available()) << stop.name;
    }
    const struct { const char* stop; std::string text; bool shown; } stops[] = {
        {"02-root-0.4s", "(drawn 0)", true}, {"03-root-1.2s", "(drawn 1)", true},  // the logo invisible at 0.4 s, there at 1.2 s
        // The value refused at the error stop is the one typed at the stop before it.
        {"08-narrow-popup", "field: \"42\"", true}, {"09-error-popup", "alert \"Error\"", true},
        // The maker's note shows where the link opened, and is gone a few simulated seconds later.
        {"14-maker-opened", "note: Opened", true}, {"15-share-sheet", "note:", false},
        {"18-settings-again", "bar tint default", true},  // back on the Settings page the theme is gone
    };
    for (const auto& s : stops)
        EXPECT_EQ(readAll(folder / (std::string(s.stop) + ".txt")).find(s.text) != std::string::npos, s.shown) << s.stop << ": " << s.text;
    const std::string log = readAll(tour.eventLogPath());
    for (const char* kind : {"preference", "notification", "openURL", "sheet", "mail", "present", "dismiss"})
        EXPECT_NE(log.find(std::string("\"kind\":\"") + kind + "\""), std::string::npos) << kind;
}
