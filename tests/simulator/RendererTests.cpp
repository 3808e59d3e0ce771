// The drawn screen, read back pixel by pixel: the themed bar comes and goes, the logo fades in,
// switches carry the page's on-colour, sliders move with accepted values, pop-ups, sheets and
// notes show over the page.
#include <gtest/gtest.h>

#include <cairo.h>

#include <functional>

#include "host/Preferences/PSListController.h"
#include "host/Preferences/PSSliderTableCell.h"
#include "host/Preferences/PSSwitchTableCell.h"
#include "simulator/Renderer.h"
#include "simulator/ScreenLayout.h"
#include "simulator/SettingsApp.h"
#include "tests/simulator/SimulatorTestSupport.h"

namespace {

using sim::Renderer;
using sim::ScreenLayout;
using simtest::Rgb;
using simtest::ScreenImage;

const Rgb kBarBlack{10, 10, 10};
const Rgb kDefaultBar{247, 247, 247};
const Rgb kAccentGreen{64, 210, 114};
const Rgb kSwitchGreen{0, 155, 119};
const Rgb kTrackBlue{65, 169, 214};
const Rgb kTrackNavy{22, 36, 51};

// A point of the bar that no title, button or status-bar text covers on any page.
constexpr CGPoint kBarPoint{115, 24};

class RendererTest : public simtest::AppTest {
protected:
    // The screen rect of a row's view, found by a test on the row's cell.
    static std::optional<CGRect> viewRect(const sim::SettingsApp& app,
        const std::function<std::shared_ptr<UIView>(const std::shared_ptr<UITableViewCell>&)>& pick) {
        auto table = app.visiblePage()->table();
        for (const auto& section : table->sections())
            for (const auto& row : section.rows) {
                auto view = row.cell ? pick(row.cell) : nullptr;
                if (!view) continue;
                const CGPoint origin = view->convertPointToAncestor({0, 0}, row.cell.get());
                return CGRectMake(row.rect.minX() + origin.x,
                    ScreenLayout::kContentTop + row.rect.minY() - table->contentOffset() + origin.y, view->frame().width(),
                    view->frame().height());
            }
        return std::nullopt;
    }

    // The slider of the row with property-list key `key`, on the screen.
    std::optional<CGRect> sliderRect(const std::string& key) {
        return viewRect(*app, [&](const std::shared_ptr<UITableViewCell>& cell) -> std::shared_ptr<UIView> {
            auto slider = std::dynamic_pointer_cast<PSSliderTableCell>(cell);
            if (!slider || !slider->specifier() || slider->specifier()->propertyForKey("key").text() != key) return nullptr;
            return slider->control();
        });
    }

