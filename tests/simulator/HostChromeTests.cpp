// The host's bar, back button and sheet and composer buttons in the device's language, and the
// back button's rule: the previous title when it fits, else "Back", else the chevron alone.
#include "host/Runtime/SimulatedDevice.h"
#include "host/UIKit/TextMetrics.h"
#include "simulator/BackButton.h"
#include "simulator/ScreenDump.h"
#include "tests/simulator/SimulatorFixture.h"

class HostChromeTest : public SimulatorFixture {
protected:
    std::string barItems() const {
        const std::string dump = sim::ScreenDump::describe(*app);
        const auto start = dump.find("bar items:");
        return dump.substr(start, dump.find('\n', start) - start);
    }
};

TEST(BackButtonTest, PreviousTitleElseBackElseChevron) {
    host::SimulatedDevice device({.languages = {"de"}});
    const auto tenPerByte = [](const std::string& text) { return 10.0 * static_cast<double>(text.size()); };
    const CGFloat x = sim::BackButton::kTextX;
    const struct { const char* previous; CGFloat room; const char* text; CGFloat width; } cases[] = {
        {"Konfiguration", 200, "Konfiguration", x + 130 + 6},
        {"Konfiguration", 130, "Konfiguration", x + 130 + 6},  // exactly fits
        {"Konfiguration", 129, "Zurück", x + 70 + 6},          // "Zurück" is 7 bytes
        {"", 200, "Zurück", x + 70 + 6},                       // an untitled page
        {"Konfiguration", 69, "", x},                          // the chevron alone
    };
    for (const auto& c : cases) {
        const auto button = sim::BackButton::choose(c.previous, c.room, tenPerByte);
        EXPECT_EQ(button.text, c.text) << c.previous << " in " << c.room;
        EXPECT_DOUBLE_EQ(button.width, c.width) << c.previous << " in " << c.room;
    }
}

TEST_F(HostChromeTest, BarSheetAndComposerInEachLanguage) {
    const struct { const char *language, *settings, *back, *configuration, *mailRow; std::vector<std::string> sheet, composer; } cases[] = {
        {"en", "Settings", "Back", "Configuration", "Email Support", {"Cancel", "Post"}, {"Cancel", "Send"}},
        {"de", "Einstellungen", "Zurück", "Konfiguration", "Support per E-Mail", {"Abbrechen", "Senden"}, {"Abbrechen", "Senden"}},
        {"fr", "Réglages", "Retour", "Configuration", "Assistance par e-mail", {"Annuler", "Publier"}, {"Annuler", "Envoyer"}},
    };
    const auto titles = [](const std::vector<sim::SettingsApp::Hotspot>& buttons) {
        std::vector<std::string> out;
        for (const auto& b : buttons) out.push_back(b.title);
        return out;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        restart([&](sim::SettingsApp::Options& o) {
            o.languages = {c.language};
            o.twitterAccount = true;
        });
        EXPECT_EQ(barItems(), "bar items: title \"" + std::string(c.settings) + "\";");
        ASSERT_TRUE(app->openBundleEntry());
        EXPECT_TRUE(barItems().starts_with("bar items: back \"" + std::string(c.settings) + "\";")) << barItems();

        // The sheet's confirming button is told by its place, whatever it reads: it posts.
        ASSERT_TRUE(app->tapRightBarButton());
        const auto sheet = app->presentedButtons();
        ASSERT_EQ(titles(sheet), c.sheet);
        ASSERT_TRUE(app->tapAt({sheet[1].frame.midX(), sheet[1].frame.midY()}));
        advance(1);
        EXPECT_TRUE(!events("sheet").empty() && events("sheet").back().field("state") == "sent") << "the sheet posted";

        tap(c.mailRow);
        EXPECT_EQ(titles(app->presentedButtons()), c.composer);
        ASSERT_TRUE(app->finishMail(false));

        // The root page is untitled: its child's back button reads "Back".
        tap(c.configuration);
        EXPECT_TRUE(barItems().starts_with("bar items: back \"" + std::string(c.back) + "\";")) << barItems();
        // The button ends a little after its text: a tap just past that is not a tap on it.
        const CGFloat end = sim::BackButton::kTextX + 6 +
            host::TextMetrics::sizeOfText(c.back, UIFont::systemFontOfSize(sim::BackButton::kFontSize)).width;
        EXPECT_FALSE(app->tapAt({end + 2, 40}));
        EXPECT_TRUE(app->tapAt({end - 2, 40}));
    }
}
