#include "host/Preferences/PreferenceStore.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "host/Runtime/AtomicFile.h"
#include "host/Runtime/PropertyList.h"
#include "host/Runtime/DeviceRoot.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/DeviceFixture.h"

namespace {

namespace fs = std::filesystem;
using host::PreferenceStore;
using test::Child;
using test::finish;
using test::spawn;

constexpr const char* kDomain = "com.mornvale.velkaro";
constexpr const char* kPrefsFolder = "/var/mobile/Library/Preferences";
constexpr const char* kPrefsPath = "/var/mobile/Library/Preferences/com.mornvale.velkaro.plist";

// The temporary files of stores of the test's domain in the preferences folder.
int temporaryFilesIn(const fs::path& folder) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        count += entry.path().filename().string().starts_with(host::temporaryNamePrefix(std::string(kDomain) + ".plist"));
    return count;
}

// Whether the store succeeded, then each diagnostic it left, one a line.
std::string storeAndReport(const std::string& key, const PlistValue& value) {
    std::string text = PreferenceStore::setValue(kDomain, key, value) ? "stored" : "refused";
    for (const auto& event : host::EventLog::shared().eventsOfKind("diagnostic")) text += "\n" + event.field("message");
    return text;
}

using PreferenceStoreTest = DeviceFixture;

// A store cut off mid-write (here by the file size limit, which root obeys too) leaves the stored
// file whole, with every value it held, and no temporary file: the store never writes in place.
TEST_F(PreferenceStoreTest, StoreCutOffMidWriteLeavesTheStoredFileWhole) {
    ASSERT_TRUE(PreferenceStore::setValue(kDomain, "kept", PlistValue(42)));
    const auto before = host::DeviceRoot::readFile(kPrefsPath);
    const std::string outcome = finish(spawn([] {
        return test::limitFileSize(64 * 1024) ? storeAndReport("blob", PlistValue(std::string(1 << 20, 'x'))) : "no limit";
    }));
    EXPECT_TRUE(outcome.starts_with("refused")) << outcome;
    EXPECT_TRUE(host::DeviceRoot::readFile(kPrefsPath) == before) << "the stored file was written over";
    EXPECT_EQ(std::tuple(PreferenceStore::valueForKey(kDomain, "kept"), temporaryFilesIn(hostPath(kPrefsFolder))), std::tuple(PlistValue(42), 0));
}

// A preferences folder that cannot be written (a file stands where the folder should be, which
// even root cannot write through): reported, false, and nothing claimed stored.
TEST_F(PreferenceStoreTest, UnwritableFolderIsReportedAndNothingClaimedStored) {
    fs::remove_all(hostPath(kPrefsFolder));
    writeFile(kPrefsFolder, "not a folder");
    EXPECT_FALSE(PreferenceStore::setValue(kDomain, "cornerRadius", PlistValue(4.0)));
    EXPECT_TRUE(events("preference").empty());
    ASSERT_EQ(diagnostics().size(), 1u);
    EXPECT_TRUE(diagnostics()[0].find("cornerRadius") != std::string::npos && diagnostics()[0].find(kDomain) != std::string::npos) << diagnostics()[0];
    EXPECT_EQ(std::tuple(PreferenceStore::valueForKey(kDomain, "cornerRadius").isNil(), fs::is_regular_file(hostPath(kPrefsFolder))), std::tuple(true, true));
}

// The stored dictionary keeps other keys and types when one key is replaced or removed.
TEST_F(PreferenceStoreTest, ReplacingOneKeyKeepsTheOthers) {
    for (const auto& [key, value] : {std::pair{"enabled", PlistValue(true)}, {"cornerRadius", PlistValue(2.5f)},
             {"cornerRadius", PlistValue(0.3f)}, {"theme", PlistValue("dark")}, {"theme", PlistValue()}})
        ASSERT_TRUE(PreferenceStore::setValue(kDomain, key, value)) << key;
    auto stored = host::PropertyList::readFile(hostPath(kPrefsPath));
    ASSERT_TRUE(stored);
    EXPECT_EQ(*stored, PlistValue(PlistValue::Dictionary{{"enabled", true}, {"cornerRadius", PlistValue(0.3f)}}));
}

