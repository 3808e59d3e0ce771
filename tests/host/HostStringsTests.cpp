// The host's own texts, read from its tables in the device's preferred language.
#include <gtest/gtest.h>

#include "host/Preferences/HostStrings.h"
#include "host/Runtime/SimulatedDevice.h"

using host::HostStrings;

// Texts in the first preferred language with a table; without the host's bundle a text is its key,
// and the clock keeps the English pattern.
TEST(HostStringsTest, ChromeTextsFollowThePreferredLanguages) {
    using Texts = std::vector<std::string>;  // top page title, back, clock at 9:41 and 21:05, cancel, post, send, the subject caption
    const Texts english{"Settings", "Back", "9:41 AM", "9:05 PM", "Cancel", "Post", "Send", "Subject:"};
    const Texts german{"Einstellungen", "Zurück", "09:41", "21:05", "Abbrechen", "Senden", "Senden", "Betreff:"};
    const Texts french{"Réglages", "Retour", "09:41", "21:05", "Annuler", "Publier", "Envoyer", "Objet :"};
    const struct { std::vector<std::string> languages; const Texts& expected; bool hostBundle = true; } cases[] = {
        {{"en"}, english}, {{"de"}, german}, {{"fr"}, french},
        {{"de-CH"}, german},      // a region of a language
        {{"ja", "fr"}, french},   // the first one with a table
        {{"ja"}, english},        // none: English
        {{"de"}, english, false},
    };
    for (const auto& c : cases) {
        host::SimulatedDevice::Options options{.languages = c.languages};
        if (!c.hostBundle) options.hostResources.clear();
        host::SimulatedDevice device(options);
        EXPECT_EQ((Texts{HostStrings::localized("Settings"), HostStrings::localized("Back"), HostStrings::statusBarTime(9, 41),
                      HostStrings::statusBarTime(21, 5), HostStrings::localized("Cancel"), HostStrings::localized("Post"),
                      HostStrings::localized("Send"), HostStrings::localized("Subject:")}), c.expected)
            << c.languages.front() << (c.hostBundle ? "" : " without the host's bundle");
    }
}

TEST(HostStringsTest, TimePatterns) {
    const struct { const char* pattern; int hour, minute; const char* shown; } cases[] = {
        {"h:mm a", 9, 41, "9:41 AM"}, {"HH:mm", 9, 41, "09:41"}, {"h:mm a", 0, 5, "12:05 AM"},
        {"h:mm a", 12, 0, "12:00 PM"}, {"hh:mm a", 13, 7, "01:07 PM"}, {"H.mm", 0, 9, "0.09"}, {"H:m", 23, 9, "23:9"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HostStrings::formatTime(c.pattern, c.hour, c.minute), c.shown) << c.pattern << " " << c.hour << ":" << c.minute;
}
