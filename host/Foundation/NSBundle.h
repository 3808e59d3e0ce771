#pragma once
// A bundle on the device: its Info.plist, its localizations and their strings tables. Bundles
// are cached by path, and each table is read once, as on the platform.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/Foundation/NSObject.h"
#include "host/Foundation/PlistObject.h"
#include "host/Runtime/StringsTable.h"

class NSBundle : public NSObject {
public:
    // bundleWithPath: the bundle at a device path, or nullptr when no such folder exists there.
    static std::shared_ptr<NSBundle> bundleWithPath(const std::string& devicePath);
    // Forgets every cached bundle and table (a new device profile or a changed file).
    static void flushCaches();

    NS_CLASS(NSBundle)

    const std::string& bundlePath() const { return _path; }
    const PlistValue& infoDictionary() const { return _info; }
    std::optional<std::string> principalClassName() const;
    std::optional<std::string> executableName() const;

    // The language folders present ("en", "de", ...), "Base" excluded, sorted.
    const std::vector<std::string>& localizations() const { return _localizations; }
    // The localization chosen for the device's preferred languages; "" when the bundle has none.
    std::string preferredLocalization() const;
    // The development region's folder when the bundle has it, else "en", else the first; "" when
    // the bundle has none.
    std::string developmentLocalization() const;

    // pathForResource:ofType: in the bundle's top folder; the device path, or nothing.
    std::optional<std::string> pathForResource(const std::string& name, const std::string& extension) const;

    // localizedStringForKey:value:table: — nil or empty table means "Localizable". A key found
    // gives its text; a missing key gives `value`, or the key itself when value is nil or "".
    std::string localizedStringForKey(const std::string& key, const std::optional<std::string>& value,
        const std::optional<std::string>& table);

    explicit NSBundle(std::string devicePath);

private:
    const host::StringsTable::Entries& table(const std::string& name);

    std::string _path;
    PlistValue _info;
    std::vector<std::string> _localizations;
    std::map<std::string, host::StringsTable::Entries> _tables;
};
