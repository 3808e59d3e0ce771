// The program as a person starts it: which device a run uses and says it uses, and what it says
// when asked what it cannot do.
#include <sys/wait.h>

#include <cstdlib>
#include <regex>
#include <vector>

#include "tests/support/Files.h"

namespace {

struct Result { int status; std::string out, err; };

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Runs the program in `folder` with no display and HOME in `folder`/home.
Result run(const std::filesystem::path& folder, const std::vector<std::string>& args) {
    std::string command = "cd " + quoted(folder) + " && env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_DATA_HOME HOME=" +
                          quoted(folder / "home") + " " + quoted(VELKARO_SIM_PROGRAM);
    for (const auto& arg : args) command += " " + quoted(arg);
    const int status = std::system((command + " >out.txt 2>err.txt </dev/null").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::readFile(folder / "out.txt"), test::readFile(folder / "err.txt")};
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

class CommandLineTest : public ::testing::Test {
protected:
    test::ScratchFolder scratch;
    const std::filesystem::path folder = scratch.path;
};

}  // namespace

// Only the window keeps the user's device by default: a tour or a script runs on a throwaway
// one, says which (with its outbox and event log), and removes it at exit unless asked to keep it.
TEST_F(CommandLineTest, ToursAndScriptsLeaveThePersistentDeviceAlone) {
    std::ofstream(folder / "mail.script") << "open\ntap \"Email Support\"\nmail send\n";
    const std::regex said("device root (/[^ ]+) \\(throwaway, (removed at exit|kept)\\); outbox \\1/var/mobile/Library/Mail/Outbox; "
                          "event log ([^\n]+)\n");
    const struct { std::vector<std::string> args; std::string log; bool kept; } cases[] = {
        {{"--tour", "tour"}, (folder / "tour/events.jsonl").string(), false},
        {{"--script", "mail.script", "--event-log", "events.jsonl"}, (folder / "events.jsonl").string(), false},
        {{"--script", "mail.script", "--keep-device"}, "none (--event-log FILE writes one)", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.front());
        const auto result = run(folder, c.args);
        EXPECT_EQ(result.status, 0) << result.err;
        std::smatch match;
        ASSERT_TRUE(std::regex_search(result.err, match, said)) << result.err;
        EXPECT_EQ(occurrences(result.err, "device root"), 1u) << result.err;
        EXPECT_EQ(match[3], c.log);
        const std::filesystem::path root = match[1].str();
        EXPECT_EQ(std::filesystem::exists(root / "var/mobile/Library/Mail/Outbox/1.eml"), c.kept) << root;
        if (c.kept) std::filesystem::remove_all(root);
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "home")) << "the persistent device was made";
}

// Usage errors exit 2, failures 1; each error is said once, with absolute paths; --help names the
// window's keys and the outbox.
TEST_F(CommandLineTest, MessagesAreSaidOnceWithTheirConventions) {
    const struct { std::vector<std::string> args; int status; std::string text; std::size_t times; } cases[] = {
        {{"--bogus"}, 2, "--bogus", 1}, {{"--profile"}, 2, "--profile", 1},
        {{"--strict", "--dump"}, 2, "--strict requires --script", 1},
        {{"--keep-device", "--device-root", "d", "--dump"}, 2, "--device-root excludes --keep-device", 1},
        {{"--version"}, 0, "velkaro-sim 1.0\n", 1}, {{"--help"}, 0, "Ctrl+Return sends the mail", 1},
        {{"--help"}, 0, "F12 or Ctrl+S saves a snapshot", 1},
        {{"--help"}, 0, "<device root>/var/mobile/Library/Mail/Outbox", 1},
        {{"--bundle", "/nonexistent", "--dump"}, 1, "/nonexistent", 1},
        {{"--bundle", "/nonexistent", "--tour", "tour"}, 1, "/nonexistent", 1},
        {{"--script", "missing.script"}, 2, "cannot read the script " + (folder / "missing.script").string() + ":", 1},
        {{"--language", "xx,de", "--dump"}, 0, "the pane has no \"xx\" localization (it has de, en, fr): showing de", 1},
        {{"--language", "de-CH", "--dump"}, 0, "localization", 0},
    };
    for (const auto& c : cases) {
        std::string line;
        for (const auto& a : c.args) line += a + " ";
        SCOPED_TRACE(line);
        const auto result = run(folder, c.args);
        EXPECT_EQ(result.status, c.status) << result.err;
        EXPECT_EQ(occurrences(result.out + result.err, c.text), c.times) << result.out << result.err;
    }
}

// --check-layout says what does not fit and fails the run for it; a clean pane passes.
TEST_F(CommandLineTest, CheckLayoutExitsByWhatItFinds) {
    struct Case { std::string language; int status; std::string says; } cases[] = {
        {"en", 0, "Layout check: every label fits"}, {"pseudo-double", 1, "truncated, lacks "}};
    for (const auto& c : cases) {
        const auto result = run(folder, {"--check-layout", "--language", c.language});
        EXPECT_EQ(result.status, c.status) << c.language << "\n" << result.out << result.err;
        EXPECT_NE(result.out.find(c.says), std::string::npos) << result.out;
    }
}

// A recording writes the references and still fails the run; the next run checks them. The
// contact sheet holds one row of tour stops per language.
TEST_F(CommandLineTest, RecordingFailsTheRunAndTheContactSheetHasARowPerLanguage) {
    std::ofstream(folder / "shots.script") << "open\nexpect-snapshot root\n";
    auto result = run(folder, {"--script", "shots.script", "--snapshot-dir", "refs", "--record-snapshots"});
    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_EQ(occurrences(result.out, "recorded " + (folder / "refs/root.png").string()), 1u) << result.out;
    EXPECT_EQ(occurrences(result.err, "recorded 1 references; run again without --record-snapshots to check"), 1u) << result.err;
    const auto recorded = test::readFile(folder / "refs/root.png");
    EXPECT_EQ(recorded.substr(1, 3), "PNG");
    result = run(folder, {"--script", "shots.script", "--snapshot-dir", "refs", "--strict"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(test::readFile(folder / "refs/root.png"), recorded);

    result = run(folder, {"--contact-sheet", "sheet.png", "--contact-languages", "en,de"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(occurrences(result.out, "contact sheet " + (folder / "sheet.png").string() + ": 2 rows of 18 stops"), 1u) << result.out;
    const std::string png = test::readFile(folder / "sheet.png");
    ASSERT_GT(png.size(), 24u);
    std::uint32_t height = 0;  // big-endian, after the signature and the header's width
    for (int k = 20; k < 24; ++k) height = height << 8 | std::uint8_t(png[k]);
    EXPECT_EQ(height, 16u + 2 * (300 + 34 + 16)) << "height: two rows of tiles";
}
