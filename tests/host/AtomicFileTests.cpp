#include "host/Runtime/AtomicFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <random>
#include <set>
#include <thread>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "host/Runtime/EventLog.h"
#include "host/Runtime/FailureInjection.h"
#include "host/Runtime/SimulatedDevice.h"
#include "host/Runtime/UniqueFd.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Files.h"

namespace fs = std::filesystem;
using test::readFile;

namespace {

class AtomicFileTest : public ::testing::Test {
protected:
    static void put(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }
    // Temporary files are hidden, so the hidden names in `folder` are what a write left behind.
    static std::vector<std::string> tempFilesIn(const fs::path& folder) {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(folder))
            if (e.path().filename().string().starts_with(".")) names.push_back(e.path().filename().string());
        return names;
    }

    test::ScratchFolder scratch;
    const fs::path dir = scratch.path;
};

TEST_F(AtomicFileTest, ReplacesContentAndKeepsMode) {
    std::string binary(300000, '\0');
    for (size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 131 % 251);
    const fs::path target = dir / "prefs.plist";
    for (const std::string& bytes : {std::string("old"), binary, std::string(), std::string("last\n")}) {
        std::string error;
        ASSERT_TRUE(host::writeFileAtomically(target, bytes, &error)) << error;
        EXPECT_TRUE(readFile(target) == bytes && tempFilesIn(dir).empty()) << bytes.size() << " bytes";
    }
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0644));
    // A private file stays private, but its owner can always read and write the new one.
    for (const auto& [before, after] : {std::pair{0600, 0600}, {0000, 0600}, {0440, 0640}, {0755, 0755}}) {
        fs::permissions(target, fs::perms(before));
        ASSERT_TRUE(host::writeFileAtomically(target, "again"));
        EXPECT_EQ(fs::status(target).permissions(), fs::perms(after)) << std::oct << before;
    }
    // A link at the name is replaced; what it pointed at is left alone.
    put(dir / "elsewhere", "untouched");
    fs::remove(target);
    fs::create_symlink(dir / "elsewhere", target);
    ASSERT_TRUE(host::writeFileAtomically(target, "own file"));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(target)) && readFile(dir / "elsewhere") == "untouched");

    // A relative path writes into the current folder.
    const fs::path before = fs::current_path();
    fs::current_path(dir);
    const bool ok = host::writeFileAtomically("relative.txt", "here");
    fs::current_path(before);
    EXPECT_TRUE(ok && readFile(dir / "relative.txt") == "here");
}

TEST_F(AtomicFileTest, FailureLeavesOldFileAndNoTemporaryFile) {
    const fs::path target = dir / "prefs.plist";
    put(dir / "plain-file", "not a folder");
    fs::create_directory(dir / "occupied");
    put(dir / "occupied" / "keep", "kept");
    const struct { const char* what; fs::path path; int expectedErrno; std::function<void()> arrange; } cases[] = {
        {"folder is a regular file", dir / "plain-file" / "prefs.plist", ENOTDIR, nullptr},
        {"folder does not exist", dir / "missing" / "prefs.plist", ENOENT, nullptr},
        {"target is a non-empty folder", dir / "occupied", EISDIR, nullptr},
        {"write fails part-way", target, EFBIG, nullptr},
        {"folder is read-only", target, EACCES, [&] { fs::permissions(dir, fs::perms(0555)); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        put(target, "old content");
        if (c.arrange) c.arrange();
        // In a child, where the file size limit can stay lowered and root meets permission bits too.
        const std::string error = test::finish(test::spawn([&] {
            std::string why;
            if (!test::dropPermissionOverrides()) return std::string("no capabilities");
            if (c.expectedErrno == EFBIG && !test::limitFileSize(64 * 1024)) return std::string("no limit");
            return host::writeFileAtomically(c.path, std::string(1 << 20, 'x'), &why) ? std::string("written") : why;
        }));
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
        EXPECT_NE(error.find(std::strerror(c.expectedErrno)), std::string::npos) << error;
        EXPECT_EQ(std::tuple(readFile(target), readFile(dir / "occupied" / "keep")), std::tuple(std::string("old content"), std::string("kept")));
        EXPECT_TRUE(tempFilesIn(dir).empty() && tempFilesIn(dir / "occupied").empty());
    }
}

// The data is in place once renamed: a folder flush failing after it is told, not a failed write.
TEST_F(AtomicFileTest, FolderFlushFailingAfterTheRenameIsNotAFailedWrite) {
    host::SimulatedDevice device;  // an empty event log, and no failure left armed afterwards
    host::FailureInjection::failNextStep("folder flush");
    std::string error;
    EXPECT_TRUE(host::writeFileAtomically(dir / "prefs.plist", "in place", &error) && readFile(dir / "prefs.plist") == "in place") << error;
    const auto told = host::EventLog::shared().eventsOfKind("diagnostic");
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].field("message").find("flush"), std::string::npos) << told[0].field("message");
}

