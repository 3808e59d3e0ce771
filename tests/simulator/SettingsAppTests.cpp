// The Settings application's navigation and hit-testing, and how it copes with a bundle that
// cannot be loaded or whose resources are broken.
#include "host/UIKit/UIAlertView.h"
#include "simulator/ModalLayout.h"
#include "simulator/NumberPad.h"
#include "tests/simulator/SimulatorFixture.h"

class SettingsAppTest : public SimulatorFixture {};

// Taps at screen points reach the same things as the named actions.
TEST_F(SettingsAppTest, TapsAtPointsHitBarsRowsValueButtonsAndAlertButtons) {
    open();
    const CGFloat width = app->screenSize().width;
    const auto screenPoint = [&](NSIndexPath path, CGFloat x) {
        const auto table = app->visiblePage()->table();
        const auto cell = table->cellForRowAtIndexPath(path);
        EXPECT_TRUE(cell);
        return CGPoint{x, (cell ? cell->frame() : CGRectZero).midY() + sim::ScreenLayout::kContentTop - table->contentOffset()};
    };
    ASSERT_TRUE(app->tapAt(screenPoint(rowOf("Configuration"), 40)));
    ASSERT_EQ(app->visiblePage()->className(), "KXVelkaroConfigurationListController");

    // The right end of a slider row is its value button; the rest of the row is the slider.
    const auto radius = rowOf("Corner radius");
    app->tapAt(screenPoint(radius, width / 2));
    EXPECT_FALSE(app->topAlert());
    ASSERT_TRUE(app->tapAt(screenPoint(radius, width - 10)));
    ASSERT_TRUE(app->topAlert());

    // While the alert shows, nothing behind it answers; the number pad's keys and its buttons do.
    EXPECT_FALSE(app->tapAt({20, 40}));
    const auto layout = sim::ModalLayout::alert(*app->topAlert(), app->screenSize());
    int tapped = 0;
    for (const std::string label : {"5", "7", sim::NumberPad::kDelete.c_str()})
        for (const auto& k : sim::NumberPad::keys(sim::NumberPad::padFrame(layout), UIKeyboardTypeNumberPad))
            if (k.label == label) tapped += app->tapAt({k.frame.midX(), k.frame.midY()});
    EXPECT_EQ(tapped, 3);
    EXPECT_EQ(app->fieldText(), "5");
    const auto buttons = app->alertButtons();
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons[1].title, "Enter");
    ASSERT_TRUE(app->tapAt({buttons[1].frame.midX(), buttons[1].frame.midY()}));
    EXPECT_FALSE(app->topAlert());
    EXPECT_NEAR(*stored("cornerRadius").number(), 5, 1e-6);

    // A switch answers on its own area only, and posts at once (the value's post is still due).
    const auto artwork = rowOf("Show artwork");
    EXPECT_FALSE(app->tapAt(screenPoint(artwork, 40)));
    ASSERT_TRUE(app->tapAt(screenPoint(artwork, width - 40)));
    EXPECT_EQ(stored("showArtwork"), PlistValue(false));
    EXPECT_EQ(events("notification").size(), 1u);

    // The bar: back at the left, nothing in the middle.
    EXPECT_FALSE(app->tapAt({width / 2, 40}));
    ASSERT_TRUE(app->tapAt({20, 40}));
    EXPECT_EQ(app->visiblePage()->className(), "VelkaroListController");
}

