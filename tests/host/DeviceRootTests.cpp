// Device paths looked up inside the device root by the kernel; nothing may reach out of it.
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "host/Foundation/NSBundle.h"
#include "host/MessageUI/MFMailComposeViewController.h"
#include "host/Preferences/PreferenceStore.h"
#include "host/Runtime/DeviceRoot.h"
#include "host/UIKit/UIImage.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/DeviceFixture.h"
#include "tests/support/Files.h"

namespace fs = std::filesystem;

namespace {

TEST(DeviceRootPaths, Normalize) {
    struct Case { const char* in; std::optional<std::string> out; } cases[] = {
        {"/var/mobile//Library/Preferences/x.plist", "/var/mobile/Library/Preferences/x.plist"},
        {"/a/./b/../c", "/a/c"}, {"/", "/"}, {"//", "/"}, {"/a/..", "/"},
        {"/..", std::nullopt}, {"/a/../../b", std::nullopt}, {"relative/path", std::nullopt}, {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(host::DeviceRoot::normalize(c.in), c.out) << c.in;
    EXPECT_EQ(host::DeviceRoot::normalize(std::string_view("/a\0b", 4)), std::nullopt);
}

class DeviceRootTest : public DeviceFixture {
protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        outside = root.parent_path() / "outside";
        fs::create_directories(outside);
        std::ofstream(outside / "secret") << "this machine's file";
    }
    // What is in the folder outside the device, by name and content.
    std::map<std::string, std::string> outsideFiles() const {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::recursive_directory_iterator(outside))
            files[fs::relative(e.path(), outside).string()] = e.is_regular_file() ? test::readFile(e.path()) : "";
        return files;
    }
    fs::path outside;  // a folder beside the device root, on this machine
};

TEST_F(DeviceRootTest, MountsWinOverTheRootAndLongestPrefixWins) {
    host::DeviceRoot::mount("/Library/PreferenceBundles/Velkaro.bundle/images", "/somewhere/images");
    EXPECT_EQ(hostPath("/tmp/dpkgl.log"), root / "tmp/dpkgl.log");
    EXPECT_EQ(hostPath("/Library/PreferenceBundles/Velkaro.bundle/Info.plist"), fs::path(VELKARO_STAGED_BUNDLE) / "Info.plist");
    EXPECT_EQ(hostPath("/Library/PreferenceBundles/Velkaro.bundle/images/a.png"), "/somewhere/images/a.png");
    // A sibling whose name merely starts like the mount is not inside it.
    EXPECT_EQ(hostPath("/Library/PreferenceBundles/Velkaro.bundleX/a"), root / "Library/PreferenceBundles/Velkaro.bundleX/a");
    // Climbing out of a mount lands back inside the device root, never outside it.
    EXPECT_EQ(hostPath("/Library/PreferenceBundles/Velkaro.bundle/../Other.bundle"), root / "Library/PreferenceBundles/Other.bundle");
    EXPECT_TRUE(host::DeviceRoot::readFile("/Library/PreferenceBundles/Velkaro.bundle/Info.plist"));
}

TEST_F(DeviceRootTest, RefusedPathsAreReportedAndReadNothing) {
    EXPECT_FALSE(host::DeviceRoot::exists("/../../etc/passwd") || host::DeviceRoot::readFile("/Library/PreferenceBundles/Velkaro.bundle/../../../../etc/passwd"));
    ASSERT_EQ(diagnostics().size(), 2u);
    EXPECT_NE(diagnostics()[0].find("refused"), std::string::npos);
    writeFile("/tmp/note.txt", "hello");
    EXPECT_EQ(host::DeviceRoot::readFile("/tmp//note.txt"), "hello");
    const struct { const char* path; int error; } cases[] = {{"/tmp/none.txt", ENOENT}, {"/tmp", EISDIR}};
    for (const auto& c : cases) EXPECT_EQ(host::DeviceRoot::read(c.path).error, c.error) << c.path;
}

// Links on the device, absolute or climbing with "..", resolve as if the device root were "/":
// the device's own links work, and no read, listing or write reaches this machine's files.
TEST_F(DeviceRootTest, LinksResolveInsideTheDeviceRoot) {
    const auto bundle = useWritableBundleCopy();
    // The device's own folder at the path the outside folder has on this machine.
    const fs::path mirror = root / outside.relative_path();
    fs::create_directories(mirror);
    std::ofstream(mirror / "secret") << "the device's file";
    fs::create_directories(root / "private/var/db");
    std::ofstream(root / "private/var/db/note") << "private note";
    fs::create_symlink("/private/var/db", root / "var/db");
    fs::create_symlink(outside / "secret", root / "tmp/absolute");
    fs::create_symlink("../../../../../../../../../../.." + outside.string() + "/secret", root / "tmp/climbing");
    fs::create_symlink(outside, root / "tmp/folder");
    fs::create_symlink(outside / "secret", root / "var/mobile/Library/Preferences/com.mornvale.velkaro.plist");
    fs::create_symlink("/Info.plist", bundle / "own-root");
    fs::create_symlink("../../../../../../../../../.." + (root / "tmp/note").string(), bundle / "out-of-mount");
    writeFile("/tmp/note", "device note");

    struct Case { const char* path; std::optional<std::string> content; } cases[] = {
        {"/var/db/note", "private note"},                      // the device's own link
        {"/tmp/absolute", "the device's file"},                // absolute: the device's path, not this machine's
        {"/tmp/climbing", "the device's file"},                // ".." stops at the device's "/"
        {"/tmp/folder/secret", "the device's file"},
        {"/var/mobile/Library/Preferences/com.mornvale.velkaro.plist", "the device's file"},
        {"/Library/PreferenceBundles/Velkaro.bundle/own-root", *host::DeviceRoot::readFile(std::string(kBundlePath) + "/Info.plist")},
        {"/Library/PreferenceBundles/Velkaro.bundle/out-of-mount", std::nullopt},  // a mount is a root of its own
    };
    for (const auto& c : cases) {
        EXPECT_EQ(host::DeviceRoot::readFile(c.path), c.content) << c.path;
        EXPECT_EQ(host::DeviceRoot::exists(c.path), c.content.has_value()) << c.path;
    }
    EXPECT_TRUE(host::DeviceRoot::isFolder("/tmp/folder"));
    const auto listed = host::DeviceRoot::listFolder("/tmp/folder");
    ASSERT_TRUE(listed && listed->size() == 1u);
    EXPECT_EQ(listed->front().name, "secret");

    // Writes and folder creation through the same links stay inside too.
    EXPECT_TRUE(host::DeviceRoot::writeFileAtomically("/tmp/folder/written", "new") && host::DeviceRoot::createFolders("/tmp/folder/made/deeper")
        && host::DeviceRoot::writeFileAtomically("/tmp/absolute", "replaced the link"));
    EXPECT_EQ(host::DeviceRoot::readFile("/tmp/folder/written"), "new");
    EXPECT_TRUE(fs::is_directory(mirror / "made/deeper"));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(root / "tmp/absolute"))) << "a link at the name is replaced";
    EXPECT_EQ(outsideFiles(), (std::map<std::string, std::string>{{"secret", "this machine's file"}}));
}

