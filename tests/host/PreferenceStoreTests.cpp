#include "host/Preferences/PreferenceStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <sstream>
#include <string>

#include <fstream>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "host/Runtime/AtomicFile.h"
#include "host/Runtime/PropertyList.h"
#include "host/Runtime/DeviceRoot.h"
#include "tests/support/DeviceFixture.h"

namespace {

constexpr const char* kDomain = "com.mornvale.velkaro";
constexpr const char* kPrefsFolder = "/var/mobile/Library/Preferences";
constexpr const char* kPrefsPath = "/var/mobile/Library/Preferences/com.mornvale.velkaro.plist";
constexpr std::size_t kBlobSize = 128 * 1024;

// A large value that tells whether it arrived whole: "<counter>:" then kBlobSize copies of one letter.
std::string blob(long counter) {
    return std::to_string(counter) + ":" + std::string(kBlobSize, char('a' + counter % 26));
}

// The counter of a whole blob, or -1 for anything torn.
long counterOfBlob(const std::string& text) {
    long counter = -1;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), counter);
    if (ec != std::errc() || end == text.data() + text.size() || *end != ':') return -1;
    return text == blob(counter) ? counter : -1;
}

// The temporary files of stores of the test's domain in the preferences folder.
int temporaryFilesIn(const std::filesystem::path& folder) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        count += entry.path().filename().string().starts_with(host::temporaryNamePrefix(std::string(kDomain) + ".plist"));
    return count;
}

std::string contentOf(const std::filesystem::path& path) {
    std::stringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

using PreferenceStoreTest = DeviceFixture;

// A writer killed at random points, many times: the file is always a whole property list that
// still holds the value stored before the writer started, and never older than the last write
// the writer saw complete.
TEST_F(PreferenceStoreTest, WriterKilledMidWriteNeverTearsOrLosesStoredValues) {
    ASSERT_TRUE(host::PreferenceStore::setValue(kDomain, "kept", PlistValue(42)));
    const auto path = hostPath(kPrefsPath);
    // Kill points spread over a few stores' time, measured here since it differs between builds.
    long durable = -1;  // the counter of the large value in the file; -1 while none is stored
    auto slowest = std::chrono::steady_clock::duration::zero();
    for (int k = 0; k < 3; ++k) {
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(host::PreferenceStore::setValue(kDomain, "blob", PlistValue(blob(++durable))));
        slowest = std::max(slowest, std::chrono::steady_clock::now() - start);
    }
    const auto spread = std::chrono::duration_cast<std::chrono::microseconds>(3 * slowest).count() + 20000;
    std::mt19937 random(20240607);
    std::uniform_int_distribution<long> pauseMicroseconds(0, spread);
    int rounds = 0, cutOff = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (; rounds < 200 && std::chrono::steady_clock::now() < deadline; ++rounds) {
        int confirmations[2];
        ASSERT_EQ(pipe(confirmations), 0);
        const long first = durable + 1;
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(confirmations[0]);
            // Stores until killed; reports each counter once its store has returned true.
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            for (long counter = first; std::chrono::steady_clock::now() < giveUp; ++counter) {
                if (!host::PreferenceStore::setValue(kDomain, "blob", PlistValue(blob(counter)))) _exit(2);
                if (write(confirmations[1], &counter, sizeof counter) != sizeof counter) _exit(3);
            }
            _exit(0);
        }
        close(confirmations[1]);
        usleep(static_cast<useconds_t>(pauseMicroseconds(random)));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself with " << status;
        long counter = 0, confirmed = -1;
        while (read(confirmations[0], &counter, sizeof counter) == sizeof counter) confirmed = counter;
        close(confirmations[0]);

        SCOPED_TRACE("round " + std::to_string(rounds));
        std::string error;
        auto stored = host::PropertyList::readFile(path, &error);
        ASSERT_TRUE(stored && stored->isDictionary()) << error;
        EXPECT_EQ((*stored)["kept"], PlistValue(42));
        const PlistValue& written = (*stored)["blob"];
        const long newestKnown = confirmed >= 0 ? confirmed : durable;
        ASSERT_TRUE(written.isString()) << "a stored value was lost";
        const long found = counterOfBlob(*written.string());
        ASSERT_GE(found, 0) << "torn value";
        // The store the writer was in when killed may have landed, but nothing older than it knew.
        EXPECT_GE(found, newestKnown);
        EXPECT_LE(found, (confirmed >= 0 ? confirmed : first - 1) + 1);
        durable = found;
        cutOff += temporaryFilesIn(path.parent_path()) > 0;
    }
    EXPECT_GE(rounds, 20);
    EXPECT_GT(durable, 2 + rounds / 10) << "the writer hardly ever completed a store";
    // Rounds that left a temporary file are stores cut off between creating and renaming; the
    // next store removes what they left.
    RecordProperty("rounds", rounds);
    RecordProperty("cutOffStores", cutOff);
    EXPECT_GT(cutOff, 0) << "no kill landed inside a write";
    ASSERT_TRUE(host::PreferenceStore::setValue(kDomain, "kept", PlistValue(43)));
    EXPECT_EQ(temporaryFilesIn(path.parent_path()), 0);
}