// Writers in several processes taking numbered names at once never take the same one.
TEST_F(AtomicFileTest, NewFilesNeverReplaceOneAnotherAcrossProcesses) {
    constexpr int kWriters = 4, kEach = 25;
    std::vector<test::Child> children;
    for (int w = 0; w < kWriters; ++w)
        children.push_back(test::spawn([&, w] {
            host::UniqueFd folder(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            for (int i = 0; i < kEach; ++i)
                if (!host::writeNewFileAt(folder.get(), [](int n) { return std::to_string(n) + ".eml"; },
                        "writer " + std::to_string(w) + " mail " + std::to_string(i)))
                    return "a write failed";
            return "";
        }));
    for (const auto& child : children) EXPECT_EQ(test::finish(child), "");
    std::set<std::string> contents;
    for (int n = 1; n <= kWriters * kEach; ++n) contents.insert(readFile(dir / (std::to_string(n) + ".eml")));
    EXPECT_EQ(contents.size(), size_t(kWriters * kEach)) << "a mail was written over another";
    EXPECT_FALSE(fs::exists(dir / (std::to_string(kWriters * kEach + 1) + ".eml")));
    EXPECT_TRUE(tempFilesIn(dir).empty());
}

// Value `seq`: a header, then 1 to 2 MB of one byte; sizes differ, so a torn or short file shows.
std::string makeValue(uint64_t seq) {
    return "VALUE " + std::to_string(seq) + "\n" + std::string((1u << 20) + (seq * 2654435761u) % (1u << 20), char('a' + seq % 26));
}

// Writers killed at random points leave the file holding the last completed value or the next.
TEST_F(AtomicFileTest, KilledWriterNeverLeavesTornFile) {
    const fs::path target = dir / "value.plist";
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(host::writeFileAtomically(target, makeValue(0)));
    const auto oneWrite = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    const unsigned seed = std::random_device()();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> completedWrites(0, 2);
    std::uniform_int_distribution<long> delayMicros(0, 2 * oneWrite.count());

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    uint64_t lastSeq = 0;
    // 200 kills, or as many as fit in 5 s on a busy machine, but never fewer than 20.
    for (int kills = 0; kills < 200 && (kills < 20 || std::chrono::steady_clock::now() < deadline); ++kills) {
        int progress[2];  // the writer reports each value it has completely written
        ASSERT_EQ(::pipe(progress), 0);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            for (uint64_t seq = lastSeq + 1;; ++seq)
                if (!host::writeFileAtomically(target, makeValue(seq)) || ::write(progress[1], &seq, sizeof seq) != sizeof seq)
                    ::_exit(2);
        }
        ::close(progress[1]);
        uint64_t reported = lastSeq;
        for (int n = completedWrites(rng); n > 0; --n)
            ASSERT_EQ(::read(progress[0], &reported, sizeof reported), ssize_t(sizeof reported));
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicros(rng)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ASSERT_TRUE(::waitpid(pid, &status, 0) == pid && WIFSIGNALED(status)) << "the writer stopped by itself, status " << status;
        while (::read(progress[0], &reported, sizeof reported) == ssize_t(sizeof reported)) continue;
        ::close(progress[0]);
        const std::string content = readFile(target);
        if (content == makeValue(reported + 1)) lastSeq = reported + 1;
        else if (content == makeValue(reported)) lastSeq = reported;
        else FAIL() << "torn file after kill " << kills << " (" << content.size() << " bytes, last completed " << reported << ")";
    }
    // Killed writers may leave hidden temporary files, never anything else beside the target.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()) - tempFilesIn(dir).size(), 1u);
    for (const std::string& name : tempFilesIn(dir)) EXPECT_TRUE(name.starts_with(host::temporaryNamePrefix("value.plist"))) << name;
    ASSERT_TRUE(host::writeFileAtomically(target, makeValue(lastSeq + 1)));
    EXPECT_EQ(readFile(target), makeValue(lastSeq + 1));
}

}  // namespace
