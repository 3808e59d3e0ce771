#include "host/Preferences/PSRootController.h"

#include "host/Preferences/PreferenceStore.h"
#include "host/Runtime/DeviceProfile.h"
#include "host/Runtime/EventLog.h"

namespace {
// The Core Foundation versions of releases 8.0 and 9.0 (compared as doubles: as a float, 8.0's
// value rounds below itself).
constexpr double kCoreFoundationVersion8_0 = 1140.10;
constexpr double kCoreFoundationVersion9_0 = 1240.10;
}  // namespace

bool PSRootController::nestsBundlePages() {
    return kCFCoreFoundationVersionNumber >= kCoreFoundationVersion8_0 && kCFCoreFoundationVersionNumber <= kCoreFoundationVersion9_0;
}

bool PSRootController::setPreferenceValue(const PlistValue& value, const std::shared_ptr<PSSpecifier>& specifier) {
    if (!specifier) return false;
    const auto domain = specifier->propertyForKey("defaults").text();
    const auto key = specifier->propertyForKey("key").text();
    if (!domain || !key) {
        host::EventLog::shared().diagnostic("row \"" + specifier->name().value_or("") +
                                            "\" has no \"defaults\" or \"key\": its value is not stored");
        return false;
    }
    return host::PreferenceStore::setValue(*domain, *key, value);
}

PlistValue PSRootController::readPreferenceValue(const std::shared_ptr<PSSpecifier>& specifier) {
    if (!specifier) return {};
    const auto domain = specifier->propertyForKey("defaults").text();
    const auto key = specifier->propertyForKey("key").text();
    if (domain && key) {
        PlistValue stored = host::PreferenceStore::valueForKey(*domain, *key);
        if (!stored.isNil()) return stored;
    }
    return specifier->propertyForKey("default");
}