// A preferences folder that cannot be written (a file stands where the folder should be, which
// even root cannot write through): reported, false, and nothing claimed stored.
TEST_F(PreferenceStoreTest, UnwritableFolderIsReportedAndNothingClaimedStored) {
    std::filesystem::remove_all(hostPath(kPrefsFolder));
    writeFile(kPrefsFolder, "not a folder");

    EXPECT_FALSE(host::PreferenceStore::setValue(kDomain, "cornerRadius", PlistValue(4.0)));
    EXPECT_TRUE(events("preference").empty());
    const auto messages = diagnostics();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("cornerRadius"), std::string::npos) << messages[0];
    EXPECT_NE(messages[0].find(kDomain), std::string::npos) << messages[0];
    EXPECT_TRUE(host::PreferenceStore::valueForKey(kDomain, "cornerRadius").isNil());
    EXPECT_TRUE(std::filesystem::is_regular_file(hostPath(kPrefsFolder)));
}

// The stored dictionary keeps other keys and types when one key is replaced or removed.
TEST_F(PreferenceStoreTest, ReplacingOneKeyKeepsTheOthers) {
    ASSERT_TRUE(host::PreferenceStore::setValue(kDomain, "enabled", PlistValue(true)));
    ASSERT_TRUE(host::PreferenceStore::setValue(kDomain, "cornerRadius", PlistValue(2.5f)));
    ASSERT_TRUE(host::PreferenceStore::setValue(kDomain, "cornerRadius", PlistValue(0.3f)));
    ASSERT_TRUE(host::PreferenceStore::setValue(kDomain, "theme", PlistValue("dark")));
    ASSERT_TRUE(host::PreferenceStore::setValue(kDomain, "theme", PlistValue()));
    auto stored = host::PropertyList::readFile(hostPath(kPrefsPath));
    ASSERT_TRUE(stored);
    EXPECT_EQ(*stored, PlistValue(PlistValue::Dictionary{{"enabled", true}, {"cornerRadius", PlistValue(0.3f)}}));
    EXPECT_EQ(events("preference").size(), 5u);
}

}  // namespace

namespace {

// Without the capabilities that let root read and write past permission bits, as any user is.
bool dropPermissionOverrides() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (syscall(SYS_capget, &header, data) != 0) return false;
    for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH}) data[cap / 32].effective &= ~(1u << (cap % 32));
    return syscall(SYS_capset, &header, data) == 0;
}

// A store made by a child process without those capabilities: whether it was stored, and what
// it told the event log.
std::pair<bool, std::vector<std::string>> storeAsAUser(const std::string& key, const PlistValue& value) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return {true, {"no pipe"}};
    const pid_t child = fork();
    if (child == 0) {
        close(pipeFds[0]);
        if (!dropPermissionOverrides()) _exit(3);
        const bool stored = host::PreferenceStore::setValue(kDomain, key, value);
        for (const auto& event : host::EventLog::shared().eventsOfKind("diagnostic")) {
            const std::string line = event.field("message") + "\n";
            if (write(pipeFds[1], line.data(), line.size()) != ssize_t(line.size())) _exit(4);
        }
        _exit(stored ? 0 : 1);
    }
    close(pipeFds[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;) text.append(buffer, size_t(n));
    close(pipeFds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) <= 1) << "the child failed with " << status;
    return {WIFEXITED(status) && WEXITSTATUS(status) == 0, lines};
}