// A pad has no number pad: its keyboard's numbers page types "-" and ".", also where a touch
// lands in the gap beside a key; Return answers the pop-up; hide-keyboard ends the editing until
// the field is tapped again.
TEST_F(SettingsAppTest, ThePadsKeyboardTypesSignAndPointReturnsAndHides) {
    options.profile = "ipad-air2";
    open();
    tap("Configuration");
    ASSERT_TRUE(app->tapValueButton(rowOf("Artwork offset")));
    auto layout = sim::ModalLayout::alert(*app->topAlert(), app->screenSize());
    EXPECT_EQ(layout.keyboard, CGRectMake(0, 1024 - sim::NumberPad::kPadKeyboardHeight, 768, sim::NumberPad::kPadKeyboardHeight));
    const auto keys = sim::NumberPad::keys(sim::NumberPad::padFrame(layout), UIKeyboardTypeNumberPad);
    const auto key = [&](const std::string& label) {
        for (const auto& k : keys)
            if (k.label == label) return k.frame;
        ADD_FAILURE() << "no key " << label;
        return CGRectZero;
    };
    const auto centre = [&](const std::string& label) { return CGPoint{key(label).midX(), key(label).midY()}; };
    const CGPoint taps[] = {
        centre("-"), centre("1"), {key("2").maxX() + 2, key("2").midY()},  // in the gap after the 2
        centre("."), {key("5").midX(), key("5").minY() - 2}, centre("7"), centre(sim::NumberPad::kDelete),
    };
    for (const auto& p : taps) EXPECT_TRUE(app->tapAt(p)) << p.x << "," << p.y;
    EXPECT_EQ(app->fieldText(), "-12.5");
    EXPECT_FALSE(app->tapAt(centre("ABC"))) << "the letters page is not simulated";

    ASSERT_TRUE(app->tapAt(centre(sim::NumberPad::kReturn)));
    EXPECT_FALSE(app->topAlert());
    EXPECT_NEAR(*stored("artworkOffset").number(), -12.5, 1e-6);

    ASSERT_TRUE(app->tapValueButton(rowOf("Corner radius")));
    ASSERT_TRUE(app->tapAt(centre(sim::NumberPad::kHide)));
    auto field = app->topAlert()->textFieldAtIndex(0);
    EXPECT_FALSE(field->isFirstResponder());
    layout = sim::ModalLayout::alert(*app->topAlert(), app->screenSize());
    EXPECT_EQ(layout.keyboard, CGRectZero);
    ASSERT_TRUE(app->tapAt({layout.field.midX(), layout.field.midY()}));
    EXPECT_TRUE(field->isFirstResponder());
}

// A bundle whose module is missing or not a module still gives the Settings page, with the reason.
TEST_F(SettingsAppTest, UnloadableModuleLeavesTheTopPageWithAReason) {
    for (const auto& [module, reason] : {std::pair{"", "module"}, {"not a shared object", "cannot load"}}) {
        const auto bundle = writableBundle();
        if (*module) writeFile(bundle / "Velkaro", module);
        else std::filesystem::remove(bundle / "Velkaro");
        std::string error;
        EXPECT_FALSE(start(&error));
        EXPECT_NE(error.find(reason), std::string::npos) << error;
        EXPECT_EQ(app->visibleController(), app->topPage());
        EXPECT_FALSE(app->openBundleEntry());
        EXPECT_EQ(app->note(), error);
        EXPECT_NE(diagnostics().find(error), std::string::npos);
    }
}

// A page list that cannot be read still gives a page to open, and the application goes on. (What
// the loader, the logo and the strings make of broken files is checked with each.)
TEST_F(SettingsAppTest, UnreadablePageListStillOpensAnEmptyPage) {
    writeFile(writableBundle() / "VelkaroConfiguration.plist", "<plist><dict><key>items</key><array>");
    open();
    tap("Configuration");
    EXPECT_EQ(app->visiblePage()->className(), "KXVelkaroConfigurationListController");
    EXPECT_TRUE(app->visiblePage()->table()->sections().empty());
    EXPECT_NE(diagnostics().find("VelkaroConfiguration.plist"), std::string::npos) << diagnostics();
    EXPECT_TRUE(app->goBack());
}

// A language of the bundle is chosen from the preferred languages given on the command line.
TEST_F(SettingsAppTest, PreferredLanguageLocalizesThePages) {
    options.languages = {"de"};
    open();
    EXPECT_FALSE(app->rowTitled("Configuration"));
    tap("Konfiguration");
    EXPECT_EQ(app->visibleController()->navigationItem()->title(), "Konfiguration");
}
