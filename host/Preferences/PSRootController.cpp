#include "host/Preferences/PSRootController.h"

#include "host/Preferences/PreferenceStore.h"
#include "host/Runtime/EventLog.h"

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
