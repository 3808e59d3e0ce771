#include "localization/KXVelkaroLocalizer.h"

#include "host/System/Dispatch.h"

namespace {
// Made once: the bundle is looked up by this path for every string.
const std::string kBundlePath = "/Library/PreferenceBundles/Velkaro.bundle";
}  // namespace

KXVelkaroLocalizer* KXVelkaroLocalizer::_sharedSelf = nullptr;

std::shared_ptr<KXVelkaroLocalizer> KXVelkaroLocalizer::sharedLocalizer() {
    static dispatch_once_t onceToken;
    // Never released: the instance lives until the process ends.
    static std::shared_ptr<KXVelkaroLocalizer>* keeper = nullptr;
    dispatch_once(&onceToken, [] {
        keeper = new std::shared_ptr<KXVelkaroLocalizer>(std::make_shared<KXVelkaroLocalizer>());
        _sharedSelf = keeper->get();
    });
    return *keeper;
}

std::shared_ptr<NSBundle> KXVelkaroLocalizer::localizationBundle() const { return NSBundle::bundleWithPath(kBundlePath); }

std::string KXVelkaroLocalizer::localizedStringForKey(const std::string& key, const std::optional<std::string>& table) const {
    auto bundle = localizationBundle();
    // A bundle that cannot be opened answers like a bundle without the entry: the key itself.
    if (!bundle) return key;
    return bundle->localizedStringForKey(key, std::string(""), table);
}

std::string KXVelkaroLocalizer::localizedStringForKey(const std::string& key) const {
    return localizedStringForKey(key, std::nullopt);
}

std::shared_ptr<PSTitleDictionary> KXVelkaroLocalizer::localizedTitles(const std::shared_ptr<PSSpecifier>& specifier,
    bool shortTitles, const std::optional<std::string>& table) const {
    const auto current = [&] { return shortTitles ? specifier->shortTitleDictionary() : specifier->titleDictionary(); };
    if (!current()) return nullptr;
    auto localized = std::make_shared<PSTitleDictionary>();
    const std::size_t count = current()->size();
    for (std::size_t k = 0; k < count; ++k) {
        // Each title is read from the row's dictionary anew; the key is copied unchanged.
        const auto& [key, title] = (*current())[k];
        localized->emplace_back(key, localizedStringForKey(title, table));
    }
    return localized;
}

std::shared_ptr<PSSpecifierArray> KXVelkaroLocalizer::localizedSpecifiersForSpecifiers(
    const std::shared_ptr<PSSpecifierArray>& specifiers, const std::optional<std::string>& table) const {
    if (!specifiers) return specifiers;
    for (const auto& specifier : *specifiers) {
        if (!specifier) continue;
        if (const auto& name = specifier->name()) specifier->setName(localizedStringForKey(*name, table));
        if (const std::string* footer = specifier->propertyForKey("footerText").string())
            specifier->setProperty(localizedStringForKey(*footer, table), "footerText");
        if (auto titles = localizedTitles(specifier, false, table)) specifier->setTitleDictionary(titles);
        if (auto titles = localizedTitles(specifier, true, table)) specifier->setShortTitleDictionary(titles);
    }
    return specifiers;
}

std::shared_ptr<PSSpecifierArray> KXVelkaroLocalizer::localizedSpecifiersForSpecifiers(
    const std::shared_ptr<PSSpecifierArray>& specifiers) const {
    return localizedSpecifiersForSpecifiers(specifiers, std::nullopt);
}

void KXVelkaroLocalizer::loadLocalizedSpecifiersForSpecifiers(const std::shared_ptr<PSSpecifierArray>& specifiers,
    std::shared_ptr<PSSpecifierArray>* array) const {
    if (array) *array = localizedSpecifiersForSpecifiers(specifiers);
}
