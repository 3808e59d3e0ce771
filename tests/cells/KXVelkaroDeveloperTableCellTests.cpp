#include <gtest/gtest.h>

#include <set>

#include "cells/KXVelkaroDeveloperTableCell.h"
#include "host/Preferences/PSClassFactories.h"
#include "host/Runtime/DeviceProfile.h"
#include "host/Runtime/FailureInjection.h"
#include "host/UIKit/UIApplication.h"
#include "tests/support/DeviceFixture.h"

namespace {

class DeveloperCellTest : public DeviceFixture {
protected:
    static std::shared_ptr<PSSpecifier> row(const PlistValue::Dictionary& properties) {
        auto specifier = std::make_shared<PSSpecifier>();
        for (const auto& [key, value] : properties) specifier->setProperty(value, key);
        return specifier;
    }
    // A maker's row; a nil user is left out.
    static std::shared_ptr<PSSpecifier> makerRow(const PlistValue& user) {
        auto maker = row({{"devImage", "zoe"}, {"devName", "Zo\xC3\xAB M"}, {"realName", "Zo\xC3\xAB Martel"}, {"job", "Interface Design"}});
        if (!user.isNil()) maker->setProperty(user, "twitterUsername");
        return maker;
    }
    static std::shared_ptr<KXVelkaroDeveloperTableCell> cellFor(const std::shared_ptr<PSSpecifier>& specifier) {
        // Created the way the host creates a row's cell: by class name.
        auto cell = host::createCell("KXVelkaroDeveloperTableCell", 1, "Cell", specifier);
        return std::dynamic_pointer_cast<KXVelkaroDeveloperTableCell>(cell);
    }
    static void install(std::set<std::string> schemes) {
        schemes.insert({"https", "http", "mailto"});
        host::DeviceProfile::mutableCurrent().installedURLSchemes = std::move(schemes);
    }
    // The addresses probed ("canOpenURL") or opened ("openURL"), in order.
    std::vector<std::string> urls(const std::string& kind) const {
        std::vector<std::string> out;
        for (const auto& e : events(kind)) out.push_back(e.field("url"));
        return out;
    }
    std::vector<std::string> probes() const { return urls("canOpenURL"); }
    std::vector<std::string> opened() const { return urls("openURL"); }
};

const std::vector<std::string> kAllProbes = {"aphelion://", "tweetbot://", "twitterrific://", "tweetings://", "twitter://"};

// A row without a user name (or with one that is not text) opens nothing and asks nothing.
TEST_F(DeveloperCellTest, TapOpensTheProfileInTheFirstInstalledClient) {
    const struct {
        std::set<std::string> installed;
        PlistValue user;
        const char* expected;  // nothing: no address opened
        std::size_t probesMade;
    } cases[] = {
        {{"tweetbot"}, "skyvane_dev", "tweetbot:///user_profile/skyvane_dev", 2},
        {{"aphelion", "tweetbot"}, "Zo\xC3\xAB_M", "aphelion://profile/Zo%C3%AB_M", 1},
        {{"twitter"}, "tq quill@mv#1&2", "twitter://user?screen_name=tq%20quill%40mv%231%262", 5},
        {{"twitterrific", "tweetings", "twitter"}, "skyvane_dev", "twitterrific:///profile?screen_name=skyvane_dev", 3},
        {{"tweetings", "twitter"}, "100%", "tweetings:///user?screen_name=100%25", 4},
        {{"tweetbot", "twitter"}, "a:b/c=d,e!f$g'(h)*+;[i]?~",
            "tweetbot:///user_profile/a%3Ab%2Fc%3Dd%2Ce%21f%24g%27%28h%29%2A%2B%3B%5Bi%5D%3F~", 2},
        {{}, "tq quill@mv#1&2", "https://mobile.twitter.com/tq%20quill%40mv%231%262", 5},
        {{"tweetbot"}, PlistValue(), nullptr, 0}, {{"tweetbot"}, PlistValue(42), nullptr, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.user.description());
        host::EventLog::shared().clear();
        install(c.installed);
        auto cell = cellFor(makerRow(c.user));
        ASSERT_NE(cell, nullptr);
        cell->setSelected(true, true);
        EXPECT_EQ(opened(), c.expected ? std::vector<std::string>{c.expected} : std::vector<std::string>{});
        EXPECT_EQ(probes(), std::vector<std::string>(kAllProbes.begin(), kAllProbes.begin() + c.probesMade));
        EXPECT_FALSE(cell->isSelected()) << "the row never takes the selected look";
    }
}

TEST_F(DeveloperCellTest, EverySelectionOpensAgainDeselectionNeverAndTheStyleStaysBlue) {
    install({"twitter"});
    auto cell = cellFor(makerRow("skyvane_dev"));
    ASSERT_NE(cell, nullptr);
    cell->setSelected(false, false);
    cell->setSelected(false, true);
    EXPECT_TRUE(opened().empty());
    EXPECT_TRUE(probes().empty());
    cell->setSelected(true, false);
    cell->setSelected(true, false);
    EXPECT_EQ(opened().size(), 2u);

    // Removing the client between taps is noticed at the next tap.
    install({});
    cell->setSelected(true, false);
    EXPECT_EQ(opened().back(), "https://mobile.twitter.com/skyvane_dev");

    for (NSInteger style : {0, 2, 3}) {
        cell->setSelectionStyle(style);
        EXPECT_EQ(cell->selectionStyle(), UITableViewCellSelectionStyleBlue) << style;
    }
}

TEST_F(DeveloperCellTest, DisplayNameSizeFollowsTheDeviceIdiom) {
    const struct { const char* profile; bool answersIdiom; CGFloat expected; } cases[] = {
        {"iphone6s", true, 20}, {"ipad-air2", true, 30},
        {"ipad-air2", false, 20},  // a device that does not answer the idiom query is a phone
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.profile) + (c.answersIdiom ? "" : " (no idiom)"));
        useProfile(c.profile);
        host::DeviceProfile::mutableCurrent().answersIdiomQuery = c.answersIdiom;
        auto cell = cellFor(makerRow("skyvane_dev"));
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->devNameLabel()->font(), (UIFont{"Helvetica Light", c.expected}));
    }
}

