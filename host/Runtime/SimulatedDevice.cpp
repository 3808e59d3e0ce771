#include "host/Runtime/SimulatedDevice.h"

#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "host/Runtime/ClassRegistry.h"
#include "host/Runtime/DeviceProfile.h"
#include "host/Runtime/DeviceRoot.h"
#include "host/Runtime/DeviceSeed.h"
#include "host/Runtime/FailureInjection.h"
#include "host/Runtime/RunLoop.h"

namespace host {
namespace {

constexpr const char* kDefaultProfile = "iphone6s";
// Folders every device has, so that preferences and the package listing can be written.
constexpr const char* kDeviceFolders[] = {"/var/mobile/Library/Preferences", "/tmp"};

const SimulatedDevice* inForce = nullptr;

std::vector<void (*)()>& resetSteps() {
    static std::vector<void (*)()> steps;
    return steps;
}

}  // namespace

SimulatedDevice::ResetStep::ResetStep(void (*step)()) { resetSteps().push_back(step); }

#ifndef VELKARO_HOST_RESOURCES
#define VELKARO_HOST_RESOURCES ""
#endif

std::filesystem::path SimulatedDevice::builtInSeed() { return VELKARO_DEVICE_SEED; }
std::filesystem::path SimulatedDevice::builtInHostResources() { return VELKARO_HOST_RESOURCES; }

void SimulatedDevice::resetProcessState() {
    EventLog::shared().setListener(nullptr);
    for (auto step : resetSteps()) step();
    FailureInjection::reset();
    RunLoop::main().reset(0);
    DeviceRoot::uninstall();
    ClassRegistry::shared().setDefaultBundlePath(std::nullopt);
    DeviceProfile::install(*DeviceProfile::builtInNamed(kDefaultProfile));
    EventLog::shared().clear();
}

SimulatedDevice::SimulatedDevice(Options options) : _options(std::move(options)) {
    if (_options.deviceRoot.empty()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "velkaro-device-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::system_error(errno, std::generic_category(), "cannot make a temporary folder for the device");
        _temporary = pattern;
        _options.deviceRoot = _temporary / "device";
    }

    inForce = this;
    resetProcessState();
    auto& log = EventLog::shared();
    log.setListener(_options.listener);
    if (_options.manualClock) RunLoop::main().useManualClock(0);
    else RunLoop::main().useSteadyClock();

    // The device's folders, its seed, the bundle mounted at its device path.
    std::error_code ec;
    _options.deviceRoot = std::filesystem::absolute(_options.deviceRoot, ec);
    std::filesystem::create_directories(_options.deviceRoot, ec);  // this machine's folder, not a device path
    std::string seedError;  // the device's own package database, where it has none yet
    if (!_options.seedDirectory.empty() && !DeviceSeed::plant(_options.seedDirectory, _options.deviceRoot, &seedError))
        log.diagnostic("cannot seed the device: " + seedError);
    DeviceRoot::install(_options.deviceRoot);
    if (!_options.hostResources.empty())
        DeviceRoot::mount(kHostBundlePath, std::filesystem::absolute(_options.hostResources, ec));
    const bool hasBundle = !_options.bundleDirectory.empty() && !_options.bundleDevicePath.empty();
    if (hasBundle) {
        _options.bundleDirectory = std::filesystem::absolute(_options.bundleDirectory, ec);
        DeviceRoot::mount(_options.bundleDevicePath, _options.bundleDirectory);
    }
    for (const char* folder : kDeviceFolders) {
        std::string why;
        if (!DeviceRoot::createFolders(folder, &why))
            log.diagnostic("cannot create the device folder " + std::string(folder) + " in " + _options.deviceRoot.string() +
                           ": " + why + "; nothing can be stored");
    }
    if (hasBundle) ClassRegistry::shared().setDefaultBundlePath(_options.bundleDevicePath);

    const DeviceProfile* builtIn = DeviceProfile::builtInNamed(_options.profile);
    DeviceProfile profile = builtIn ? *builtIn : *DeviceProfile::builtInNamed(kDefaultProfile);
    if (!_options.languages.empty()) profile.preferredLanguages = _options.languages;
    if (_options.installedSchemes) profile.installedURLSchemes = *_options.installedSchemes;
    if (_options.twitterAccount) profile.hasTwitterAccount = *_options.twitterAccount;
    if (_options.mailAccount) profile.hasMailAccount = *_options.mailAccount;
    DeviceProfile::install(profile);
    if (!builtIn) log.diagnostic("unknown device profile \"" + _options.profile + "\"; using " + kDefaultProfile);
}

SimulatedDevice::~SimulatedDevice() {
    if (inForce == this) {
        resetProcessState();
        inForce = nullptr;
    }
    std::error_code ec;
    if (!_temporary.empty()) std::filesystem::remove_all(_temporary, ec);
}

}  // namespace host