// A folder linked to an absolute path is the device's path: what each writer puts there stays
// on the device.
TEST_F(DeviceRootTest, WritersThroughLinkedFoldersStayInsideTheDevice) {
    const struct { const char* folder; std::function<bool()> write; const char* file; } cases[] = {
        {host::PreferenceStore::kFolder, [] { return host::PreferenceStore::setValue("com.example.linked", "k", PlistValue(true)); },
            "com.example.linked.plist"},
        {MFMailComposeViewController::kOutboxPath, [] {
             auto presenter = std::make_shared<UIViewController>();
             auto composer = MFMailComposeViewController::init();
             composer->setToRecipients({"someone@example.org"});
             presenter->presentViewController(composer, false, nullptr);
             return composer->send() && composer->sentPath().has_value();
         }, "1.eml"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        const fs::path linked = outside / fs::path(c.folder).filename();
        fs::create_directories(linked);
        fs::create_directories(root / linked.relative_path());
        fs::remove_all(hostPath(c.folder));
        fs::create_directories(hostPath(c.folder).parent_path());
        fs::create_symlink(linked, hostPath(c.folder));
        EXPECT_TRUE(c.write());
        EXPECT_TRUE(fs::is_empty(linked) && fs::is_regular_file(root / linked.relative_path() / c.file));
    }
}

// A FIFO where a file should be answers at once, for every reader, instead of waiting for a
// writer that never comes.
TEST_F(DeviceRootTest, FifoInPlaceOfAFileDoesNotBlock) {
    const auto bundle = useWritableBundleCopy();
    const std::string image = std::string(kBundlePath) + "/fifo.png";
    for (const auto& path : {root / "tmp/fifo", bundle / "fifo.png", hostPath(host::PreferenceStore::devicePathForDomain("fifo"))})
        ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0) << path;
    fs::remove(bundle / "Info.plist");
    ASSERT_EQ(::mkfifo((bundle / "Info.plist").c_str(), 0644), 0);
    const struct { const char* what; std::function<bool()> readIsRefused; } cases[] = {
        {"read", [] { return host::DeviceRoot::read("/tmp/fifo").error == EINVAL; }},
        {"bundle", [] { return NSBundle::bundleWithPath(kBundlePath)->infoDictionary().isNil(); }},
        {"image", [&] { return UIImage::initWithContentsOfFile(image) == nullptr; }},
        {"preferences", [] { return !host::PreferenceStore::setValue("fifo", "key", PlistValue(1)); }},
    };
    for (const auto& c : cases) {
        const auto child = test::spawn([&] {
            ::alarm(5);  // a blocked reader ends here, by SIGALRM
            return c.readIsRefused() ? "" : "not refused";
        });
        EXPECT_EQ(test::finish(child), "") << c.what;
    }
}

}  // namespace
