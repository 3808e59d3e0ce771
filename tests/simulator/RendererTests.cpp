// The drawn screen, read back pixel by pixel: the themed bar comes and goes on every profile, the
// logo fades in, switches carry the page's on-colour, sliders move with accepted values, pop-ups,
// sheets and notes show over the page.
#include <gtest/gtest.h>

#include <cairo.h>

#include <algorithm>
#include <functional>

#include "host/Preferences/PSSwitchTableCell.h"
#include "host/Preferences/PSRootController.h"
#include "simulator/ModalLayout.h"
#include "simulator/NumberPad.h"
#include "tests/simulator/SimulatorFixture.h"

namespace {

using sim::ScreenLayout;
using simtest::Rgb;
using simtest::ScreenImage;

const Rgb kBarBlack{10, 10, 10}, kDefaultBar{247, 247, 247}, kDimmedBar{6, 6, 6}, kAccentGreen{64, 210, 114}, kSwitchGreen{0, 155, 119};
const Rgb kTrackBlue{65, 169, 214}, kTrackNavy{22, 36, 51}, kWhite{255, 255, 255}, kBlack{0, 0, 0};

// A point of the bar that no title, button or status-bar text covers on any page.
constexpr CGPoint kBarPoint{115, 24};

class RendererTest : public SimulatorFixture {
protected:
    void SetUp() override {
        SimulatorFixture::SetUp();
        restart();
    }
    void openConfiguration() {
        ASSERT_TRUE(app->openBundleEntry());
        tap("Configuration");
        app->finishTransitions();
    }
    // The screen once the transitions under way have ended.
    ScreenImage settled() {
        app->finishTransitions();
        return ScreenImage(*app);
    }
    // Where the thumb's centre is drawn: between the last pixel of the minimum track and the
    // first of the maximum track along the slider's midline; -1 with no minimum track.
    static double thumbCentre(const ScreenImage& screen, CGRect slider) {
        const int y = static_cast<int>((slider.midY() - 0.25) * screen.scale());
        int lastMinimum = -1, firstMaximum = -1;
        for (int x = static_cast<int>(slider.minX() * screen.scale()); x < slider.maxX() * screen.scale(); ++x) {
            const Rgb c = screen.pixel(x, y);
            if (c == kTrackBlue) lastMinimum = x;
            if (c == kTrackNavy && firstMaximum < 0 && lastMinimum >= 0) firstMaximum = x;
        }
        return lastMinimum < 0 || firstMaximum < 0 ? -1 : (lastMinimum + firstMaximum) / 2.0 / screen.scale();
    }
};

// The bar (up under the status bar) is the default on the Settings page and bar black while the
// bundle's pages show, on every profile; the status text is dark on the one and light on the
// other. In the nested-bar range the pages live one navigation controller further in. A pad's
// pane stays beside the list: its first page has nothing to go back to.
TEST_F(RendererTest, NavigationBarAndStatusTextFollowTheVisiblePagesTheme) {
    const struct { std::string profile; bool nested; } cases[] = {{"iphone6", true}, {"iphone6s", false}, {"ipad-air2", true}, {"iphone7", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.profile);
        restart([&](sim::SettingsApp::Options& o) { o.profile = c.profile; });
        const CGRect clock = CGRectMake(app->screenSize().width / 2 - 30, 2, 60, 16);
        const bool split = c.profile == "ipad-air2";
        const CGPoint barPoint{sim::ScreenColumns::paneFrame(app->screenSize()).minX() + kBarPoint.x, kBarPoint.y};
        const std::pair<const char*, std::function<bool()>> steps[] = {
            {"top page", [] { return true; }},
            {"bundle root", [&] {
                 return app->openBundleEntry() && app->backTitle() == (split ? std::nullopt : std::optional<std::string>("Settings"))
                     && bool(std::dynamic_pointer_cast<UINavigationController>(app->rootController()->topViewController())) == c.nested;
             }},
            {"configuration", [&] { return app->tapRow(rowOf("Configuration")); }},
            {"back to root", [&] { return app->goBack(); }},
            {"back to top", [&] { return split ? !app->goBack() : app->goBack() && !app->goBack(); }},
        };
        for (const auto& [what, act] : steps) {
            ASSERT_TRUE(act()) << what;
            const auto screen = settled();
            const bool themed = app->visibleController() != app->topPage();
            const Rgb bar = themed ? kBarBlack : kDefaultBar;
            EXPECT_EQ(std::pair(screen.at(barPoint), screen.at({barPoint.x, 8})), std::pair(bar, bar)) << what;
            EXPECT_GT(screen.count(clock, themed ? kWhite : kBlack), 20) << what;
            EXPECT_EQ(screen.count(clock, themed ? kBlack : kWhite), 0) << what;
        }
    }
}

// The template logo is invisible at 0.4 s (the push has ended, the fade not begun) and drawn in the bar's tint (accent green) at 1.2 s.
TEST_F(RendererTest, LogoFadesIntoTheBarInItsTint) {
    ASSERT_TRUE(app->openBundleEntry());
    auto titleView = app->visibleController()->navigationItem()->titleView();
    ASSERT_TRUE(titleView);
    const CGSize size = titleView->frame().size;
    const CGRect logo = CGRectMake((app->screenSize().width - size.width) / 2,
        ScreenLayout::kStatusBarHeight + (ScreenLayout::kNavigationBarHeight - size.height) / 2, size.width, size.height);
    advance(0.4);
    EXPECT_EQ(ScreenImage(*app).count(logo, [](const Rgb& c) { return c != kBarBlack; }), 0);
    advance(0.8);
    ScreenImage late(*app);
    EXPECT_GT(late.count(logo, kAccentGreen), 300);
    // Every other pixel is the bar or a blend of it with the tint at the logo's edges.
    EXPECT_EQ(late.count(logo, [](const Rgb& c) { return c.r > 64 || c.b > 114; }), 0);
}

// Switches inside the bundle's pages are filled with switch green when on; off they are white.
TEST_F(RendererTest, SwitchesInsidePagesShowSwitchGreen) {
    ASSERT_TRUE(app->openBundleEntry());
    for (const char* page : {"root", "configuration"}) {
        if (std::string(page) == "configuration") tap("Configuration");
        app->finishTransitions();
        for (bool on : {true, false}) {
            const auto pick = [&](const std::shared_ptr<UITableViewCell>& cell) -> std::shared_ptr<UIView> {
                auto row = std::dynamic_pointer_cast<PSSwitchTableCell>(cell);
                return row && row->control()->isOn() == on ? row->control() : nullptr;
            };
            auto rect = viewRect(pick);
            ASSERT_TRUE(rect) << page << (on ? ": no switch on" : ": no switch off");
            app->scroll(rect->midY() - app->screenSize().height / 2);  // into view first
            rect = viewRect(pick);
            EXPECT_EQ(ScreenImage(*app).at({rect->minX() + 8, rect->midY()}), on ? kSwitchGreen : kWhite) << page;
        }
    }
}

// The entry pop-up dims the page and brings up the number pad with the keypad toolbar; cancelling
// takes all of it away. A value accepted in it moves the thumb in the next frame.
TEST_F(RendererTest, PopupShowsKeyboardOnlyWhileEditingAndAnAcceptedValueMovesTheThumb) {
    openConfiguration();
    const CGSize size = app->screenSize();
    // Inside the "1" key, and on the keypad toolbar above the keys.
    const CGPoint keyCorner{6, size.height - ScreenLayout::kKeyboardHeight + 6}, toolbar{size.width - 20, size.height - ScreenLayout::kKeyboardHeight - 22};
    const Rgb before = ScreenImage(*app).at(keyCorner);
    ASSERT_TRUE(app->tapValueButton(rowOf("Artwork offset")));
    const auto editing = settled();
    const CGPoint popup{app->alertFrame().minX() + 3, app->alertFrame().midY()};
    EXPECT_EQ((std::vector{editing.at(keyCorner), editing.at(toolbar), editing.at(kBarPoint), editing.at(popup)}),
        (std::vector<Rgb>{kWhite, {247, 247, 247}, kDimmedBar, {248, 248, 248}})) << "a key, the toolbar, the dimmed bar, the pop-up";
    // The one key for -50 to 50 is "Negate", written in the tint.
    EXPECT_GT(editing.count(CGRectMake(0, toolbar.y - 20, 120, 40), Rgb{0, 122, 255}), 30);
    ASSERT_TRUE(app->pressAlertButton("Cancel"));
    const auto after = settled();
    EXPECT_EQ(std::pair(after.at(keyCorner), after.at(kBarPoint)), std::pair(before, kBarBlack));

    const auto slider = sliderRect("Artwork offset");  // -50 to 50, stored 0
    ASSERT_TRUE(slider);
    const double travel = slider->width() - 28;
    EXPECT_NEAR(thumbCentre(ScreenImage(*app), *slider), slider->minX() + 14 + travel / 2, 1.0);
    for (const auto& [typed, negate] : {std::pair{"25", false}, {"50", true}}) {
        ASSERT_TRUE(app->tapValueButton(rowOf("Artwork offset")) && app->typeText(typed) && (!negate || app->pressKeypadKey("Negate"))
            && app->pressAlertButton("Enter")) << typed;
        const auto screen = settled();
        if (!negate) {
            EXPECT_NEAR(thumbCentre(screen, *slider), slider->minX() + 14 + travel * 0.75, 1.0) << typed;
        } else {  // at the left end no minimum track is left to see
            EXPECT_TRUE(thumbCentre(screen, *slider) == -1 && screen.count(*slider, kTrackNavy) > 100) << thumbCentre(screen, *slider);
        }
    }
}

// On a pad the pop-up brings up the keyboard's numbers page across the whole width: rounded white
// character keys and grey function keys, the keyboard's grey showing between them.
TEST_F(RendererTest, PadPopupShowsTheNumbersPage) {
    restart([](sim::SettingsApp::Options& o) { o.profile = "ipad-air2"; });
    openConfiguration();
    ASSERT_TRUE(app->tapValueButton(rowOf("Artwork offset")));
    const auto screen = settled();
    const auto keys = sim::NumberPad::keys(sim::NumberPad::padFrame(sim::ModalLayout::alert(*app->topAlert(), app->screenSize())),
        UIKeyboardTypeNumberPad);
    const Rgb keyboard{209, 213, 219}, function{172, 179, 188};
    for (const auto& [label, colour] : std::vector<std::pair<std::string, Rgb>>{
             {"-", kWhite}, {"0", kWhite}, {".", kWhite}, {sim::NumberPad::kReturn, function}, {sim::NumberPad::kHide, function}}) {
        const auto k = std::find_if(keys.begin(), keys.end(), [&title = label](const auto& key) { return key.label == title; });
        ASSERT_NE(k, keys.end()) << label;
        const CGRect f = k->frame;
        EXPECT_EQ((std::vector{screen.at({f.minX() + 3, f.midY()}), screen.at({f.minX() + 0.5, f.minY() + 0.5}), screen.at({f.minX() - 3, f.midY()})}),
            (std::vector{colour, keyboard, keyboard})) << label << ": its face, a rounded corner, the gap before it";
    }
    EXPECT_GE(keys.back().frame.maxX(), 760) << "the keys span the pad's width";
}

// The share sheet dims the page under its card; the mail composer covers it with its own default
// bar; both go when finished.
TEST_F(RendererTest, SheetAndComposerDrawOverThePage) {
    restart([](sim::SettingsApp::Options& o) { o.twitterAccount = true; });
    ASSERT_TRUE(app->openBundleEntry() && app->tapRightBarButton());
    const auto sheet = settled();
    const CGPoint card{app->presentedFrame().minX() + 20, app->presentedFrame().maxY() - 10};
    EXPECT_EQ(std::pair(sheet.at(kBarPoint), sheet.at(card)), std::pair(kDimmedBar, Rgb{248, 248, 248}));
    ASSERT_TRUE(app->finishSheet(false));
    EXPECT_EQ(settled().at(kBarPoint), kBarBlack);

    tap("Email Support");
    const auto composer = settled();
    // The keyboard is up under the body, which is white above it.
    const CGPoint body{20, app->screenSize().height - sim::NumberPad::keyboardHeight() - 20};
    EXPECT_EQ(std::pair(composer.at(kBarPoint), composer.at(body)), std::pair(kDefaultBar, kWhite));
    ASSERT_TRUE(app->finishMail(false));
    EXPECT_EQ(settled().at(kBarPoint), kBarBlack);
}

// Opening a maker's profile shows a dark note near the bottom for a few seconds.
TEST_F(RendererTest, NoteShowsAfterALinkIsOpened) {
    ASSERT_TRUE(app->openBundleEntry());
    tap("Makers");
    app->finishTransitions();
    const CGRect bottom = CGRectMake(0, app->screenSize().height - 140, app->screenSize().width, 140);
    const auto dark = [&] { return ScreenImage(*app).count(bottom, [](const Rgb& c) { return c.r < 80 && c.g < 80 && c.b < 80; }); };
    EXPECT_EQ(dark(), 0);
    ASSERT_TRUE(app->tapRow(app->visiblePage()->table()->sections().at(0).rows.at(0).indexPath));
    EXPECT_GT(dark(), 2000);
    advance(10);
    EXPECT_EQ(dark(), 0);
}

// Snapshots are PNGs at the scale asked for; an unwritable path or a zero scale is refused.
TEST_F(RendererTest, WritesPngSnapshots) {
    const auto path = temp / "shots" / "root.png";
    std::string why;
    ASSERT_TRUE(sim::Renderer::writePNG(*app, path, 2, &why)) << why;
    cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(std::pair(cairo_image_surface_get_width(png), cairo_image_surface_get_height(png)),
        std::pair(int(app->screenSize().width * 2), int(app->screenSize().height * 2)));
    EXPECT_EQ(ScreenImage(png, 2).at(kBarPoint), kDefaultBar);
    cairo_surface_destroy(png);

    writeFile(temp / "blocker", "a file where a folder should be");
    why.clear();
    EXPECT_FALSE(sim::Renderer::writePNG(*app, temp / "blocker" / "shot.png", 2, &why));
    EXPECT_NE(why.find("blocker"), std::string::npos) << why;
    EXPECT_FALSE(sim::Renderer::writePNG(*app, temp / "zero.png", 0, &why));
}

}  // namespace
