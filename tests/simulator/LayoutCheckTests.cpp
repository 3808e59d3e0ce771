// The layout check finds a text its row cannot hold, and finds nothing in the shipped languages
// on any profile; a right-to-left language mirrors the host's chrome from 9.0 only.
#include <gtest/gtest.h>

#include "host/UIKit/UISwitch.h"
#include "host/UIKit/UITableViewCell.h"
#include "simulator/LayoutCheck.h"
#include "tests/simulator/SimulatorFixture.h"

namespace {

class LayoutCheckTest : public SimulatorFixture {
protected:
    std::vector<sim::LayoutCheck::Finding> checkPane(std::vector<std::string>& unreached) {
        return sim::LayoutCheck::checkPane(*app, &unreached);
    }
};

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
            restart([&](auto& o) {
                o.profile = profile;
                o.languages = {language};
            });
            std::vector<std::string> unreached;
            const auto findings = checkPane(unreached);
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
    const auto findings = checkPane(unreached);
    EXPECT_TRUE(unreached.empty());
    const auto has = [&](const std::string& page, const std::string& text, const std::string& problem) {
        return std::any_of(findings.begin(), findings.end(), [&](const auto& f) {
            return f.page == page && f.text.starts_with(text) && f.problem.starts_with(problem) && f.lacks > 1;
        });
    };
    // Beside its switch the title is cut short; beside its value the list row's title runs into it.
    EXPECT_TRUE(has("root", "Enabled for", "truncated")) << describeAll(findings);
    EXPECT_TRUE(has("root", "Theme of", "overlaps")) << describeAll(findings);
    EXPECT_EQ(sim::LayoutCheck::report(findings, unreached, std::cout), 1);
    EXPECT_EQ(sim::LayoutCheck::report({}, {}, std::cout), 0);
}

TEST_F(LayoutCheckTest, DoubledTextsAreReported) {
    restart([](auto& o) { o.languages = {"pseudo-double"}; });
    std::vector<std::string> unreached;
    EXPECT_FALSE(checkPane(unreached).empty());
}

// From 9.0 a right-to-left language puts the switch and the back button on the left-hand ends'
// opposites; 8.x keeps the left-to-right layout.
TEST_F(LayoutCheckTest, RightToLeftMirrorsTheChromeFromNineOnly) {
    struct Case { std::string profile, language; bool mirrored; } cases[] = {
        {"iphone6s", "pseudo-rtl", true}, {"iphone7", "pseudo-rtl", true}, {"iphone6", "pseudo-rtl", false},
        {"iphone6s", "pseudo-double", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.profile + " " + c.language);
        restart([&](auto& o) {
            o.profile = c.profile;
            o.languages = {c.language};
        });
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
        const auto blue = [](const simtest::Rgb& p) { return p.b > 200 && p.r < 120; };
        const CGFloat top = sim::ScreenLayout::kStatusBarHeight, bar = sim::ScreenLayout::kNavigationBarHeight;
        const int left = screen.count(CGRectMake(0, top, 24, bar), blue);
        const int right = screen.count(CGRectMake(width - 24, top, 24, bar), blue);
        // The chevron's end holds blue; the other end of a page without a right button none.
        EXPECT_GT(c.mirrored ? right : left, 20);
        EXPECT_EQ(c.mirrored ? left : right, 0);
    }
}