    // Where the thumb's centre is drawn: between the last pixel of the minimum track and the
    // first of the maximum track along the slider's midline.
    static double thumbCentre(const ScreenImage& screen, CGRect slider) {
        const int y = static_cast<int>((slider.midY() - 0.25) * screen.scale());
        int lastMinimum = -1, firstMaximum = -1;
        for (int x = static_cast<int>(slider.minX() * screen.scale()); x < slider.maxX() * screen.scale(); ++x) {
            const Rgb c = screen.pixel(x, y);
            if (c == kTrackBlue) lastMinimum = x;
            if (c == kTrackNavy && firstMaximum < 0 && lastMinimum >= 0) firstMaximum = x;
        }
        if (lastMinimum < 0 || firstMaximum < 0) return -1;
        return (lastMinimum + firstMaximum) / 2.0 / screen.scale();
    }
};

// The bar is the platform's default on the Settings page, bar black (solid, to the pixel) while
// the bundle's pages are shown, and the default again once the user has gone back out.
TEST_F(RendererTest, NavigationBarFollowsTheVisiblePagesTheme) {
    struct Step {
        const char* what;
        std::function<bool()> act;
        Rgb bar;
    };
    const Step steps[] = {
        {"top page", [] { return true; }, kDefaultBar},
        {"bundle root", [&] { return app->openBundleEntry(); }, kBarBlack},
        {"configuration", [&] { return app->tapRow(*app->rowTitled("Configuration")); }, kBarBlack},
        {"back to root", [&] { return app->goBack(); }, kBarBlack},
        {"back to top", [&] { return app->goBack(); }, kDefaultBar},
    };
    for (const auto& step : steps) {
        ASSERT_TRUE(step.act()) << step.what;
        ScreenImage screen(*app);
        EXPECT_EQ(screen.at(kBarPoint), step.bar) << step.what;
        EXPECT_EQ(screen.at({kBarPoint.x, 8}), step.bar) << step.what << ": the bar reaches under the status bar";
        EXPECT_EQ(screen.at({kBarPoint.x, ScreenLayout::kContentTop - 2}), step.bar) << step.what;
    }
}

// The status bar's text is dark on the default bar and light (style 1) on the themed one.
TEST_F(RendererTest, StatusBarTextFollowsTheStyle) {
    const CGRect clock = CGRectMake(app->screenSize().width / 2 - 30, 2, 60, 16);
    const auto count = [&](const Rgb& colour) { return ScreenImage(*app).count(clock, colour); };
    EXPECT_EQ(app->statusBarStyle(), 0);
    EXPECT_GT(count({0, 0, 0}), 20);
    EXPECT_EQ(count({255, 255, 255}), 0);
    ASSERT_TRUE(app->openBundleEntry());
    EXPECT_EQ(app->statusBarStyle(), 1);
    EXPECT_GT(count({255, 255, 255}), 20);
    EXPECT_EQ(count({0, 0, 0}), 0);
}

// The template logo in the title view is invisible before its fade, half way in the middle of
// it, and drawn in the bar's tint (accent green) once it has faded in.
TEST_F(RendererTest, LogoFadesIntoTheBarInItsTint) {
    ASSERT_TRUE(app->openBundleEntry());
    auto titleView = app->visibleController()->navigationItem()->titleView();
    ASSERT_TRUE(titleView);
    const CGSize size = titleView->frame().size;
    const CGRect logo = CGRectMake((app->screenSize().width - size.width) / 2,
        ScreenLayout::kStatusBarHeight + (ScreenLayout::kNavigationBarHeight - size.height) / 2, size.width, size.height);

    advance(0.2);
    ScreenImage early(*app);
    EXPECT_EQ(early.count(logo, kBarBlack), early.pixelCount(logo)) << "nothing of the logo shows at 0.2 s";

    advance(0.55);  // half way through the fade (0.5 s to 1.0 s)
    ScreenImage middle(*app);
    int brightest = 0;
    middle.forEach(logo, [&](const Rgb& c) { brightest = std::max(brightest, c.g); });
    EXPECT_GT(brightest, 60);
    EXPECT_LT(brightest, 160);
    EXPECT_EQ(middle.count(logo, kAccentGreen), 0);

    advance(0.45);  // 1.2 s
    ScreenImage late(*app);
    EXPECT_GT(late.count(logo, kAccentGreen), 300) << "the logo's opaque pixels are exactly accent green";
    late.forEach(logo, [&](const Rgb& c) {
        // Every pixel is the bar, the tint, or a blend of the two at the logo's edges.
        EXPECT_LE(c.r, 64);
        EXPECT_LE(c.b, 114);
    });
}

// Switches inside the bundle's pages are filled with switch green when on; off they are white.
TEST_F(RendererTest, SwitchesInsidePagesShowSwitchGreen) {
    ASSERT_TRUE(app->openBundleEntry());
    for (const char* page : {"root", "configuration"}) {
        if (std::string(page) == "configuration") {
            ASSERT_TRUE(app->tapRow(*app->rowTitled("Configuration")));
        }
        for (bool on : {true, false}) {
            const auto pick = [&](const std::shared_ptr<UITableViewCell>& cell) -> std::shared_ptr<UIView> {
                auto row = std::dynamic_pointer_cast<PSSwitchTableCell>(cell);
                return row && row->control()->isOn() == on ? row->control() : nullptr;
            };
            auto rect = viewRect(*app, pick);
            ASSERT_TRUE(rect) << page << (on ? ": no switch on" : ": no switch off");
            // Scrolled into the middle of the screen first, if need be.
            app->scroll(rect->midY() - app->screenSize().height / 2);
            rect = viewRect(*app, pick);
            ScreenImage screen(*app);
            const Rgb fill = screen.at({rect->minX() + 8, rect->midY()});
            if (on) EXPECT_EQ(fill, kSwitchGreen) << page;
            else EXPECT_EQ(fill, (Rgb{255, 255, 255})) << page;
        }
    }
}

// A value accepted in the entry pop-up moves the slider's thumb to it at once; a refused one
// leaves it where it was. The track keeps its two tints on either side.
TEST_F(RendererTest, SliderThumbMovesToAnAcceptedValue) {
    ASSERT_TRUE(app->openBundleEntry());
    ASSERT_TRUE(app->tapRow(*app->rowTitled("Configuration")));
    const auto slider = sliderRect("artworkOffset");  // -50 to 50, stored 0
    ASSERT_TRUE(slider);
    const double travel = slider->width() - 28;
    const double start = thumbCentre(ScreenImage(*app), *slider);
    EXPECT_NEAR(start, slider->minX() + 14 + travel / 2, 1.0);

    struct Entry {
        const char* typed;
        bool negate;
        double fraction;  // of the travel, from the left end, afterwards
    };
    const Entry entries[] = {{"25", false, 0.75}, {"99", false, 0.75}, {"50", true, 0.0}, {"0", false, 0.5}};
    for (const auto& entry : entries) {
        auto indexPath = app->visiblePage()->table()->indexPathForRowAtPoint(
            {slider->midX(), slider->midY() - ScreenLayout::kContentTop + app->visiblePage()->table()->contentOffset()});
        ASSERT_TRUE(indexPath);
        ASSERT_TRUE(app->tapValueButton(*indexPath));
        ASSERT_TRUE(app->typeText(entry.typed));
        if (entry.negate) {
            ASSERT_TRUE(app->pressKeypadKey("Negate"));
        }
        ASSERT_TRUE(app->pressAlertButton("Enter"));
        if (app->topAlert()) {  // refused: the error pop-up, then a fresh entry pop-up to cancel
            ASSERT_TRUE(app->pressAlertButton("OK"));
            ASSERT_TRUE(app->pressAlertButton("Cancel"));
        }
        ASSERT_FALSE(app->topAlert());
        ScreenImage screen(*app);
        const double centre = thumbCentre(screen, *slider);
        if (entry.fraction == 0.0) {
            EXPECT_EQ(centre, -1) << "at the left end no minimum track is left to see";
            EXPECT_GT(screen.count(*slider, kTrackNavy), 100);
        } else {
            EXPECT_NEAR(centre, slider->minX() + 14 + travel * entry.fraction, 1.0) << entry.typed;
        }
    }
}

// The entry pop-up dims the page, brings up the number pad with the keypad toolbar while its
// field is edited, and takes all of it away when cancelled.
TEST_F(RendererTest, PopupShowsKeyboardOnlyWhileEditing) {
    ASSERT_TRUE(app->openBundleEntry());
    ASSERT_TRUE(app->tapRow(*app->rowTitled("Configuration")));
    const CGSize size = app->screenSize();
    const CGPoint keyCorner{6, size.height - ScreenLayout::kKeyboardHeight + 6};  // inside the "1" key
    const CGPoint toolbar{size.width - 20, size.height - ScreenLayout::kKeyboardHeight - 22};
    const Rgb before = ScreenImage(*app).at(keyCorner);

    auto slider = sliderRect("artworkOffset");
    ASSERT_TRUE(slider);
    auto indexPath = app->visiblePage()->table()->indexPathForRowAtPoint(
        {slider->midX(), slider->midY() - ScreenLayout::kContentTop});
    ASSERT_TRUE(app->tapValueButton(*indexPath));
    ScreenImage editing(*app);
    EXPECT_EQ(editing.at(keyCorner), (Rgb{255, 255, 255}));
    EXPECT_EQ(editing.at(toolbar), (Rgb{247, 247, 247}));
    EXPECT_EQ(editing.at(kBarPoint), (Rgb{6, 6, 6})) << "the bar is dimmed behind the pop-up";
    const CGRect box = app->alertFrame();
    EXPECT_EQ(editing.at({box.minX() + 3, box.midY()}), (Rgb{248, 248, 248}));
    // The toolbar's one key for a range of -50 to 50 is "Negate", written in the tint.
    EXPECT_GT(editing.count(CGRectMake(0, toolbar.y - 20, 120, 40), Rgb{0, 122, 255}), 30);

    ASSERT_TRUE(app->pressAlertButton("Cancel"));
    ScreenImage after(*app);
    EXPECT_EQ(after.at(keyCorner), before);
    EXPECT_EQ(after.at(kBarPoint), kBarBlack);
}

// The share sheet dims the page under its card; the mail composer covers the page with its own
// default bar; both go when finished.
TEST_F(RendererTest, SheetAndComposerDrawOverThePage) {
    restart([](sim::SettingsApp::Options& o) { o.twitterAccount = true; });
    ASSERT_TRUE(app->openBundleEntry());
    ASSERT_TRUE(app->tapRightBarButton());
    ASSERT_TRUE(app->presentedController());
    ScreenImage sheet(*app);
    EXPECT_EQ(sheet.at(kBarPoint), (Rgb{6, 6, 6}));
    const CGRect card = app->presentedFrame();
    EXPECT_EQ(sheet.at({card.minX() + 20, card.maxY() - 10}), (Rgb{248, 248, 248}));
    ASSERT_TRUE(app->finishSheet(false));
    EXPECT_EQ(ScreenImage(*app).at(kBarPoint), kBarBlack);

    ASSERT_TRUE(app->tapRow(*app->rowTitled("Email Support")));
    ASSERT_TRUE(app->presentedController());
    ScreenImage composer(*app);
    EXPECT_EQ(composer.at(kBarPoint), kDefaultBar);
    EXPECT_EQ(composer.at({20, app->screenSize().height - 20}), (Rgb{255, 255, 255}));
    EXPECT_GT(composer.count(CGRectMake(0, 0, 200, 20), Rgb{0, 0, 0}), 20) << "dark status text on the light bar";
    ASSERT_TRUE(app->finishMail(false));
    EXPECT_EQ(ScreenImage(*app).at(kBarPoint), kBarBlack);
}

// Opening a maker's profile shows a dark note near the bottom for a few seconds.
TEST_F(RendererTest, NoteShowsAfterALinkIsOpened) {
    ASSERT_TRUE(app->openBundleEntry());
    ASSERT_TRUE(app->tapRow(*app->rowTitled("Makers")));
    const CGSize size = app->screenSize();
    const CGRect band = CGRectMake(0, size.height - 140, size.width, 140);
    const auto dark = [&] {
        int n = 0;
        ScreenImage(*app).forEach(band, [&](const Rgb& c) { n += c.r < 80 && c.g < 80 && c.b < 80; });
        return n;
    };
    EXPECT_EQ(dark(), 0);
    auto maker = app->visiblePage()->table()->sections().at(0).rows.at(0).indexPath;
    ASSERT_TRUE(app->tapRow(maker));
    ASSERT_TRUE(app->note());
    EXPECT_GT(dark(), 2000);
    advance(10);
    EXPECT_FALSE(app->note());
    EXPECT_EQ(dark(), 0);
}

// Snapshots are PNGs of the screen at twice its size by default; an unwritable path is refused
// with a reason.
TEST_F(RendererTest, WritesPngSnapshots) {
    ASSERT_TRUE(app->openBundleEntry());
    const auto path = temp / "shots" / "root.png";
    std::string why;
    ASSERT_TRUE(Renderer::writePNG(*app, path, 2, &why)) << why;
    cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(png), static_cast<int>(app->screenSize().width * 2));
    EXPECT_EQ(cairo_image_surface_get_height(png), static_cast<int>(app->screenSize().height * 2));
    const auto* row = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(png) +
                                                             int(kBarPoint.y * 2) * cairo_image_surface_get_stride(png));
    EXPECT_EQ(row[int(kBarPoint.x * 2)] & 0xffffff, 0x0a0a0au);
    cairo_surface_destroy(png);

    writeFile(temp / "blocker", "a file where a folder should be");
    why.clear();
    EXPECT_FALSE(Renderer::writePNG(*app, temp / "blocker" / "shot.png", 2, &why));
    EXPECT_NE(why.find("blocker"), std::string::npos) << why;
    EXPECT_FALSE(Renderer::writePNG(*app, temp / "zero.png", 0, &why));
}

}  // namespace
