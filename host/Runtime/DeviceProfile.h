#pragma once
// The facts of the simulated device: what it is, which system it runs, what is installed and set
// up on it. The simulator picks one on its command line; tests install the one they need.
#include <set>
#include <string>
#include <vector>

#include "host/CoreGraphics/CGGeometry.h"

namespace host {

struct DeviceProfile {
    std::string name;                  // "iphone6s"
    std::string displayName;           // "iPhone 6s"
    long userInterfaceIdiom = 0;       // 0 phone, 1 pad
    bool answersIdiomQuery = true;     // false: UIDevice does not respond to userInterfaceIdiom
    double coreFoundationVersion = 1242.13;
    std::string productType = "iPhone8,1";
    std::string productVersion = "9.3.5";
    std::string buildVersion = "13G36";
    CGSize screenSize{375, 667};       // points
    CGFloat screenScale = 2;
    std::set<std::string> installedURLSchemes{"https", "http", "mailto"};
    bool hasTwitterAccount = false;    // the share sheet's service is available
    bool hasMailAccount = true;
    std::string mailAccount = "mobile@device.local";
    std::vector<std::string> preferredLanguages{"en"};

    // The built-in profiles: "iphone6" (8.4), "iphone6s" (9.3.5), "ipad-air2" (9.0.2) and
    // "iphone7" (10.3.3, outside the nested-bar range).
    static std::vector<DeviceProfile> builtIn();
    static const DeviceProfile* builtInNamed(const std::string& name);

    // The profile in force; installing one also sets kCFCoreFoundationVersionNumber.
    static const DeviceProfile& current();
    static void install(DeviceProfile profile);
    static DeviceProfile& mutableCurrent();
};

}  // namespace host

// The platform's global Core Foundation version number (a double, compared as a double).
extern double kCFCoreFoundationVersionNumber;
