// The shell stand-in: real commands of this machine, with redirections landing in the device root.
#include "host/System/Shell.h"

#include <sys/wait.h>

#include <fstream>
#include <sstream>

#include "tests/support/DeviceFixture.h"

namespace {

class ShellTest : public DeviceFixture {
protected:
    std::string contents(const std::filesystem::path& path) const {
        std::ifstream in(path, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
};

TEST_F(ShellTest, RedirectionsWriteIntoTheDeviceRoot) {
    const struct {
        const char* command;
        const char* devicePath;
        const char* expected;
    } cases[] = {
        {"echo hello >/tmp/a.txt", "/tmp/a.txt", "hello\n"},
        {"echo one > /tmp/b.txt; echo two >>/tmp/b.txt", "/tmp/b.txt", "one\ntwo\n"},
        {"sh -c 'echo oops >&2' 2>/tmp/c.txt", "/tmp/c.txt", "oops\n"},
        {"printf 'a>b' >\"/tmp/with space.txt\"", "/tmp/with space.txt", "a>b"},
        {"printf x >'/tmp/it'\\''s; rm -rf x.txt'", "/tmp/it's; rm -rf x.txt", "x"},
        {"echo hi >/tmp/sub/../d.txt", "/tmp/d.txt", "hi\n"},
        {"echo '#' >|/tmp/e.txt # >/../../not-a-target", "/tmp/e.txt", "#\n"},
        {"cat </tmp/a.txt >/tmp/f.txt", "/tmp/f.txt", "hello\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        const int status = host::Shell::system(c.command);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
        EXPECT_EQ(contents(root / std::string(c.devicePath).substr(1)), c.expected);
    }
    EXPECT_TRUE(diagnostics().empty());
}

TEST_F(ShellTest, RedirectionsThatLeaveTheDeviceRootAreRefusedAndNothingRuns) {
    const char* const commands[] = {
        "echo ran >/tmp/ran.txt; echo x >/../../../../velkaro-escape.txt",
        "echo ran >/tmp/ran.txt; echo x >velkaro-relative.txt",
        "echo ran >/tmp/ran.txt; echo x >\"$HOME/velkaro-expanded.txt\"",
        "echo ran >/tmp/ran.txt; echo x >`pwd`/velkaro.txt",
        "echo ran >/tmp/ran.txt; echo x >~/velkaro.txt",
        "echo ran >/tmp/ran.txt; cat <<EOF",
        "echo ran >/tmp/ran.txt; echo x >",
        "echo ran >/tmp/ran.txt; echo 'unterminated",
    };
    for (const char* command : commands) {
        SCOPED_TRACE(command);
        host::EventLog::shared().clear();
        EXPECT_EQ(host::Shell::system(command), -1);
        const auto shell = events("shell");
        ASSERT_EQ(shell.size(), 1u);
        EXPECT_EQ(shell[0].field("status"), "refused");
    }
    EXPECT_FALSE(std::filesystem::exists(root / "tmp/ran.txt"));
    EXPECT_FALSE(std::filesystem::exists("velkaro-relative.txt"));
}

TEST_F(ShellTest, MissingProgramStillLeavesTheRedirectedFileEmpty) {
    const int status = host::Shell::system("/usr/bin/velkaro-no-such-tool -l >/tmp/dpkgl.log 2>/dev/null");
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 127);
    ASSERT_TRUE(std::filesystem::exists(root / "tmp/dpkgl.log"));
    EXPECT_EQ(std::filesystem::file_size(root / "tmp/dpkgl.log"), 0u);
}

}  // namespace
