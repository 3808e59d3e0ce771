#include "host/Preferences/PreferenceStore.h"

#include <filesystem>

#include "host/Foundation/AtomicFile.h"
#include "host/Foundation/PropertyList.h"
#include "host/System/DeviceRoot.h"
#include "host/System/EventLog.h"

namespace host {

std::string PreferenceStore::devicePathForDomain(const std::string& domain) {
    return "/var/mobile/Library/Preferences/" + domain + ".plist";
}

PlistValue::Dictionary PreferenceStore::read(const std::string& domain) {
    if (domain.empty() || domain.find('/') != std::string::npos) return {};
    auto bytes = DeviceRoot::readFile(devicePathForDomain(domain));
    if (!bytes) return {};
    std::string error;
    auto value = PropertyList::parse(*bytes, &error);
    if (!value || !value->isDictionary()) {
        EventLog::shared().diagnostic("preferences of " + domain + " are unreadable: " +
                                      (error.empty() ? "not a dictionary" : error));
        return {};
    }
    return *value->dictionary();
}

PlistValue PreferenceStore::valueForKey(const std::string& domain, const std::string& key) {
    auto values = read(domain);
    auto it = values.find(key);
    return it == values.end() ? PlistValue() : it->second;
}

bool PreferenceStore::setValue(const std::string& domain, const std::string& key, const PlistValue& value) {
    auto fail = [&](const std::string& why) {
        EventLog::shared().diagnostic("could not store " + key + " in " + domain + ": " + why);
        return false;
    };
    if (domain.empty() || domain.find('/') != std::string::npos) return fail("invalid defaults domain");
    if (key.empty()) return fail("the row has no key");
    auto path = DeviceRoot::resolve(devicePathForDomain(domain));
    if (!path) return fail("no device root");
    std::error_code ec;
    std::filesystem::create_directories(path->parent_path(), ec);
    PlistValue::Dictionary values;
    if (auto bytes = DeviceRoot::readFile(devicePathForDomain(domain))) {
        auto stored = PropertyList::parse(*bytes);
        if (stored && stored->isDictionary()) {
            values = std::move(*stored->dictionary());
        } else {
            // Keep the unreadable file beside the new one rather than writing over it.
            const auto aside = path->string() + ".unreadable";
            std::filesystem::rename(*path, aside, ec);
            EventLog::shared().diagnostic("preferences of " + domain + " were unreadable; kept as " +
                                          std::filesystem::path(aside).filename().string() + " and started afresh");
        }
    }
    if (value.isNil()) values.erase(key);
    else values.insert_or_assign(key, value);
    std::string error;
    if (!writeFileAtomically(*path, PropertyList::serialize(PlistValue(std::move(values)), PropertyList::Format::XML), &error))
        return fail(error);
    EventLog::shared().record("preference", {{"domain", domain}, {"key", key}, {"value", value.description()}});
    return true;
}

}  // namespace host
