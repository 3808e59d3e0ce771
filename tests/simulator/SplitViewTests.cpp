// A pad's Settings as a split view: the list on the left with its row selected while the pane
// shows, the separator, the pane laid out and centred in the right column, taps in each column,
// the dump of both, and the mail composer as a form sheet over the dimmed screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "host/MessageUI/MFMailComposeViewController.h"
#include "simulator/ModalLayout.h"
#include "simulator/ScreenColumns.h"
#include "simulator/ScreenDump.h"
#include "tests/simulator/SimulatorFixture.h"

namespace {

using sim::ScreenLayout;
using simtest::Rgb;
using simtest::ScreenImage;

const Rgb kGrouped{239, 239, 244}, kDefaultBar{247, 247, 247}, kBarBlack{10, 10, 10}, kSelected{217, 217, 217}, kWhite{255, 255, 255};
const Rgb kSeparator{178, 178, 178};

class SplitViewTest : public SimulatorFixture {
protected:
    void SetUp() override {
        SimulatorFixture::SetUp();
        restart([](sim::SettingsApp::Options& o) { o.profile = "ipad-air2"; });
    }
    CGRect pane() const { return sim::ScreenColumns::paneFrame(app->screenSize()); }
    // The middle of the leftmost and rightmost pixels in `band` (points) that `match`, in points.
    static double middleOf(const ScreenImage& screen, CGRect band, const std::function<bool(const Rgb&)>& match) {
        int first = -1, last = -1;
        for (int y = int(band.minY() * screen.scale()); y < int(band.maxY() * screen.scale()); ++y)
            for (int x = int(band.minX() * screen.scale()); x < int(band.maxX() * screen.scale()); ++x)
                if (match(screen.pixel(x, y))) {
                    if (first < 0 || x < first) first = x;
                    last = std::max(last, x);
                }
        return first < 0 ? -1 : (first + last + 1) / 2.0 / screen.scale();
    }
    std::string columnLines() const {
        const std::string dump = sim::ScreenDump::describe(*app);
        const auto start = dump.find("list column");
        return start == std::string::npos ? dump : dump.substr(start, dump.find('\n', dump.find("pane column")) - start);
    }
};

// Before the pane is chosen the list stands alone beside an empty column; once chosen, its row
// stays selected and the list keeps the platform's bar while the pane's bar is themed. The
// separator lies at x=320.
TEST_F(SplitViewTest, ListSeparatorAndEmptyOrChosenPane) {
    const CGPoint entry{250, ScreenLayout::kContentTop + 35 + 22}, listBar{100, 40}, paneBody{600, 600}, paneBar{500, 40};
    const struct Step { const char* what; Rgb entry; std::optional<Rgb> paneBody; Rgb paneBar; const char* dump; } steps[] = {
        {"nothing chosen", kWhite, kGrouped, kDefaultBar,
            "list column (0-320 pt): page SettingsTopPage \"Settings\": \"Velkaro\"\npane column (321-768 pt): empty"},
        {"pane chosen", kSelected, std::nullopt, kBarBlack,
            "list column (0-320 pt): page SettingsTopPage \"Settings\": \"Velkaro\" (selected)\npane column (321-768 pt):"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        ASSERT_TRUE(&step == steps || app->tapAt(entry));  // the entry is tapped between the steps
        ScreenImage screen(*app);
        EXPECT_EQ((std::vector{screen.at(entry), screen.at(listBar), screen.at(paneBar)}), (std::vector{step.entry, kDefaultBar, step.paneBar}))
            << "the entry, the list's bar, the pane's bar";
        if (step.paneBody) {
            EXPECT_EQ(screen.at(paneBody), *step.paneBody);
        }
        for (int y : {30, 400, 1000})
            for (const auto& [x, line] : {std::pair{319.75, false}, {320.25, true}, {320.75, true}, {321.25, false}})
                EXPECT_EQ(screen.at({x, double(y)}) == kSeparator, line) << screen.at({x, double(y)}) << " at " << x << ", " << y;
        EXPECT_EQ(columnLines(), step.dump);
    }
}

// The pane's pages lay out at the right column's width: the header banner, the footer logo and
// the bar's title are centred in that column, and the sliders end inside it.
TEST_F(SplitViewTest, PanePagesFollowTheRightColumn) {
    ASSERT_TRUE(app->openBundleEntry());
    advance(1.2);  // the logo in the bar has faded in
    const double middle = pane().midX();
    const auto table = app->visiblePage()->table();
    for (const auto& section : table->sections()) {
        if (section.headerView) {
            EXPECT_EQ(section.headerView->frame().width(), pane().width());
        }
        for (const auto& row : section.rows) EXPECT_EQ(row.rect.width(), pane().width());
    }
    ScreenImage root(*app);
    const auto& header = table->sections().at(0).headerRect;
    const auto text = [](const Rgb& c) { return c.r < 200 && c.r == c.g && c.g == c.b; };
    EXPECT_NEAR(middleOf(root, CGRectMake(pane().minX(), ScreenLayout::kContentTop + header.minY(), pane().width(), header.height()), text),
        middle, 1.5) << "header banner";
    const auto green = [](const Rgb& c) { return c.g > c.r + 60 && c.g > c.b + 30; };
    // Between the bar's buttons, whose compose glyph is green too.
    EXPECT_NEAR(middleOf(root, CGRectMake(pane().minX() + 60, 0, pane().width() - 120, ScreenLayout::kContentTop), green), middle, 1.5)
        << "logo in the bar";
    const auto logo = std::find_if(table->sections().begin(), table->sections().end(),
        [](const auto& section) { return section.headerView && section.headerView->className() == "KXVelkaroLogoTableCell"; });
    ASSERT_NE(logo, table->sections().end());
    const CGRect logoBand = CGRectMake(pane().minX(), ScreenLayout::kContentTop + logo->headerRect.minY() - table->contentOffset(),
        pane().width(), logo->headerRect.height());
    EXPECT_NEAR(middleOf(root, logoBand, green), middle, 1.5) << "footer logo";

    tap("Configuration");
    app->finishTransitions();
    ScreenImage configuration(*app);
    const CGRect title = CGRectMake(pane().minX() + 100, ScreenLayout::kStatusBarHeight, pane().width() - 200, ScreenLayout::kNavigationBarHeight);
    EXPECT_NEAR(middleOf(configuration, title, [](const Rgb& c) { return c == kWhite; }), middle, 1.5) << "title";
    const auto track = sliderRect("Artwork offset");
    ASSERT_TRUE(track);
    EXPECT_TRUE(track->minX() > pane().minX() && track->maxX() < pane().maxX() - 40)
        << track->minX() << " to " << track->maxX() << ": inside the column, with room for the value at the row's end";
}

// Taps: the list's row opens the pane, and later takes it back to its first page; in the pane's
// column a row opens its page and the back button goes back, but its first page has nothing to
// go back to (the list's bar where a phone's back button would be does nothing either).
TEST_F(SplitViewTest, TapsInEachColumn) {
    const CGPoint entry{250, ScreenLayout::kContentTop + 35 + 22};
    EXPECT_FALSE(app->tapAt({600, 300})) << "the empty column";
    ASSERT_TRUE(app->tapAt(entry));
    EXPECT_EQ(app->visiblePage()->className(), "VelkaroListController");
    EXPECT_FALSE(app->canGoBack());
    EXPECT_FALSE(app->tapAt({20, 40}) || app->tapAt({pane().minX() + 20, 40})) << "a back button in either bar";

    const auto table = app->visiblePage()->table();
    const CGRect row = table->sections().at(rowOf("Configuration").section).rows.at(rowOf("Configuration").row).rect;
    ASSERT_TRUE(app->tapAt({pane().minX() + row.midX(), ScreenLayout::kContentTop + row.midY() - table->contentOffset()}));
    EXPECT_EQ(app->visiblePage()->className(), "KXVelkaroConfigurationListController");
    EXPECT_FALSE(app->tapAt({20, 40})) << "the list's bar";
    ASSERT_TRUE(app->tapAt({pane().minX() + 20, 40}));
    EXPECT_EQ(app->visiblePage()->className(), "VelkaroListController");

    tap("Makers");
    ASSERT_TRUE(app->tapAt(entry));
    EXPECT_EQ(app->visiblePage()->className(), "VelkaroListController");
    EXPECT_NE(columnLines().find("(selected)"), std::string::npos);

    EXPECT_EQ(runScript("back\n").err, "line 1: this is the pane's first page, with the Settings list beside it: there is nothing to go back to\n");
}

// The mail composer is a form sheet of 540x620 points centred over the dimmed screen on a pad,
// with its buttons drawn and tapped in one place; a phone's covers the screen.
TEST_F(SplitViewTest, MailComposerIsAFormSheetOnAPad) {
    struct Case { const char* profile; CGRect frame; };
    for (const Case& c : {Case{"ipad-air2", CGRectMake(114, 202, 540, 620)}, Case{"iphone6s", CGRectMake(0, 0, 375, 667)}}) {
        SCOPED_TRACE(c.profile);
        restart([&](sim::SettingsApp::Options& o) { o.profile = c.profile; });
        ASSERT_TRUE(app->openBundleEntry());
        tap("Email Support");
        ASSERT_TRUE(std::dynamic_pointer_cast<MFMailComposeViewController>(app->presentedController()));
        EXPECT_EQ(app->presentedFrame(), c.frame);
        const auto buttons = app->presentedButtons();
        ASSERT_EQ(buttons.size(), 2u);
        app->finishTransitions();
        ScreenImage screen(*app);
        const auto blue = [](const Rgb& p) { return p.b > 200 && p.r < 100; };
        for (const auto& b : buttons) {
            EXPECT_TRUE(c.frame.contains(b.frame.origin) && c.frame.contains({b.frame.maxX() - 1, b.frame.maxY() - 1})) << b.title;
            EXPECT_GT(screen.count(b.frame, blue), 40) << b.title << " drawn where it is tapped";
        }
        if (c.frame.width() < app->screenSize().width) {
            // Beside the sheet the list's background shows at about 60 %.
            const Rgb dimmed = screen.at({60, 600});
            EXPECT_NEAR(dimmed.r, kGrouped.r * 0.6, 2);
            EXPECT_NEAR(dimmed.b, kGrouped.b * 0.6, 2);
            EXPECT_EQ(screen.at({c.frame.midX(), c.frame.maxY() - 4}), kWhite) << "the sheet's own background";
            EXPECT_NE(sim::ScreenDump::describe(*app).find("(form sheet 540x620 at 114,202)"), std::string::npos);
        }
        ASSERT_TRUE(app->tapAt({buttons[1].frame.midX(), buttons[1].frame.midY()}));
        EXPECT_FALSE(app->presentedController()) << "Send was tapped";
    }
}

}  // namespace