TEST_F(DeveloperCellTest, ShowsPictureAndThreeLinesLaidOutRightOfIt) {
    host::FailureInjection::failNextInitialiser("PSTableCell");
    EXPECT_EQ(cellFor(makerRow("skyvane_dev")), nullptr);  // the base giving nil gives no cell
    auto cell = cellFor(makerRow("skyvane_dev"));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->reuseIdentifier(), "KXVelkaroDeveloperTableCell");
    EXPECT_EQ(cell->style(), UITableViewCellStyleDefault);

    auto picture = cell->devImageView();
    ASSERT_TRUE(picture && picture->image());
    EXPECT_EQ(picture->superview(), cell);
    EXPECT_EQ(picture->layer().shadowColor(), UIColor::blackColor());
    EXPECT_EQ(picture->layer().shadowOffset(), (CGSize{0, 1}));
    EXPECT_EQ(picture->layer().shadowOpacity(), 0.2f);
    EXPECT_EQ(picture->layer().shadowRadius(), 1);
    EXPECT_FALSE(picture->clipsToBounds());

    const struct { std::shared_ptr<UILabel> label; const char* text; UIColor color; CGFloat size; } labels[] = {
        {cell->devNameLabel(), "Zo\xC3\xAB M", UIColor::darkGrayColor(), 20},  // by idiom, below
        {cell->realNameLabel(), "Zo\xC3\xAB Martel", UIColor::grayColor(), 15},
        {cell->jobLabel(), "Interface Design", UIColor::grayColor(), 12},
    };
    for (const auto& l : labels) {
        SCOPED_TRACE(l.text);
        ASSERT_NE(l.label, nullptr);
        EXPECT_EQ(l.label->text(), l.text);
        EXPECT_EQ(l.label->textColor(), l.color);
        EXPECT_EQ(l.label->font(), (UIFont{"Helvetica Light", l.size}));
        EXPECT_EQ(l.label->backgroundColor(), UIColor::clearColor());
        EXPECT_EQ(l.label->textAlignment(), NSTextAlignmentCenter);
        EXPECT_EQ(l.label->superview(), cell);
    }

    const auto dev = cell->devNameLabel(), real = cell->realNameLabel(), job = cell->jobLabel();
    // Solved in a 100-point row: the lines stack from 20 points above the centre, at x 110.
    cell->setFrame({{0, 0}, {375, 100}});
    cell->layoutIfNeeded();
    EXPECT_EQ(picture->frame(), (CGRect{{10, 15}, {70, 70}}));
    for (const auto& l : labels) EXPECT_EQ(l.label->frame().origin.x, 110) << l.text;
    const CGRect d = dev->frame(), r = real->frame(), j = job->frame();
    EXPECT_GT(d.size.width, 0);
    EXPECT_DOUBLE_EQ(d.origin.y + d.size.height / 2, 30);
    EXPECT_DOUBLE_EQ(r.origin.y, d.origin.y + d.size.height);
    EXPECT_DOUBLE_EQ(j.origin.y, r.origin.y + r.size.height + 5);
}

// A picture that cannot be loaded, or none named at all, leaves an empty frame and the labels in place.
TEST_F(DeveloperCellTest, PictureThatCannotBeLoadedLeavesAnEmptyFrameAndTheLabelsInPlace) {
    for (const PlistValue& devImage : {PlistValue("nobody"), PlistValue()}) {
        SCOPED_TRACE(devImage.description());
        auto properties = makerRow("skyvane_dev")->properties();
        properties.erase("devImage");
        if (!devImage.isNil()) properties["devImage"] = devImage;
        auto cell = cellFor(row(properties));
        ASSERT_TRUE(cell && cell->devImageView());
        EXPECT_EQ(cell->devImageView()->image(), nullptr);
        cell->setFrame({{0, 0}, {375, 100}});
        cell->layoutIfNeeded();
        EXPECT_EQ(cell->devImageView()->frame(), (CGRect{{10, 15}, {70, 70}}));
        EXPECT_EQ(cell->jobLabel()->frame().origin.x, 110);
    }
}

}  // namespace
