// The host's own texts, read from its tables in the device's preferred language.
#include <gtest/gtest.h>

#include "host/Preferences/HostStrings.h"
#include "host/Runtime/SimulatedDevice.h"

using host::HostStrings;

TEST(HostStringsTest, ChromeTextsFollowThePreferredLanguages) {
    struct Case {
        std::vector<std::string> languages;
        const char *settings, *back, *clock, *cancel, *post, *send;
    };
    const Case cases[] = {
        {{"en"}, "Settings", "Back", "9:41 AM", "Cancel", "Post", "Send"},
        {{"de"}, "Einstellungen", "Zurück", "09:41", "Abbrechen", "Senden", "Senden"},
        {{"fr"}, "Réglages", "Retour", "09:41", "Annuler", "Publier", "Envoyer"},
        {{"de-CH"}, "Einstellungen", "Zurück", "09:41", "Abbrechen", "Senden", "Senden"},  // a region of a language
        {{"ja", "fr"}, "Réglages", "Retour", "09:41", "Annuler", "Publier", "Envoyer"},     // the first one with a table
        {{"ja"}, "Settings", "Back", "9:41 AM", "Cancel", "Post", "Send"},                  // none: English
    };
    for (const auto& c : cases) {
        host::SimulatedDevice::Options options;
        options.languages = c.languages;
        host::SimulatedDevice device(options);
        SCOPED_TRACE(c.languages.front());
        EXPECT_EQ(HostStrings::localized("Settings"), c.settings);
        EXPECT_EQ(HostStrings::localized("Back"), c.back);
        EXPECT_EQ(HostStrings::statusBarTime(9, 41), c.clock);
        EXPECT_EQ(HostStrings::localized("Cancel"), c.cancel);
        EXPECT_EQ(HostStrings::localized("Post"), c.post);
        EXPECT_EQ(HostStrings::localized("Send"), c.send);
    }
}

// Without the host's bundle a text is its key, and the clock keeps the English pattern.
TEST(HostStringsTest, WithoutTheTablesTheKeysShow) {
    host::SimulatedDevice::Options options;
    options.languages = {"de"};
    options.hostResources.clear();
    host::SimulatedDevice device(options);
    EXPECT_EQ(HostStrings::localized("Settings"), "Settings");
    EXPECT_EQ(HostStrings::statusBarTime(21, 5), "9:05 PM");
}

TEST(HostStringsTest, TimePatterns) {
    struct Case {
        const char* pattern;
        int hour, minute;
        const char* shown;
    };
    const Case cases[] = {
        {"h:mm a", 9, 41, "9:41 AM"}, {"HH:mm", 9, 41, "09:41"}, {"h:mm a", 0, 5, "12:05 AM"},
        {"h:mm a", 12, 0, "12:00 PM"}, {"hh:mm a", 13, 7, "01:07 PM"}, {"H.mm", 0, 9, "0.09"}, {"H:m", 23, 9, "23:9"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HostStrings::formatTime(c.pattern, c.hour, c.minute), c.shown) << c.pattern << " " << c.hour << ":" << c.minute;
}
