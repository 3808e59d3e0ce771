// Pictures and glyphs where a person looks: the pane's icon on the Settings list drawn from its
// 2x file, the footer logo clear of the line below it, a slider's value clear of its track, and
// each device's status-bar glyphs.
#include <gtest/gtest.h>

#include <cairo.h>

#include "host/Runtime/DeviceProfile.h"
#include "host/UIKit/UIImage.h"
#include "simulator/StatusBarPainter.h"
#include "simulator/TablePainter.h"
#include "tests/simulator/SimulatorFixture.h"

namespace {

using sim::ScreenLayout;
using simtest::Rgb;
using simtest::ScreenImage;

Rgb rgb(const UIColor& c) { return {int(std::lround(c.red * 255)), int(std::lround(c.green * 255)), int(std::lround(c.blue * 255))}; }
const Rgb kWhite{255, 255, 255};

class ImageRenderingTest : public SimulatorFixture {
protected:
    void SetUp() override {
        SimulatorFixture::SetUp();
        restart();
    }
};

// The entry on the Settings list shows the bundle's icon at the left margin, centred in its row,
// the title one margin after it, and the icon's pixels are the 2x file's own (not the 1x file
// stretched).
TEST_F(ImageRenderingTest, SettingsListShowsThePanesIconFromItsTwoXFile) {
    auto cell = app->visiblePage()->table()->cellForRowAtIndexPath({0, 0});
    ASSERT_TRUE(cell && cell->imageView()->image());
    EXPECT_EQ(cell->imageView()->frame(), CGRectMake(15, 8, 29, 29));
    EXPECT_EQ(cell->textLabel()->frame().minX(), 59);
    const auto icon = viewRect([](const std::shared_ptr<UITableViewCell>& c) -> std::shared_ptr<UIView> { return c->imageView(); });
    ASSERT_TRUE(icon);

    const ScreenImage screen(*app, 2);
    cairo_surface_t* file = cairo_image_surface_create_from_png((options.bundleDirectory / "images/icon@2x.png").c_str());
    const ScreenImage png(file, 1);  // which holds a reference of its own
    cairo_surface_destroy(file);
    ASSERT_EQ(cairo_image_surface_get_width(file), 58);
    int differing = 0;
    // The opaque inside of the rounded square, where the row's white cannot show through.
    for (int y = 14; y < 44; ++y)
        for (int x = 14; x < 44; ++x) {
            const Rgb expected = png.pixel(x, y), drawn = screen.pixel(int(icon->minX() * 2) + x, int(icon->minY() * 2) + y);
            differing += std::abs(drawn.r - expected.r) + std::abs(drawn.g - expected.g) + std::abs(drawn.b - expected.b) > 6;
        }
    EXPECT_EQ(differing, 0);
}

// The footer logo hangs from the top of its header; the strip above the next section's line is
// the table's background, not the logo or its shadow. Likewise a slider's widest value stands
// the standard 8 points clear of the track's end.
TEST_F(ImageRenderingTest, LogoAndSliderValueStandClearOfTheirNeighbours) {
    ASSERT_TRUE(app->openBundleEntry());
    app->finishTransitions();
    auto table = app->visiblePage()->table();
    const CGRect logo = table->sections().at(4).headerRect;
    table->setContentOffset(logo.minY() - 200);
    const ScreenImage footer(*app, 2);
    const CGRect header = CGRectMake(logo.minX(), ScreenLayout::kContentTop + logo.minY() - table->contentOffset(), logo.width(), logo.height());
    const Rgb background = rgb(sim::TablePainter::groupedBackgroundColor());
    const CGRect strip = CGRectMake(header.midX() - 14, header.maxY() - 2, 28, 1.5);
    EXPECT_EQ(footer.count(strip, background), int(strip.width() * 2 * 3)) << "at y " << strip.minY();
    // And the logo is drawn above it.
    EXPECT_NE(footer.at({header.midX(), header.minY() + 6}), background);

    tap("Configuration");
    app->finishTransitions();
    auto cell = std::dynamic_pointer_cast<PSSliderTableCell>(app->visiblePage()->table()->cellForRowAtIndexPath(rowOf("Artwork offset")));
    ASSERT_NE(cell, nullptr);
    cell->setValue(PlistValue(-12.5));
    ASSERT_EQ(cell->valueLabel()->text(), "-12.50");
    const auto track = sliderRect("Artwork offset");
    ASSERT_TRUE(track);
    const ScreenImage screen(*app, 2);
    // The first drawn column right of the track, over the row's height.
    const CGRect right = CGRectMake(track->maxX(), track->minY() + 4, 375 - track->maxX(), track->height() - 8);
    int firstInk = -1;
    for (int x = int(right.minX() * 2); x < int(right.maxX() * 2) && firstInk < 0; ++x)
        if (screen.count(CGRectMake(x / 2.0, right.minY(), 0.5, right.height()), kWhite) < int(right.height() * 2)) firstInk = x;
    ASSERT_GE(firstInk, 0);
    EXPECT_GE(firstInk / 2.0 - track->maxX(), 8);
}

// Phones show five signal dots before "Carrier"; the Wi-Fi pad has no dots, its name in their
// place. Both show the Wi-Fi fan after that text.
TEST_F(ImageRenderingTest, StatusBarShowsEachDevicesSignalAndWifi) {
    struct Case { const char* profile; bool dots; } cases[] = {{"iphone6s", true}, {"iphone6", true}, {"ipad-air2", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.profile);
        restart([&](sim::SettingsApp::Options& o) { o.profile = c.profile; });
        const ScreenImage screen(*app, 2);
        const Rgb bar = screen.at({ScreenLayout::kBackButtonWidth + 30, 3});
        // The fifth dot lies past where the pad's name ends; the Settings list's bar has dark status text.
        const CGPoint fifth{sim::StatusBarPainter::kFirstDotX + 4 * sim::StatusBarPainter::kDotPitch, 10};
        EXPECT_EQ(screen.at(fifth), (c.dots ? Rgb{0, 0, 0} : bar));
        const CGRect wifi = sim::StatusBarPainter::wifiRect(host::DeviceProfile::current());
        EXPECT_GT(wifi.minX(), c.dots ? 70 : 25);
        EXPECT_GT(screen.count(wifi, [&](const Rgb& p) { return p.r < 100; }), 30);
        // Nothing but the fan there: the text ends before it.
        EXPECT_EQ(screen.count(CGRectMake(wifi.minX() - 3, 0, 2, 20), bar), 4 * 40);
    }
}

}  // namespace
