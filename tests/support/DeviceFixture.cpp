#include "tests/support/DeviceFixture.h"

#include <fstream>

#include "host/Foundation/NSBundle.h"
#include "host/Preferences/PSRootController.h"
#include "host/Runtime/DeviceProfile.h"
#include "host/Runtime/DeviceRoot.h"
#include "host/Runtime/RunLoop.h"

void DeviceFixture::SetUp() { freshDevice(); }

void DeviceFixture::TearDown() { _device.reset(); }

void DeviceFixture::freshDevice() {
    _device.reset();
    _device.emplace(host::SimulatedDevice::Options{.bundleDirectory = VELKARO_STAGED_BUNDLE, .bundleDevicePath = kBundlePath});
    root = _device->root();
    temp = _device->temporaryFolder();
    ASSERT_EQ(diagnostics(), std::vector<std::string>{}) << "the device is not set up whole";
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
    const auto copy = temp / "Velkaro.bundle";
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
    if (PSRootController::nestsBundlePages()) {
        inner = std::make_shared<UINavigationController>();
        inner->setNavigationBarHidden(true);
        rootController->pushViewController(inner, false);
    }
    inner->pushViewController(page, false);
    return rootController;
}
