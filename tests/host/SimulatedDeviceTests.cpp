#include "host/Runtime/SimulatedDevice.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <functional>
#include <optional>

#include "host/CoreFoundation/CFNotificationCenter.h"
#include "host/Foundation/NSBundle.h"
#include "host/Runtime/ClassRegistry.h"
#include "host/Runtime/DeviceProfile.h"
#include "host/Runtime/DeviceRoot.h"
#include "host/Runtime/FailureInjection.h"
#include "host/Runtime/RunLoop.h"
#include "host/UIKit/UIAlertView.h"
#include "host/UIKit/UIApplication.h"
#include "host/UIKit/UISwitch.h"

namespace {

constexpr const char* kBundlePath = "/Library/PreferenceBundles/Velkaro.bundle";

// Every piece of process-wide state a device owns: how a session leaves it behind, and whether it
// is as on a fresh device. The event log comes first: the other checks may record events.
struct ProcessState {
    std::shared_ptr<NSBundle> cachedBundle;
    int heardNotifications = 0;
    int heardEvents = 0;

    struct Part { const char* name; std::function<void()> leaveBehind; std::function<bool()> isFresh; };
    std::vector<Part> parts() {
        auto& log = host::EventLog::shared();
        auto& loop = host::RunLoop::main();
        static constexpr auto app = &UIApplication::sharedApplication;
        static constexpr auto center = &CFNotificationCenterGetDarwinNotifyCenter;
        return {
            {"event log", [&] { log.diagnostic("left behind"); log.setListener([this](const host::Event&) { ++heardEvents; }); },
                [&] {
                    const int before = heardEvents;
                    const bool empty = log.events().empty() && log.recorded() == 0;
                    log.record("probe", {});
                    return empty && heardEvents == before;
                }},
            {"clock and run loop", [&] { loop.schedule(5, [] {}); loop.advance(1); loop.useSteadyClock(); },
                [&] { return loop.pendingTaskCount() == 0 && loop.usesManualClock() && loop.now() == 0; }},
            {"alert stack", [] { UIAlertView::initWithTitle("Left", std::nullopt, nullptr, "OK", {})->show(); },
                [] { return UIAlertView::topAlert() == nullptr; }},
            {"appearance proxies", [] { UISwitch::appearanceWhenContainedIn({"Page"}).setOnTintColor(UIColor::whiteColor()); },
                [] { return !UISwitch::appearanceWhenContainedIn({"Page"}).onTintColor(); }},
            {"application",
                [] { app()->setStatusBarStyle(UIStatusBarStyleLightContent); app()->openURL(NSURL::URLWithString("https://example.com")); },
                [] { return app()->statusBarStyle() == UIStatusBarStyleDefault && app()->openedURLs().empty(); }},
            {"notification observers",
                [this] { CFNotificationCenterAddObserver(center(), "left/behind", [this](const std::string&) { ++heardNotifications; }); },
                [&] {
                    const int before = heardNotifications;
                    CFNotificationCenterPostNotification(center(), "left/behind", nullptr, nullptr, true);
                    loop.advance(0);
                    return heardNotifications == before;
                }},
            {"armed failures", [] { host::FailureInjection::failNextStep("left behind"); },
                [] { return !host::FailureInjection::shouldFail("left behind"); }},
            {"bundle cache", [this] { cachedBundle = NSBundle::bundleWithPath(kBundlePath); },
                [this] { return !cachedBundle || NSBundle::bundleWithPath(kBundlePath) != cachedBundle; }},
            {"profile", [] { host::DeviceProfile::install(*host::DeviceProfile::builtInNamed("iphone7")); },
                [] { return host::DeviceProfile::current().name == "iphone6s" && kCFCoreFoundationVersionNumber == 1242.13; }},
        };
    }
    void leaveBehind() {
        for (auto& part : parts()) part.leaveBehind();
        ASSERT_NE(cachedBundle, nullptr);
    }
    void expectFresh(const char* when) {
        for (auto& part : parts()) EXPECT_TRUE(part.isFresh()) << part.name << " after " << when;
    }
};

// Making a device resets everything a session left behind, and so does the end of the device in
// force; a device a newer one took over from leaves the process to the newer one when it ends.
// A temporary folder goes with its device; a given root stays.
TEST(SimulatedDeviceTest, StartsFreshAndLeavesNothingBehind) {
    const auto givenRoot = std::filesystem::temp_directory_path() / ("velkaro-given-root-" + std::to_string(getpid()));
    ProcessState state;
    std::optional<host::SimulatedDevice> older(std::in_place,
        host::SimulatedDevice::Options{.bundleDirectory = VELKARO_STAGED_BUNDLE, .bundleDevicePath = kBundlePath});
    const auto olderFolder = older->temporaryFolder();
    ASSERT_TRUE(std::filesystem::is_directory(olderFolder / "device"));
    state.leaveBehind();

    std::optional<host::SimulatedDevice> newer(std::in_place, host::SimulatedDevice::Options{
        .deviceRoot = givenRoot, .bundleDirectory = VELKARO_STAGED_BUNDLE, .bundleDevicePath = kBundlePath});
    state.expectFresh("a new device");
    EXPECT_EQ(std::tuple(host::DeviceRoot::directory(), host::ClassRegistry::shared().bundlePathForClass("NotRegistered"), newer->temporaryFolder()),
        std::tuple(givenRoot, std::optional<std::string>(kBundlePath), std::filesystem::path()));

    state.leaveBehind();
    older.reset();
    EXPECT_FALSE(std::filesystem::exists(olderFolder));
    EXPECT_EQ(host::DeviceRoot::directory(), givenRoot) << "the older device took the newer one's root away";
    EXPECT_NE(UIAlertView::topAlert(), nullptr) << "the older device reset the newer one's state";

    newer.reset();
    state.expectFresh("the end of the device in force");
    EXPECT_EQ(std::tuple(host::DeviceRoot::isInstalled(), host::ClassRegistry::shared().bundlePathForClass("NotRegistered"),
                  std::filesystem::is_directory(givenRoot / "var/mobile/Library/Preferences")), std::tuple(false, std::optional<std::string>(), true));
    std::filesystem::remove_all(givenRoot);
}

// The options shape the device: its profile with the simulator's overrides, its seed and
// folders, and an unknown profile falls back to the default one, saying so.
TEST(SimulatedDeviceTest, OptionsShapeTheDevice) {
    {
        host::SimulatedDevice device({.profile = "ipad-air2", .languages = {"fr", "en"}, .installedSchemes = std::set<std::string>{"tweetbot"},
            .twitterAccount = true, .mailAccount = false, .manualClock = false});
        const auto& p = host::DeviceProfile::current();
        EXPECT_EQ(std::tie(p.name, p.preferredLanguages, p.installedURLSchemes, p.hasTwitterAccount, p.hasMailAccount),
            std::make_tuple("ipad-air2", std::vector<std::string>{"fr", "en"}, std::set<std::string>{"tweetbot"}, true, false));
        EXPECT_EQ(std::tuple(kCFCoreFoundationVersionNumber, host::RunLoop::main().usesManualClock(), host::EventLog::shared().events().size()),
            std::tuple(1240.10, false, std::size_t(0)));
    }
    host::SimulatedDevice device({.profile = "iphone12"});
    EXPECT_EQ(host::DeviceProfile::current().name, "iphone6s");
    const auto told = host::EventLog::shared().eventsOfKind("diagnostic");
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].field("message"), "unknown device profile \"iphone12\"; using iphone6s");
}

}  // namespace
