#include "host/Runtime/DeviceProfile.h"

double kCFCoreFoundationVersionNumber = 1242.13;

namespace host {
namespace {

DeviceProfile make(std::string name, std::string displayName, long idiom, double cf, std::string type,
    std::string version, std::string build, CGSize screen) {
    DeviceProfile p;
    p.name = std::move(name);
    p.displayName = std::move(displayName);
    p.userInterfaceIdiom = idiom;
    p.coreFoundationVersion = cf;
    p.productType = std::move(type);
    p.productVersion = std::move(version);
    p.buildVersion = std::move(build);
    p.screenSize = screen;
    return p;
}

DeviceProfile& currentProfile() {
    static DeviceProfile profile = DeviceProfile::builtIn()[1];
    return profile;
}

}  // namespace

std::vector<DeviceProfile> DeviceProfile::builtIn() {
    return {
        make("iphone6", "iPhone 6", 0, 1145.15, "iPhone7,2", "8.4", "12H143", {375, 667}),
        make("iphone6s", "iPhone 6s", 0, 1242.13, "iPhone8,1", "9.3.5", "13G36", {375, 667}),
        make("ipad-air2", "iPad Air 2", 1, 1240.10, "iPad5,3", "9.0.2", "13A452", {768, 1024}),
        make("iphone7", "iPhone 7", 0, 1349.56, "iPhone9,1", "10.3.3", "14G60", {375, 667}),
    };
}

const DeviceProfile* DeviceProfile::builtInNamed(const std::string& name) {
    static const std::vector<DeviceProfile> profiles = builtIn();
    for (const auto& p : profiles)
        if (p.name == name) return &p;
    return nullptr;
}

const DeviceProfile& DeviceProfile::current() { return currentProfile(); }
DeviceProfile& DeviceProfile::mutableCurrent() { return currentProfile(); }

void DeviceProfile::install(DeviceProfile profile) {
    currentProfile() = std::move(profile);
    kCFCoreFoundationVersionNumber = currentProfile().coreFoundationVersion;
}

}  // namespace host
