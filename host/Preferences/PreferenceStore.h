#pragma once
// Stored preferences: one property-list file per defaults domain, at the device path
// /var/mobile/Library/Preferences/<domain>.plist, each replaced whole and atomically. Stores of
// one domain, from any process on the same device root, take turns on a lock file beside it
// (".<domain>.plist.lock"), so none loses another's key.
#include <optional>
#include <string>

#include "host/Foundation/PlistObject.h"

namespace host {

class PreferenceStore {
public:
    static constexpr const char* kFolder = "/var/mobile/Library/Preferences";
    static std::string devicePathForDomain(const std::string& domain);

    // The domain's stored dictionary; empty when nothing is stored, or when the file cannot be
    // read (which is reported to the event log).
    static PlistValue::Dictionary read(const std::string& domain);
    static PlistValue valueForKey(const std::string& domain, const std::string& key);

    // Stores `value` under `key`, rewriting the domain's file atomically. False, with one
    // diagnostic in the event log, when it could not be written: nothing is then claimed stored.
    // An existing file that cannot be read or parsed is never written over. A nil value removes
    // the key. Temporary files of earlier stores that were killed are removed.
    static bool setValue(const std::string& domain, const std::string& key, const PlistValue& value);
};

}  // namespace host
