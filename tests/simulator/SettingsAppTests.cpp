// The Settings application's navigation, theming and hit-testing, and how it copes with a bundle
// that cannot be loaded or whose resources are broken.
#include "host/Preferences/PSRootController.h"
#include "host/UIKit/UIAlertView.h"
#include "host/UIKit/UINavigationController.h"
#include "pages/KXVelkaroListController.h"
#include "simulator/ModalLayout.h"
#include "simulator/ScreenLayout.h"
#include "simulator/NumberPad.h"
#include "tests/simulator/SimulatorFixture.h"

// The bar is themed while a bundle page shows and handed back when the user leaves, on every
// profile; in the nested-bar range the pages live one navigation controller further in.
TEST_F(SimulatorFixture, ThemingComesAndGoesOnEveryProfile) {
    struct Case {
        const char* profile;
        bool nested;
    };
    for (const auto& c : {Case{"iphone6", true}, Case{"iphone6s", false}, Case{"ipad-air2", true}, Case{"iphone7", false}}) {
        SCOPED_TRACE(c.profile);
        options.profile = c.profile;
        ASSERT_TRUE(start());
        EXPECT_FALSE(app->visibleBar()->barTintColor());
        EXPECT_FALSE(app->canGoBack());
        ASSERT_TRUE(app->openBundleEntry());
        EXPECT_EQ(bool(std::dynamic_pointer_cast<UINavigationController>(app->rootController()->topViewController())), c.nested);
        EXPECT_EQ(app->visibleBar(), app->rootController()->navigationBar());
        EXPECT_EQ(app->visibleBar()->barTintColor(), KXVelkaroListController::barBlack());
        EXPECT_EQ(app->visibleBar()->tintColor(), KXVelkaroListController::accentGreen());
        EXPECT_EQ(app->statusBarStyle(), 1);
        EXPECT_EQ(app->backTitle(), "Settings");

        // A sub-page themes the same bar, and leaving it keeps the theme for the root page.
        tap("Configuration");
        EXPECT_EQ(app->visiblePage()->className(), "KXVelkaroConfigurationListController");
        EXPECT_EQ(app->visibleBar()->barTintColor(), KXVelkaroListController::barBlack());
        ASSERT_TRUE(app->goBack());
        EXPECT_EQ(app->visiblePage()->className(), "VelkaroListController");
        EXPECT_EQ(app->visibleBar()->barTintColor(), KXVelkaroListController::barBlack());

        ASSERT_TRUE(app->goBack());
        EXPECT_EQ(app->visibleController(), app->topPage());
        EXPECT_EQ(app->rootController()->viewControllers().size(), 1u);
        EXPECT_FALSE(app->visibleBar()->barTintColor());
        EXPECT_FALSE(app->visibleBar()->tintColor());
        EXPECT_FALSE(app->visibleBar()->titleTextAttributes());
        EXPECT_EQ(app->statusBarStyle(), 0);
        EXPECT_FALSE(app->goBack());
        TearDown();
        SetUp();
    }
}

// The logo fades in half a second after the root page loads, over half a second.
TEST_F(SimulatorFixture, LogoFadesInAfterLoading) {
    open();
    auto logo = app->visibleController()->navigationItem()->titleView();
    ASSERT_TRUE(logo);
    app->advance(0.2);
    EXPECT_DOUBLE_EQ(logo->presentationAlpha(), 0);
    app->advance(0.55);
    EXPECT_GT(logo->presentationAlpha(), 0);
    EXPECT_LT(logo->presentationAlpha(), 1);
    app->advance(0.45);
    EXPECT_DOUBLE_EQ(logo->presentationAlpha(), 1);
}

