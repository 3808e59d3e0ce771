#include <gtest/gtest.h>

#include <set>

#include "cells/KXVelkaroDeveloperTableCell.h"
#include "host/Preferences/PSClassFactories.h"
#include "host/Runtime/DeviceProfile.h"
#include "host/Runtime/FailureInjection.h"
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
    // Created the way the host creates a row's cell: by class name.
    static std::shared_ptr<KXVelkaroDeveloperTableCell> cellFor(const std::shared_ptr<PSSpecifier>& specifier) {
        return std::dynamic_pointer_cast<KXVelkaroDeveloperTableCell>(host::createCell("KXVelkaroDeveloperTableCell", 1, "Cell", specifier));
    }
    static void install(std::set<std::string> schemes) {
        schemes.insert({"https", "http", "mailto"});
        host::DeviceProfile::mutableCurrent().installedURLSchemes = std::move(schemes);
    }
    // The addresses probed ("canOpenURL") or opened ("openURL"), in order.
    std::vector<std::string> urls(const std::string& kind = "openURL") const {
        std::vector<std::string> out;
        for (const auto& e : events(kind)) out.push_back(e.field("url"));
        return out;
    }
};

const std::vector<std::string> kAllProbes = {"aphelion://", "tweetbot://", "twitterrific://", "tweetings://", "twitter://"};

// A row without a user name (or with one that is not text) opens nothing and asks nothing.
TEST_F(DeveloperCellTest, TapOpensTheProfileInTheFirstInstalledClient) {
    // `expected` null: no address opened.
    const struct { std::set<std::string> installed; PlistValue user; const char* expected; std::size_t probesMade; } cases[] = {
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
        EXPECT_EQ(urls(), c.expected ? std::vector<std::string>{c.expected} : std::vector<std::string>{});
        EXPECT_EQ(urls("canOpenURL"), std::vector<std::string>(kAllProbes.begin(), kAllProbes.begin() + c.probesMade));
        EXPECT_FALSE(cell->isSelected()) << "the row never takes the selected look";
    }
}

TEST_F(DeveloperCellTest, EverySelectionOpensAgainDeselectionNeverAndTheStyleStaysBlue) {
    install({"twitter"});
    auto cell = cellFor(makerRow("skyvane_dev"));
    ASSERT_NE(cell, nullptr);
    cell->setSelected(false, false);
    cell->setSelected(false, true);
    EXPECT_TRUE(urls().empty() && urls("canOpenURL").empty());
    cell->setSelected(true, false);
    cell->setSelected(true, false);
    install({});  // removing the client between taps is noticed at the next tap
    cell->setSelected(true, false);
    EXPECT_EQ(urls(), (std::vector<std::string>{"twitter://user?screen_name=skyvane_dev", "twitter://user?screen_name=skyvane_dev",
                          "https://mobile.twitter.com/skyvane_dev"}));

    for (NSInteger style : {0, 2, 3}) {
        cell->setSelectionStyle(style);
        EXPECT_EQ(cell->selectionStyle(), UITableViewCellSelectionStyleBlue) << style;
    }
}

// A device that does not answer the idiom query is a phone.
TEST_F(DeveloperCellTest, DisplayNameSizeFollowsTheDeviceIdiom) {
    for (const auto& [profile, answersIdiom, size] : {std::tuple{"iphone6s", true, 20.0}, {"ipad-air2", true, 30.0}, {"ipad-air2", false, 20.0}}) {
        useProfile(profile);
        host::DeviceProfile::mutableCurrent().answersIdiomQuery = answersIdiom;
        auto cell = cellFor(makerRow("skyvane_dev"));
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->devNameLabel()->font(), (UIFont{"Helvetica Light", size})) << profile << (answersIdiom ? "" : " (no idiom)");
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
    const auto& layer = picture->layer();
    EXPECT_EQ(std::tuple(layer.shadowColor(), layer.shadowOffset(), layer.shadowOpacity(), layer.shadowRadius(), picture->clipsToBounds()),
        std::tuple(std::optional(UIColor::blackColor()), CGSize{0, 1}, 0.2f, CGFloat(1), false));

    const struct { std::shared_ptr<UILabel> label; const char* text; UIColor color; CGFloat size; } labels[] = {
        {cell->devNameLabel(), "Zo\xC3\xAB M", UIColor::darkGrayColor(), 20},  // by idiom, below
        {cell->realNameLabel(), "Zo\xC3\xAB Martel", UIColor::grayColor(), 15},
        {cell->jobLabel(), "Interface Design", UIColor::grayColor(), 12},
    };
    for (const auto& l : labels) {
        SCOPED_TRACE(l.text);
        ASSERT_NE(l.label, nullptr);
        EXPECT_EQ(std::tuple(l.label->text(), l.label->textColor(), l.label->font(), l.label->backgroundColor(), l.label->textAlignment()),
            std::tuple(l.text, l.color, UIFont{"Helvetica Light", l.size}, std::optional(UIColor::clearColor()), NSTextAlignmentCenter));
        EXPECT_EQ(l.label->superview(), cell);
    }

    // Solved in a 100-point row: the lines stack from 20 points above the centre, at x 110.
    cell->setFrame({{0, 0}, {375, 100}});
    cell->layoutIfNeeded();
    EXPECT_EQ(picture->frame(), (CGRect{{10, 15}, {70, 70}}));
    for (const auto& l : labels) EXPECT_EQ(l.label->frame().origin.x, 110) << l.text;
    const CGRect d = labels[0].label->frame(), r = labels[1].label->frame(), j = labels[2].label->frame();
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
        cell->setFrame({{0, 0}, {375, 100}});
        cell->layoutIfNeeded();
        EXPECT_EQ(std::tuple(cell->devImageView()->image(), cell->devImageView()->frame(), cell->jobLabel()->frame().origin.x),
            std::tuple(nullptr, CGRect{{10, 15}, {70, 70}}, CGFloat(110)));
    }
}

}  // namespace
