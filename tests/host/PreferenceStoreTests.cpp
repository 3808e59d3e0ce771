#include "host/Preferences/PreferenceStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include "host/Foundation/PropertyList.h"
#include "host/System/DeviceRoot.h"
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
    int rounds = 0;
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
        auto stored = PropertyList::readFile(path, &error);
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
    }
    EXPECT_GE(rounds, 20);
    EXPECT_GT(durable, 2 + rounds / 10) << "the writer hardly ever completed a store";
    // Temporary files left behind are stores cut off between creating and renaming.
    int cutOff = 0;
    for (const auto& entry : std::filesystem::directory_iterator(path.parent_path()))
        if (entry.path().filename().string().starts_with(".")) ++cutOff;
    RecordProperty("rounds", rounds);
    RecordProperty("cutOffStores", cutOff);
    EXPECT_GT(cutOff, 0) << "no kill landed inside a write";
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
    auto stored = PropertyList::readFile(hostPath(kPrefsPath));
    ASSERT_TRUE(stored);
    EXPECT_EQ(*stored, PlistValue(PlistValue::Dictionary{{"enabled", true}, {"cornerRadius", PlistValue(0.3f)}}));
    EXPECT_EQ(events("preference").size(), 5u);
}

}  // namespace

namespace {

class PreferenceStoreRecoveryTest : public DeviceFixture {};

// A preferences file that cannot be read is kept aside, never written over.
TEST_F(PreferenceStoreRecoveryTest, UnreadableFileIsKeptAside) {
    const std::string device = "/var/mobile/Library/Preferences/com.mornvale.velkaro.plist";
    writeFile(device, "not a property list");
    ASSERT_TRUE(host::PreferenceStore::setValue("com.mornvale.velkaro", "cornerRadius", PlistValue(4.0)));
    EXPECT_EQ(host::PreferenceStore::valueForKey("com.mornvale.velkaro", "cornerRadius"), PlistValue(4.0));
    EXPECT_EQ(host::DeviceRoot::readFile(device + ".unreadable"), "not a property list");
    ASSERT_FALSE(diagnostics().empty());
    EXPECT_NE(diagnostics().back().find("unreadable"), std::string::npos);
}

}  // namespace