// An existing preferences file that cannot be read is never written over: the store refuses,
// says why once, and leaves the file exactly as it was.
TEST_F(PreferenceStoreTest, UnreadableFileIsRefusedAndLeftAsItIs) {
    const auto path = hostPath(kPrefsPath);
    const auto bytesOf = [&] { return host::DeviceRoot::readFile(kPrefsPath + std::string(fs::is_directory(path) ? "/inside" : "")); };
    const std::tuple<const char*, std::function<void()>, std::string> cases[] = {
        {"no permission to read", [&] {
             for (const char* key : {"a", "b", "c", "d"}) ASSERT_TRUE(PreferenceStore::setValue(kDomain, key, PlistValue(key)));
             chmod(path.c_str(), 0);
         }, std::strerror(EACCES)},
        {"a folder in its place", [&] { fs::create_directory(path), void(std::ofstream(path / "inside") << "kept"); }, "a folder"},
        {"not a property list", [&] { std::ofstream(path) << "not a property list"; }, "not a property list"},
        {"not a dictionary", [&] { std::ofstream(path) << "<plist><array><string>a</string></array></plist>"; },
            "not a property list dictionary"},
    };
    for (const auto& [what, arrange, why] : cases) {
        SCOPED_TRACE(what);
        fs::remove_all(path);
        arrange();
        const auto before = bytesOf();
        const auto mode = fs::status(path).permissions();
        const std::string told = finish(spawn([] {
            return test::dropPermissionOverrides() ? storeAndReport("cornerRadius", PlistValue(4.0)) : std::string("no capabilities");
        }));
        EXPECT_TRUE(told.starts_with("refused\n") && told.find('\n', 8) == std::string::npos) << "one diagnostic: " << told;
        EXPECT_TRUE(told.find(why) != std::string::npos && told.find("left as they are") != std::string::npos) << told;
        EXPECT_EQ(std::tuple(fs::status(path).permissions(), bytesOf(), temporaryFilesIn(path.parent_path())), std::tuple(mode, before, 0));
        if (mode == fs::perms::none) {  // the four keys are all there once it can be read
            chmod(path.c_str(), 0600);
            EXPECT_EQ(PreferenceStore::read(kDomain).size(), 4u);
        }
    }
    fs::remove_all(path);
    EXPECT_TRUE(PreferenceStore::setValue(kDomain, "fresh", PlistValue(1))) << "a missing file is the only empty one";
}

// Stores from several processes at once, each of its own keys: every key is there at the end.
TEST_F(PreferenceStoreTest, StoresFromSeveralProcessesLoseNothing) {
    constexpr int kProcesses = 6, kKeysEach = 15;
    std::vector<Child> children;
    for (int p = 0; p < kProcesses; ++p)
        children.push_back(spawn([p] {
            for (int k = 0; k < kKeysEach; ++k)
                if (!PreferenceStore::setValue(kDomain, "p" + std::to_string(p) + "k" + std::to_string(k), PlistValue(k)))
                    return "store " + std::to_string(k) + " failed";
            return std::string();
        }));
    for (const auto& child : children) EXPECT_EQ(finish(child), "");
    EXPECT_EQ(PreferenceStore::read(kDomain).size(), std::size_t(kProcesses * kKeysEach));
}

// What killed stores of the domain left is removed by its next store; nothing else is.
TEST_F(PreferenceStoreTest, NextStoreRemovesTemporaryFilesOfKilledStores) {
    const auto folder = hostPath(kPrefsFolder);
    const std::string stale = host::temporaryNamePrefix(std::string(kDomain) + ".plist") + "Ab12Cd";
    const std::string otherDomain = host::temporaryNamePrefix("com.example.other.plist") + "Ab12Cd";
    for (const auto& name : {stale, otherDomain, std::string("notes.txt")}) std::ofstream(folder / name) << "partial";
    ASSERT_TRUE(PreferenceStore::setValue(kDomain, "enabled", PlistValue(true)));
    EXPECT_FALSE(fs::exists(folder / stale));
    EXPECT_TRUE(fs::exists(folder / otherDomain));
    EXPECT_TRUE(fs::exists(folder / "notes.txt"));
}

}  // namespace