// An existing preferences file that cannot be read is never written over: the store refuses,
// says why once, and leaves the file exactly as it was.
TEST_F(PreferenceStoreTest, UnreadableFileIsRefusedAndLeftAsItIs) {
    const auto path = hostPath(kPrefsPath);
    struct Case {
        const char* what;
        std::function<void()> arrange;
        std::string why;
    } cases[] = {
        {"no permission to read", [&] {
             for (const char* key : {"a", "b", "c", "d"}) ASSERT_TRUE(host::PreferenceStore::setValue(kDomain, key, PlistValue(key)));
             chmod(path.c_str(), 0);
         }, std::strerror(EACCES)},
        {"a folder in its place", [&] {
             std::filesystem::create_directory(path);
             std::ofstream(path / "inside") << "kept";
         }, "a folder"},
        {"not a property list", [&] { std::ofstream(path) << "not a property list"; }, "not a property list"},
        {"not a dictionary", [&] { std::ofstream(path) << "<plist><array><string>a</string></array></plist>"; }, "not a property list dictionary"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(path);
        c.arrange();
        const auto before = std::filesystem::is_directory(path) ? contentOf(path / "inside") : contentOf(path);
        const auto mode = std::filesystem::status(path).permissions();
        const auto [stored, told] = storeAsAUser("cornerRadius", PlistValue(4.0));
        EXPECT_FALSE(stored);
        ASSERT_EQ(told.size(), 1u);
        EXPECT_NE(told[0].find(c.why), std::string::npos) << told[0];
        EXPECT_NE(told[0].find("left as they are"), std::string::npos) << told[0];
        EXPECT_EQ(std::filesystem::is_directory(path) ? contentOf(path / "inside") : contentOf(path), before);
        EXPECT_EQ(std::filesystem::status(path).permissions(), mode);
        EXPECT_EQ(temporaryFilesIn(path.parent_path()), 0);
        if (mode == std::filesystem::perms::none) {  // the four keys are all there once it can be read
            chmod(path.c_str(), 0600);
            EXPECT_EQ(host::PreferenceStore::read(kDomain).size(), 4u);
        }
    }
    std::filesystem::remove_all(path);
    EXPECT_TRUE(host::PreferenceStore::setValue(kDomain, "fresh", PlistValue(1))) << "a missing file is the only empty one";
}

// Stores from several processes at once, each of its own keys: every key is there at the end.
TEST_F(PreferenceStoreTest, StoresFromSeveralProcessesLoseNothing) {
    constexpr int kProcesses = 6, kKeysEach = 15;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int k = 0; k < kKeysEach; ++k)
                if (!host::PreferenceStore::setValue(kDomain, "p" + std::to_string(p) + "k" + std::to_string(k), PlistValue(k))) _exit(1);
            _exit(0);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    EXPECT_EQ(host::PreferenceStore::read(kDomain).size(), std::size_t(kProcesses * kKeysEach));
}

// What killed stores of the domain left is removed by its next store; nothing else is.
TEST_F(PreferenceStoreTest, NextStoreRemovesTemporaryFilesOfKilledStores) {
    const auto folder = hostPath(kPrefsFolder);
    const std::string stale = host::temporaryNamePrefix(std::string(kDomain) + ".plist") + "Ab12Cd";
    const std::string otherDomain = host::temporaryNamePrefix("com.example.other.plist") + "Ab12Cd";
    for (const auto& name : {stale, otherDomain, std::string("notes.txt")}) std::ofstream(folder / name) << "partial";
    ASSERT_TRUE(host::PreferenceStore::setValue(kDomain, "enabled", PlistValue(true)));
    EXPECT_FALSE(std::filesystem::exists(folder / stale));
    EXPECT_TRUE(std::filesystem::exists(folder / otherDomain));
    EXPECT_TRUE(std::filesystem::exists(folder / "notes.txt"));
}

// A Preferences folder linked to an absolute path resolves inside the device, as on the device.
TEST_F(PreferenceStoreTest, LinkedPreferencesFolderKeepsPreferencesInsideTheDevice) {
    const auto outside = root.parent_path() / "outside-preferences";
    std::filesystem::create_directories(outside);
    std::filesystem::create_directories(root / outside.relative_path());
    std::filesystem::remove_all(hostPath(kPrefsFolder));
    std::filesystem::create_symlink(outside, hostPath(kPrefsFolder));
    ASSERT_TRUE(host::PreferenceStore::setValue(kDomain, "enabled", PlistValue(true)));
    EXPECT_EQ(host::PreferenceStore::valueForKey(kDomain, "enabled"), PlistValue(true));
    EXPECT_TRUE(std::filesystem::is_empty(outside));
    EXPECT_TRUE(std::filesystem::exists(root / outside.relative_path() / (std::string(kDomain) + ".plist")));
}

}  // namespace
