#pragma once
// The pane's shared localizer: single-key lookups in the bundle's strings tables, and in-place
// localization of freshly loaded rows (names, "footerText", title dictionaries).
#include <memory>
#include <optional>
#include <string>

#include "host/Foundation/NSBundle.h"
#include "host/Foundation/NSObject.h"
#include "host/Preferences/PSSpecifier.h"

class KXVelkaroLocalizer : public NSObject {
public:
    // sharedLocalizer: created once, under a once-only guard, and never released.
    static std::shared_ptr<KXVelkaroLocalizer> sharedLocalizer();

    NS_CLASS(KXVelkaroLocalizer)

    // The bundle at the pane's fixed path, fetched anew at every call.
    std::shared_ptr<NSBundle> localizationBundle() const;

    // localizedStringForKey:inTable: and localizedStringForKey: — the table's text for the key,
    // or the key itself.
    std::string localizedStringForKey(const std::string& key, const std::optional<std::string>& table) const;
    std::string localizedStringForKey(const std::string& key) const;

    // localizedSpecifiersForSpecifiers:inTable: and localizedSpecifiersForSpecifiers: — localizes
    // every row in place and returns the very array passed in.
    std::shared_ptr<PSSpecifierArray> localizedSpecifiersForSpecifiers(const std::shared_ptr<PSSpecifierArray>& specifiers,
        const std::optional<std::string>& table) const;
    std::shared_ptr<PSSpecifierArray> localizedSpecifiersForSpecifiers(const std::shared_ptr<PSSpecifierArray>& specifiers) const;

    // loadLocalizedSpecifiersForSpecifiers:intoArray:
    void loadLocalizedSpecifiersForSpecifiers(const std::shared_ptr<PSSpecifierArray>& specifiers,
        std::shared_ptr<PSSpecifierArray>* array) const;

private:
    std::shared_ptr<PSTitleDictionary> localizedTitles(const std::shared_ptr<PSSpecifier>& specifier, bool shortTitles,
        const std::optional<std::string>& table) const;

    static KXVelkaroLocalizer* _sharedSelf;
};
