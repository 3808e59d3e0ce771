#include "tests/support/DeviceFixture.h"

#include <cstdlib>
#include <fstream>

#include "host/CoreFoundation/CFNotificationCenter.h"
#include "host/Runtime/ClassRegistry.h"
#include "host/Foundation/NSBundle.h"
#include "host/Runtime/RunLoop.h"
#include "host/Preferences/PSRootController.h"
#include "host/Runtime/DeviceProfile.h"
#include "host/Runtime/DeviceRoot.h"
#include "host/Runtime/DeviceSeed.h"
#include "host/Runtime/FailureInjection.h"
#include "host/UIKit/UIAlertView.h"
#include "host/UIKit/UIApplication.h"
#include "host/UIKit/UISwitch.h"
#include "pages/KXVelkaroListController.h"

void DeviceFixture::SetUp() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velkaro-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    _temp = pattern;
    root = _temp / "device";
    std::filesystem::create_directories(root / "var/mobile/Library/Preferences");
    std::filesystem::create_directories(root / "tmp");
    std::string seedError;
    ASSERT_TRUE(host::DeviceSeed::plant(VELKARO_SOURCE_DIR "/simulator/device", root, &seedError)) << seedError;
    host::RunLoop::main().reset(0);
    host::DeviceRoot::install(root);
    host::DeviceRoot::mount(kBundlePath, VELKARO_STAGED_BUNDLE);
    host::ClassRegistry::shared().setDefaultBundlePath(std::string(kBundlePath));
    useProfile("iphone6s");
    host::EventLog::shared().clear();
    host::EventLog::shared().setListener(nullptr);
    host::FailureInjection::reset();
    UIApplication::sharedApplication()->reset();
    UIAlertView::dismissAll();
    UISwitch::resetAppearance();
    CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetDarwinNotifyCenter());
}

void DeviceFixture::TearDown() {
    host::RunLoop::main().reset(0);
    UIAlertView::dismissAll();
    NSBundle::flushCaches();
    host::DeviceRoot::uninstall();
    std::error_code ec;
    std::filesystem::remove_all(_temp, ec);
}

void DeviceFixture::useProfile(const std::string& name) {
    const auto* profile = host::DeviceProfile::builtInNamed(name);
    ASSERT_NE(profile, nullptr) << name;
    host::DeviceProfile::install(*profile);
    NSBundle::flushCaches();
}

void DeviceFixture::advance(double seconds) { host::RunLoop::main().advance(seconds); }

std::vector<host::Event> DeviceFixture::events(const std::string& kind) const {
    return host::EventLog::shared().eventsOfKind(kind);
}

std::vector<std::string> DeviceFixture::diagnostics() const {
    std::vector<std::string> out;
    for (const auto& e : events("diagnostic")) out.push_back(e.field("message"));
    return out;
}

std::filesystem::path DeviceFixture::hostPath(const std::string& devicePath) const {
    auto path = host::DeviceRoot::hostPathForDisplay(devicePath);
    return path ? *path : std::filesystem::path();
}

std::filesystem::path DeviceFixture::useWritableBundleCopy() {
    const auto copy = _temp / "Velkaro.bundle";
    std::filesystem::copy(VELKARO_STAGED_BUNDLE, copy, std::filesystem::copy_options::recursive);
    host::DeviceRoot::mount(kBundlePath, copy);
    NSBundle::flushCaches();
    return copy;
}

void DeviceFixture::writeFile(const std::string& devicePath, const std::string& bytes) const {
    const auto path = hostPath(devicePath);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::shared_ptr<PSRootController> DeviceFixture::showPage(const std::shared_ptr<UIViewController>& page) {
    auto rootController = std::make_shared<PSRootController>();
    std::shared_ptr<UINavigationController> inner = rootController;
    if (KXVelkaroListController::isNestedBarRange(kCFCoreFoundationVersionNumber)) {
        inner = std::make_shared<UINavigationController>();
        inner->setNavigationBarHidden(true);
        rootController->pushViewController(inner, false);
    }
    inner->pushViewController(page, false);
    return rootController;
}
