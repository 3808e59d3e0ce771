#pragma once
// Stored preferences: one property-list file per defaults domain, at the device path
// /var/mobile/Library/Preferences/<domain>.plist, each replaced whole and atomically.
#include <optional>
#include <string>

#include "host/Foundation/PlistValue.h"

namespace host {

class PreferenceStore {
public:
    static std::string devicePathForDomain(const std::string& domain);

    // The domain's stored dictionary; empty when nothing is stored or the file is unreadable
    // (an unreadable file is reported to the event log).
    static PlistValue::Dictionary read(const std::string& domain);
    static PlistValue valueForKey(const std::string& domain, const std::string& key);

    // Stores `value` under `key`, rewriting the domain's file atomically. False, with a
    // diagnostic in the event log, when it could not be written: nothing is then claimed stored.
    // A nil value removes the key.
    static bool setValue(const std::string& domain, const std::string& key, const PlistValue& value);
};

}  // namespace host