// Taps at screen points reach the same things as the named actions.
TEST_F(SimulatorFixture, TapsAtPointsHitBarsRowsValueButtonsAndAlertButtons) {
    open();
    const CGFloat width = app->screenSize().width;
    const auto screenPoint = [&](NSIndexPath path, CGFloat x) {
        const auto table = app->visiblePage()->table();
        const auto cell = table->cellForRowAtIndexPath(path);
        EXPECT_TRUE(cell);
        const CGRect r = cell ? cell->frame() : CGRectZero;
        return CGPoint{x, r.midY() + sim::ScreenLayout::kContentTop - table->contentOffset()};
    };
    // A row: the configuration page opens.
    ASSERT_TRUE(app->tapAt(screenPoint(rowOf("Configuration"), 40)));
    ASSERT_EQ(app->visiblePage()->className(), "KXVelkaroConfigurationListController");

    // The right end of a slider row is its value button; the rest of the row is the slider.
    const auto radius = rowOf("Corner radius");
    app->tapAt(screenPoint(radius, width / 2));
    EXPECT_FALSE(app->topAlert());
    ASSERT_TRUE(app->tapAt(screenPoint(radius, width - 10)));
    ASSERT_TRUE(app->topAlert());
    EXPECT_EQ(app->topAlert()->title(), "Corner radius");

    // While the alert shows, nothing behind it answers; its buttons do.
    EXPECT_FALSE(app->tapAt({20, 40}));
    // The number pad's keys type, the delete key deletes.
    const auto layout = sim::ModalLayout::alert(*app->topAlert(), app->screenSize());
    const auto keys = sim::NumberPad::keys(sim::NumberPad::padFrame(layout), UIKeyboardTypeNumberPad);
    const auto keyFrame = [&](const std::string& label) {
        for (const auto& k : keys)
            if (k.label == label) return k.frame;
        ADD_FAILURE() << "no key " << label;
        return CGRectZero;
    };
    for (const char* label : {"5", "7", sim::NumberPad::kDelete.c_str()})
        ASSERT_TRUE(app->tapAt({keyFrame(label).midX(), keyFrame(label).midY()})) << label;
    EXPECT_EQ(app->fieldText(), "5");
    const auto buttons = app->alertButtons();
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons[1].title, "Enter");
    ASSERT_TRUE(app->tapAt({buttons[1].frame.midX(), buttons[1].frame.midY()}));
    EXPECT_FALSE(app->topAlert());
    EXPECT_NEAR(*stored("cornerRadius").number(), 5, 1e-6);

    // A switch answers on its own area only.
    const auto artwork = rowOf("Show artwork");
    EXPECT_FALSE(app->tapAt(screenPoint(artwork, 40)));
    ASSERT_TRUE(app->tapAt(screenPoint(artwork, width - 40)));
    EXPECT_EQ(stored("showArtwork"), PlistValue(false));

    // The bar: back at the left, nothing in the middle.
    EXPECT_FALSE(app->tapAt({width / 2, 40}));
    ASSERT_TRUE(app->tapAt({20, 40}));
    EXPECT_EQ(app->visiblePage()->className(), "VelkaroListController");
}

// A bundle whose module cannot be loaded still gives the Settings page, with the reason.
TEST_F(SimulatorFixture, UnloadableModuleLeavesTheTopPageWithAReason) {
    const auto bundle = writableBundle();
    std::filesystem::remove(bundle / "Velkaro");
    std::string error;
    EXPECT_FALSE(start(&error));
    EXPECT_NE(error.find("module"), std::string::npos) << error;
    EXPECT_EQ(app->visibleController(), app->topPage());
    EXPECT_FALSE(app->openBundleEntry());
    EXPECT_EQ(app->note(), error);
    EXPECT_NE(diagnostics().find(error), std::string::npos);

    // A file that is not a module: dlopen's own reason is passed on.
    TearDown();
    SetUp();
    const auto broken = writableBundle();
    std::ofstream(broken / "Velkaro", std::ios::trunc) << "not a shared object";
    EXPECT_FALSE(start(&error));
    EXPECT_NE(error.find("cannot load"), std::string::npos) << error;
}

// Broken resources give a page that still shows, and a diagnostic that names the file.
TEST_F(SimulatorFixture, BadResourcesGiveAPageAndAClearDiagnostic) {
    // A page list that is not a property list: the page opens without rows.
    auto bundle = writableBundle();
    std::ofstream(bundle / "VelkaroConfiguration.plist", std::ios::trunc) << "<plist><dict><key>items</key><array>";
    open();
    tap("Configuration");
    EXPECT_EQ(app->visiblePage()->className(), "KXVelkaroConfigurationListController");
    EXPECT_TRUE(app->visiblePage()->table()->sections().empty());
    EXPECT_NE(diagnostics().find("VelkaroConfiguration.plist"), std::string::npos) << diagnostics();
    EXPECT_TRUE(app->goBack());

    // A missing logo: the root page shows with an empty title view.
    TearDown();
    SetUp();
    bundle = writableBundle();
    std::filesystem::remove(bundle / "images/headerLogo.png");
    open();
    EXPECT_EQ(app->visiblePage()->className(), "VelkaroListController");
    EXPECT_TRUE(app->rowTitled("Configuration"));
    EXPECT_NE(diagnostics().find("headerLogo.png"), std::string::npos) << diagnostics();

    // A strings table with a syntax error is empty: every text shows its key.
    TearDown();
    SetUp();
    bundle = writableBundle();
    std::ofstream(bundle / "en.lproj/Localizable.strings", std::ios::trunc) << "\"CONFIGURATION\" = \"Setup\"\n\"MAKERS\" = \"Team\";\n";
    open();
    tap("Configuration");
    EXPECT_EQ(app->visibleController()->navigationItem()->title(), "CONFIGURATION");
    EXPECT_NE(diagnostics().find("Localizable.strings"), std::string::npos) << diagnostics();
}

// A language of the bundle is chosen from the preferred languages given on the command line.
TEST_F(SimulatorFixture, PreferredLanguageLocalizesThePages) {
    options.languages = {"de"};
    open();
    EXPECT_FALSE(app->rowTitled("Configuration"));
    tap("Konfiguration");
    EXPECT_EQ(app->visibleController()->navigationItem()->title(), "Konfiguration");
}
