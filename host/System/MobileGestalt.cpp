#include "host/System/MobileGestalt.h"

#include "host/Runtime/DeviceProfile.h"

std::optional<std::string> MGCopyAnswer(std::string_view key) {
    const auto& profile = host::DeviceProfile::current();
    if (key == "ProductType") return profile.productType;
    if (key == "ProductVersion") return profile.productVersion;
    if (key == "BuildVersion") return profile.buildVersion;
    return std::nullopt;
}
