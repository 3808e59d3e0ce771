// The shell stand-in: /bin/sh in a sandbox whose "/" is the device root.
#include "host/Runtime/Shell.h"

#include <sys/wait.h>

#include <fstream>
#include <set>
#include <sstream>

#include "host/Runtime/DeviceRoot.h"
#include "tests/support/DeviceFixture.h"
#include "tests/support/Files.h"

namespace {

using test::readFile;

constexpr const char* kSecret = "host secret\n";

class ShellTest : public DeviceFixture {
protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        outside = root.parent_path();
        canary = outside / "canary";
        std::ofstream(canary) << kSecret;
    }
    void TearDown() override {
        host::Shell::setSandboxProgramForTesting("");
        DeviceFixture::TearDown();
    }

    // What lies next to the device root on this machine.
    std::set<std::string> outsideEntries() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(outside)) names.insert(entry.path().filename());
        return names;
    }
    // `pattern` with %c standing for the canary's host path and %d for its folder.
    std::string expand(std::string pattern) const {
        for (const auto& [mark, value] : {std::pair{"%c", canary.string()}, std::pair{"%d", outside.string()}})
            for (auto at = pattern.find(mark); at != std::string::npos; at = pattern.find(mark, at + value.size()))
                pattern.replace(at, 2, value);
        return pattern;
    }

    std::filesystem::path outside, canary;
};

TEST_F(ShellTest, CommandsRunWithTheDeviceAsRoot) {
    const struct { const char* command; const char* devicePath; const char* expected; int exitStatus; } cases[] = {
        {"echo hello >/tmp/a.txt", "/tmp/a.txt", "hello\n", 0},
        {"echo one > /tmp/b.txt; echo two >>/tmp/b.txt", "/tmp/b.txt", "one\ntwo\n", 0},
        {"printf 'a>b' >\"/tmp/with space.txt\"", "/tmp/with space.txt", "a>b", 0},
        {"cd tmp && pwd >c.txt", "/tmp/c.txt", "/tmp\n", 0},
        {"cat /Library/PreferenceBundles/Velkaro.bundle/Info.plist | head -c 5 >/tmp/d.txt", "/tmp/d.txt", "<?xml", 0},
        {"echo x 2>/dev/null >/Library/PreferenceBundles/Velkaro.bundle/e.txt", "/tmp/e.txt", "", 2},
        {"/usr/bin/velkaro-no-such-tool -l >/tmp/dpkgl.log 2>/dev/null", "/tmp/dpkgl.log", "", 127},
        {"exit 3", "/tmp/f.txt", "", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        const int status = host::Shell::system(c.command);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == c.exitStatus) << status;
        EXPECT_EQ(readFile(root / std::string(c.devicePath).substr(1)), c.expected);
    }
    EXPECT_FALSE(std::filesystem::exists(std::string(VELKARO_STAGED_BUNDLE) + "/e.txt") || !diagnostics().empty());
}

// Each command tries to write the canary, leave something next to it, or copy it into the
// device; none may succeed, whatever the command's own status.
TEST_F(ShellTest, NothingOutsideTheDeviceIsReachable) {
    // A link may be planted in the device first, at `linkAt`, pointing to `linkTo`.
    const struct { const char* command; const char* linkAt = nullptr; const char* linkTo = nullptr; } cases[] = {
        {"echo \"$(echo pwned >%c)\""}, {"echo \"`echo pwned >%c`\""}, {"echo $(echo pwned | tee %d/new)"},
        {"eval 'echo pwned >%c'"}, {"sh -c 'echo pwned >%c; echo pwned >%d/new'"}, {"cd / && echo pwned | tee .%c"},
        {"cd %d && echo pwned | tee new"}, {"echo pwned >/tmp/link", "/tmp/link", "%c"},
        {"echo pwned >/tmp/link/new", "/tmp/link", "%d"}, {"echo pwned >/tmp/link/%c", "/tmp/link", "/"},
        {"echo pwned | tee /proc/self/root%c /proc/1/root%c"},
        {"cat %c /proc/self/root%c /proc/1/root%c /tmp/link >/tmp/leak", "/tmp/link", "%c"},
        {"true", "/Library", "/oldroot%d"},  // a link where the bundle is mounted
    };
    for (const auto& c : cases) {
        const std::string command = expand(c.command);
        SCOPED_TRACE(command);
        if (c.linkAt) {
            std::filesystem::remove_all(root / std::string(c.linkAt).substr(1));
            std::filesystem::create_symlink(expand(c.linkTo), root / std::string(c.linkAt).substr(1));
        }
        host::Shell::system("{ " + command + "; } >/dev/null 2>&1");
        EXPECT_EQ(readFile(canary), kSecret);
        EXPECT_EQ(outsideEntries(), (std::set<std::string>{"canary", "device"}));
        EXPECT_EQ(readFile(root / "tmp/leak").find("secret"), std::string::npos);
        if (c.linkAt) std::filesystem::remove(root / std::string(c.linkAt).substr(1));
        std::filesystem::remove(root / "tmp/leak");
        std::filesystem::remove(outside / "new");
        std::ofstream(canary) << kSecret;
    }
}

// The sandbox has no network but loopback, and its package listing is the device's own.
TEST_F(ShellTest, NoNetworkButLoopbackAndTheDevicesOwnPackages) {
    ASSERT_EQ(host::Shell::system("cat /proc/net/dev >/tmp/net && /usr/bin/dpkg -l >/tmp/dpkgl.log"), 0) << "a clean exit";
    std::istringstream lines(readFile(root / "tmp/net"));
    std::vector<std::string> interfaces;
    for (std::string line; std::getline(lines, line);)
        if (auto colon = line.find(':'); colon != std::string::npos && line.find('|') == std::string::npos)
            interfaces.push_back(line.substr(line.find_first_not_of(' '), colon - line.find_first_not_of(' ')));
    EXPECT_EQ(interfaces, std::vector<std::string>{"lo"});
    const std::string listing = readFile(root / "tmp/dpkgl.log");
    EXPECT_NE(listing.find("\nii  com.mornvale.velkaro"), std::string::npos);
    EXPECT_EQ(listing.find("libplist"), std::string::npos) << "this machine's packages were listed";
}

// Where the sandbox cannot start, nothing runs: the command is refused with one diagnostic.
// A command's own failure is not a refusal.
TEST_F(ShellTest, RefusedWhereNoSandboxCanStart) {
    // An empty sandbox program is the real one.
    const struct { const char* sandboxProgram; bool deviceRoot; const char* command; bool refused; } cases[] = {
        {"/nonexistent/bwrap", true, "echo ran >/tmp/ran.txt", true},
        {"/bin/false", true, "echo ran >/tmp/ran.txt", true},  // fails before the command starts
        {"", true, "echo ran >/tmp/ran.txt; exit 1", false}, {"", false, "echo ran >/tmp/ran.txt", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.sandboxProgram) + " " + c.command);
        host::EventLog::shared().clear();
        std::filesystem::remove(root / "tmp/ran.txt");
        host::Shell::setSandboxProgramForTesting(c.sandboxProgram);
        if (!c.deviceRoot) host::DeviceRoot::uninstall();
        const int status = host::Shell::system(c.command);
        const auto shell = events("shell");
        ASSERT_EQ(shell.size(), 1u);
        EXPECT_EQ(std::tuple(shell[0].field("status") == "refused", diagnostics().size(), std::filesystem::exists(root / "tmp/ran.txt")),
            std::tuple(c.refused, c.refused ? 1u : 0u, !c.refused));
        if (c.refused) EXPECT_EQ(status, -1);
        else EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    }
}

}  // namespace
