// Device paths mapped into the device root; nothing may climb out of it.
#include <gtest/gtest.h>

#include "host/System/DeviceRoot.h"
#include "tests/support/DeviceFixture.h"

namespace {

TEST(DeviceRootPaths, Normalize) {
    struct Case {
        const char* in;
        std::optional<std::string> out;
    } cases[] = {
        {"/var/mobile//Library/Preferences/x.plist", "/var/mobile/Library/Preferences/x.plist"},
        {"/a/./b/../c", "/a/c"},
        {"/", "/"},
        {"//", "/"},
        {"/a/..", "/"},
        {"/..", std::nullopt},
        {"/a/../../b", std::nullopt},
        {"relative/path", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(host::DeviceRoot::normalize(c.in), c.out) << c.in;
    EXPECT_EQ(host::DeviceRoot::normalize(std::string_view("/a\0b", 4)), std::nullopt);
}

class DeviceRootTest : public DeviceFixture {};

TEST_F(DeviceRootTest, MountsWinOverTheRootAndLongestPrefixWins) {
    host::DeviceRoot::mount("/Library/PreferenceBundles/Velkaro.bundle/images", "/somewhere/images");
    EXPECT_EQ(hostPath("/tmp/dpkgl.log"), root / "tmp/dpkgl.log");
    EXPECT_EQ(hostPath("/Library/PreferenceBundles/Velkaro.bundle/Info.plist"),
        std::filesystem::path(VELKARO_STAGED_BUNDLE) / "Info.plist");
    EXPECT_EQ(hostPath("/Library/PreferenceBundles/Velkaro.bundle/images/a.png"), "/somewhere/images/a.png");
    // A sibling whose name merely starts like the mount is not inside it.
    EXPECT_EQ(hostPath("/Library/PreferenceBundles/Velkaro.bundleX/a"), root / "Library/PreferenceBundles/Velkaro.bundleX/a");
    // Climbing out of a mount lands back inside the device root, never outside it.
    EXPECT_EQ(hostPath("/Library/PreferenceBundles/Velkaro.bundle/../Other.bundle"), root / "Library/PreferenceBundles/Other.bundle");
}

TEST_F(DeviceRootTest, RefusedPathsAreReportedAndReadNothing) {
    EXPECT_EQ(host::DeviceRoot::resolve("/../../etc/passwd"), std::nullopt);
    EXPECT_EQ(host::DeviceRoot::readFile("/Library/PreferenceBundles/Velkaro.bundle/../../../../etc/passwd"), std::nullopt);
    ASSERT_EQ(diagnostics().size(), 2u);
    EXPECT_NE(diagnostics()[0].find("refused"), std::string::npos);
    writeFile("/tmp/note.txt", "hello");
    EXPECT_EQ(host::DeviceRoot::readFile("/tmp//note.txt"), "hello");
    EXPECT_EQ(host::DeviceRoot::readFile("/tmp"), std::nullopt) << "a folder is not a file";
}

}  // namespace
