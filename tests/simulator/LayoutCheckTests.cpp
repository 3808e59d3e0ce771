// The layout check finds a text its row cannot hold, and finds nothing in the shipped languages
// on any profile; a right-to-left language mirrors the host's chrome from 9.0 only.
#include "host/UIKit/UINavigationBar.h"
#include "host/UIKit/UISwitch.h"
#include "host/UIKit/UITableViewCell.h"
#include "simulator/Canvas.h"
#include "simulator/LayoutCheck.h"
#include "tests/simulator/SimulatorFixture.h"

namespace {

class LayoutCheckTest : public SimulatorFixture {};

std::string describeAll(const std::vector<sim::LayoutCheck::Finding>& findings) {
    std::string out;
    for (const auto& f : findings) out += sim::LayoutCheck::describe(f) + "\n";
    return out;
}

}  // namespace

TEST_F(LayoutCheckTest, ShippedLanguagesFitOnEveryProfile) {
    for (const std::string profile : {"iphone6", "iphone6s", "ipad-air2", "iphone7"})
        for (const std::string language : {"en", "de", "fr"}) {
            SCOPED_TRACE(profile + " " + language);
            restart([&](auto& o) { o.profile = profile; o.languages = {language}; });
            std::vector<std::string> unreached;
            const auto findings = sim::LayoutCheck::checkPane(*app, &unreached);
            EXPECT_TRUE(findings.empty()) << describeAll(findings);
            EXPECT_TRUE(unreached.empty()) << unreached.front();
        }
}

TEST_F(LayoutCheckTest, FindsTextsTheirRowsCannotHold) {
    const auto bundle = writableBundle();
    std::string table = readAll(bundle / "en.lproj/Localizable.strings");
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"\"Enabled\" = \"Enabled\";",
                                       "\"Enabled\" = \"Enabled for every song, album, playlist and podcast episode\";"},
             {"\"Theme\" = \"Theme\";", "\"Theme\" = \"Theme of the now-playing controls\";"}}) {
        const auto at = table.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        table.replace(at, from.size(), to);
    }
    writeFile(bundle / "en.lproj/Localizable.strings", table);
    restart();
    std::vector<std::string> unreached;
    const auto findings = sim::LayoutCheck::checkPane(*app, &unreached);
    EXPECT_TRUE(unreached.empty());
    const auto has = [&](const std::string& page, const std::string& text, const std::string& problem) {
        return std::any_of(findings.begin(), findings.end(), [&](const auto& f) {
            return f.page == page && f.text.starts_with(text) && f.problem.starts_with(problem) && f.lacks > 1;
        });
    };
    // Beside its switch the title is cut short; beside its value the list row's title runs into it.
    EXPECT_TRUE(has("root", "Enabled for", "truncated")) << describeAll(findings);
    EXPECT_TRUE(has("root", "Theme of", "overlaps")) << describeAll(findings);
}

// From 9.0 a right-to-left language swaps the chrome's sides: the switch to the left, the back
// button to the right; 8.x keeps the left-to-right layout.
TEST_F(LayoutCheckTest, RightToLeftMirrorsTheChromeFromNineOnly) {
    struct Case { std::string profile, language; bool mirrored; } cases[] = {
        {"iphone6s", "pseudo-rtl", true}, {"iphone7", "pseudo-rtl", true}, {"iphone6", "pseudo-rtl", false}, {"iphone6s", "pseudo-double", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.profile + " " + c.language);
        restart([&](auto& o) { o.profile = c.profile; o.languages = {c.language}; });
        ASSERT_TRUE(app->openBundleEntry());
        advance(1.2);
        auto control = viewRect([](const std::shared_ptr<UITableViewCell>& cell) {
            return std::dynamic_pointer_cast<UISwitch>(cell->accessoryView());
        });
        ASSERT_TRUE(control);
        const CGFloat width = app->screenSize().width;
        EXPECT_EQ(control->maxX() < width / 2, c.mirrored) << control->minX();

        ASSERT_EQ(runScript("tap @label=Configuration\nwait 0.5\n").failures, 0);
        const simtest::ScreenImage screen(*app);
        const UIColor tint = app->visibleBar()->effectiveTintColor();
        const auto tinted = [&](const simtest::Rgb& p) {
            return std::abs(p.r - tint.red * 255) < 60 && std::abs(p.g - tint.green * 255) < 60 && std::abs(p.b - tint.blue * 255) < 60;
        };
        // The back chevron's tip, 9 points in from its end of the bar, level with the bar's middle.
        const CGFloat mid = sim::ScreenLayout::kStatusBarHeight + sim::ScreenLayout::kNavigationBarHeight / 2;
        const int left = screen.count(CGRectMake(8.5, mid - 1, 2, 2), tinted);
        const int right = screen.count(CGRectMake(width - 10.5, mid - 1, 2, 2), tinted);
        EXPECT_EQ(right > 0, c.mirrored) << right;
        EXPECT_EQ(left > 0, !c.mirrored) << left;
        // A tap on the chevron's end goes back.
        const auto configuration = app->visibleController();
        EXPECT_TRUE(app->tapAt({c.mirrored ? width - 15 : 15, mid}));
        advance(0.5);
        EXPECT_NE(app->visibleController().get(), configuration.get());
    }
}

// An alignment names a side of the screen: text that runs right to left, wrapped and aligned
// right, still ends at the right edge.
TEST(CanvasAlignmentTest, WrappedTextKeepsItsSideWhicheverWayItRuns) {
    for (const std::string text : {"Light", "\u202ELight\u202C"})
        for (const auto alignment : {NSTextAlignmentLeft, NSTextAlignmentRight}) {
            cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 200, 40);
            cairo_t* cr = cairo_create(surface);
            sim::Canvas(cr, 1).drawText(text, CGRectMake(0, 0, 200, 40), {.alignment = alignment, .wrap = true});
            cairo_surface_flush(surface);
            int leftInk = 0, rightInk = 0;
            const auto* data = cairo_image_surface_get_data(surface);
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 200; ++x) {
                    const auto alpha = reinterpret_cast<const std::uint32_t*>(data + y * cairo_image_surface_get_stride(surface))[x] >> 24;
                    (x < 100 ? leftInk : rightInk) += alpha > 0;
                }
            cairo_destroy(cr);
            cairo_surface_destroy(surface);
            EXPECT_EQ(alignment == NSTextAlignmentRight, rightInk > 0 && leftInk == 0) << text << " " << leftInk << "/" << rightInk;
        }
}
