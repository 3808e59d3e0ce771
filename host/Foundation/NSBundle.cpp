#include "host/Foundation/NSBundle.h"

#include <algorithm>
#include <mutex>

#include "host/Runtime/PropertyList.h"
#include "host/Runtime/DeviceProfile.h"
#include "host/Runtime/DeviceRoot.h"
#include "host/Runtime/EventLog.h"
#include "host/Runtime/PseudoLanguage.h"
#include "host/Runtime/SimulatedDevice.h"

namespace {

std::mutex& cacheMutex() {
    static std::mutex m;
    return m;
}

std::map<std::string, std::shared_ptr<NSBundle>>& bundleCache() {
    static std::map<std::string, std::shared_ptr<NSBundle>> cache;
    return cache;
}

std::string lowercase(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// "de-DE" and "de_DE" both match a "de" folder; an exact match is preferred.
std::string languageBase(const std::string& tag) { return lowercase(tag.substr(0, tag.find_first_of("-_"))); }

}  // namespace

std::shared_ptr<NSBundle> NSBundle::bundleWithPath(const std::string& devicePath) {
    {
        // Cached paths are normal already: a path found as given needs no normalizing (the
        // localizer asks once for every string it looks up).
        std::lock_guard lock(cacheMutex());
        if (auto it = bundleCache().find(devicePath); it != bundleCache().end()) return it->second;
    }
    auto normal = host::DeviceRoot::normalize(devicePath);
    if (!normal) return nullptr;
    {
        std::lock_guard lock(cacheMutex());
        if (auto it = bundleCache().find(*normal); it != bundleCache().end()) return it->second;
    }
    if (!host::DeviceRoot::isFolder(*normal)) return nullptr;
    auto bundle = std::make_shared<NSBundle>(*normal);
    std::lock_guard lock(cacheMutex());
    return bundleCache().emplace(*normal, std::move(bundle)).first->second;
}

void NSBundle::flushCaches() {
    std::lock_guard lock(cacheMutex());
    bundleCache().clear();
}

namespace {
const host::SimulatedDevice::ResetStep forgetBundles{&NSBundle::flushCaches};
}  // namespace

NSBundle::NSBundle(std::string devicePath) : _path(std::move(devicePath)) {
    if (auto entries = host::DeviceRoot::listFolder(_path)) {
        const auto file = host::DeviceRoot::read(_path + "/Info.plist");
        std::string error = file.bytes ? "not a dictionary" : file.reason();
        std::optional<PlistValue> info;
        if (file.bytes) info = host::PropertyList::parse(*file.bytes, &error);
        if (info && info->isDictionary())
            _info = std::move(*info);
        else if (!file.missing())  // a folder without one is a bundle all the same (a previewed page's folder)
            host::EventLog::shared().diagnostic("bundle " + _path + ": no readable Info.plist (" + error + ")");
        for (const auto& entry : *entries) {
            const auto& name = entry.name;
            if (entry.isFolder && name.size() > 6 && name.ends_with(".lproj") && name != "Base.lproj")
                _localizations.push_back(name.substr(0, name.size() - 6));
        }
    }
}

std::optional<std::string> NSBundle::principalClassName() const { return _info["NSPrincipalClass"].text(); }
std::optional<std::string> NSBundle::executableName() const { return _info["CFBundleExecutable"].text(); }

std::string NSBundle::preferredLocalization() const {
    if (_localizations.empty()) return "";
    const auto has = [&](const std::string& lang) {
        return std::find(_localizations.begin(), _localizations.end(), lang) != _localizations.end();
    };
    // A pseudo-language shows the development language, transformed.
    if (host::PseudoLanguage::current()) return developmentLocalization();
    for (const auto& preferred : host::DeviceProfile::current().preferredLanguages) {
        if (has(preferred)) return preferred;
        for (const auto& lang : _localizations)
            if (languageBase(lang) == languageBase(preferred)) return lang;
    }
    return developmentLocalization();
}

std::string NSBundle::developmentLocalization() const {
    if (_localizations.empty()) return "";
    const auto has = [&](const std::string& lang) {
        return std::find(_localizations.begin(), _localizations.end(), lang) != _localizations.end();
    };
    if (auto region = _info["CFBundleDevelopmentRegion"].text(); region && has(*region)) return *region;
    if (has("en")) return "en";
    return _localizations.front();
}

std::optional<std::string> NSBundle::pathForResource(const std::string& name, const std::string& extension) const {
    const std::string devicePath = _path + "/" + name + (extension.empty() ? "" : "." + extension);
    if (!host::DeviceRoot::exists(devicePath)) return std::nullopt;
    return devicePath;
}

const host::StringsTable::Entries& NSBundle::table(const std::string& name) {
    std::lock_guard lock(cacheMutex());
    auto it = _tables.find(name);
    if (it != _tables.end()) return it->second;
    host::StringsTable::Entries entries;
    // A pseudo-language is made from the development language's table, as it is read.
    const auto pseudo = host::PseudoLanguage::current();
    const std::string language = preferredLocalization();
    if (!language.empty()) {
        const std::string file = _path + "/" + language + ".lproj/" + name + ".strings";
        if (auto bytes = host::DeviceRoot::readFile(file)) {
            std::string diagnostic;
            entries = host::StringsTable::parse(*bytes, &diagnostic);
            if (!diagnostic.empty()) host::EventLog::shared().diagnostic("strings table " + file + ": " + diagnostic);
            if (pseudo) entries = host::PseudoLanguage::transform(*pseudo, entries);
        }
    }
    return _tables.emplace(name, std::move(entries)).first->second;
}

std::string NSBundle::localizedStringForKey(const std::string& key, const std::optional<std::string>& value,
    const std::optional<std::string>& tableName) {
    const std::string name = tableName && !tableName->empty() ? *tableName : "Localizable";
    const auto& entries = table(name);
    if (auto it = entries.find(key); it != entries.end()) return it->second;
    if (value && !value->empty()) return *value;
    return key;
}
