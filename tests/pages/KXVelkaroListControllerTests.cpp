// The page base: localized rows, the themed bar, switch colour, status bar, row title colour.
#include <gtest/gtest.h>

#include <set>

#include "host/Preferences/PSRootController.h"
#include "host/Runtime/DeviceProfile.h"
#include "host/UIKit/UIApplication.h"
#include "host/UIKit/UISwitch.h"
#include "pages/KXVelkaroListController.h"
#include "tests/support/DeviceFixture.h"

namespace {

// A page of the base class showing the rows of `plist`.
class PlistPage : public KXVelkaroListController {
public:
    std::shared_ptr<PSSpecifierArray> specifiers() override {
        if (!_specifiers) _specifiers = specifiersForPlistName(plist);
        return _specifiers;
    }
    std::string plist = "Velkaro";
};

using KXVelkaroListControllerTest = DeviceFixture;

TEST_F(KXVelkaroListControllerTest, SpecifiersForPlistNameLocalizesTheLoadedRows) {
    host::DeviceProfile::mutableCurrent().preferredLanguages = {"fr"};
    NSBundle::flushCaches();
    auto page = std::make_shared<PlistPage>();
    auto rows = page->specifiersForPlistName("Velkaro");
    ASSERT_EQ(rows->size(), 14u);
    EXPECT_EQ((*rows)[1]->name(), "Activé");
    EXPECT_EQ((*rows)[1]->target(), page) << "row actions go to the page";
}

// Which bar is themed, and in which order the three settings arrive, by system version. Leaving
// hands the bar back to the platform defaults, not to what it had before the page came.
TEST_F(KXVelkaroListControllerTest, VersionTestChoosesTheBarAndTheOrder) {
    const std::vector<std::string> nestedOrder{"tintColor", "barTintColor", "titleTextAttributes"};
    const std::vector<std::string> ownOrder{"titleTextAttributes", "tintColor", "barTintColor"};
    struct Case { double version; bool nested; } cases[] = {
        {847.24, false}, {1140.0999999, false}, {1140.1, true}, {1145.15, true}, {1240.1, true}, {1240.1000001, false},
    };
    for (const auto& c : cases) {
        kCFCoreFoundationVersionNumber = c.version;
        auto page = std::make_shared<KXVelkaroListController>();
        auto outer = std::make_shared<PSRootController>();
        auto inner = std::make_shared<UINavigationController>();
        const auto themed = c.nested ? outer->navigationBar() : inner->navigationBar();
        const auto other = c.nested ? inner->navigationBar() : outer->navigationBar();
        themed->setTintColor(UIColor::blackColor());
        themed->setBarTintColor(UIColor::whiteColor());
        themed->setTitleTextAttributes(NSTitleTextAttributes{{NSForegroundColorAttributeName, UIColor::grayColor()}});
        outer->pushViewController(inner, false);
        inner->pushViewController(page, false);
        for (const auto& bar : {themed, other}) bar->clearSettingHistory();
        page->viewWillAppear(false);
        SCOPED_TRACE(c.version);
        EXPECT_EQ(themed->settingHistory(), c.nested ? nestedOrder : ownOrder);
        EXPECT_TRUE(other->settingHistory().empty());
        EXPECT_EQ(std::tuple(themed->tintColor(), themed->barTintColor(), themed->effectiveTitleColor()),
            std::tuple(KXVelkaroListController::accentGreen(), KXVelkaroListController::barBlack(), UIColor::whiteColor()));
        themed->clearSettingHistory();
        page->viewWillDisappear(false);
        EXPECT_EQ(themed->settingHistory(), nestedOrder) << "disappear: tint, bar tint, title in both cases";
        EXPECT_FALSE(themed->tintColor() || themed->barTintColor() || themed->titleTextAttributes());
    }
}

class OtherPage : public KXVelkaroListController {
public:
    NS_CLASS(OtherPage)
};

// The on-colour is set for switches inside the appearing page's own class, and stays.
TEST_F(KXVelkaroListControllerTest, SwitchColourPerPageClass) {
    auto page = std::make_shared<OtherPage>();
    auto nav = showPage(page);
    EXPECT_EQ(UISwitch::appearanceWhenContainedIn({"KXVelkaroListController"}).onTintColor(), std::nullopt);
    page->viewWillDisappear(false);
    EXPECT_EQ(UISwitch::appearanceWhenContainedIn({"OtherPage"}).onTintColor(), KXVelkaroListController::switchGreen());
    auto inside = std::make_shared<UISwitch>();
    page->view()->addSubview(inside);
    EXPECT_EQ(inside->effectiveOnTintColor(), KXVelkaroListController::switchGreen());
    EXPECT_EQ(std::make_shared<UISwitch>()->effectiveOnTintColor(), UISwitch::defaultOnTintColor());
}

// The light style shows while a page is up. Leaving gives back the style in force at the first
// appear (a second appear keeps it) and forgets it, so the next appear saves afresh; a disappear
// with no appear before it gives the default style.
TEST_F(KXVelkaroListControllerTest, StatusBarStyleIsSavedOnceAndGivenBackOnLeaving) {
    auto app = UIApplication::sharedApplication();
    app->setStatusBarStyle(0);
    auto page = std::make_shared<KXVelkaroListController>();
    auto nav = showPage(page);
    EXPECT_EQ(app->statusBarStyle(), 1);
    page->viewWillAppear(false);
    page->viewWillDisappear(false);
    EXPECT_EQ(app->statusBarStyle(), 0);
    app->setStatusBarStyle(1);
    page->viewWillAppear(false);
    app->setStatusBarStyle(0);
    page->viewWillDisappear(false);
    EXPECT_EQ(app->statusBarStyle(), 1);
    std::make_shared<KXVelkaroListController>()->viewWillDisappear(false);
    EXPECT_EQ(app->statusBarStyle(), 0);
}

// Without a navigation controller, or in the nested range without one above it, there is no bar
// to colour; the switch colour and the status bar are set all the same.
TEST_F(KXVelkaroListControllerTest, NoBarToThemeStillSetsSwitchAndStatusBar) {
    auto page = std::make_shared<KXVelkaroListController>();
    page->view();
    page->viewWillAppear(false);
    EXPECT_EQ(std::tuple(UIApplication::sharedApplication()->statusBarStyle(), UISwitch::appearanceWhenContainedIn({"KXVelkaroListController"}).onTintColor()),
        std::tuple(NSInteger(1), std::optional(KXVelkaroListController::switchGreen())));
    kCFCoreFoundationVersionNumber = 1145.15;
    auto lone = std::make_shared<KXVelkaroListController>();
    auto nav = UINavigationController::initWithRootViewController(lone);
    lone->viewWillAppear(false);
    EXPECT_TRUE(nav->navigationBar()->settingHistory().empty());
}

// Every row's title is bar black, whatever the cell class, the bundle's own cells included.
TEST_F(KXVelkaroListControllerTest, EveryRowTitleIsBarBlack) {
    for (const auto& [plist, ownCell] : {std::pair{"Velkaro", ""}, {"VelkaroConfiguration", "KXVelkaroSliderCell"},
             {"VelkaroMakers", "KXVelkaroDeveloperTableCell"}}) {
        auto page = std::make_shared<PlistPage>();
        page->plist = plist;
        auto nav = showPage(page);
        std::set<std::string> classes{""};
        auto table = page->table();
        for (NSInteger s = 0; s < page->numberOfSectionsInTableView(table); ++s)
            for (NSInteger r = 0; r < page->numberOfRowsInSection(table, s); ++r) {
                auto cell = std::dynamic_pointer_cast<PSTableCell>(page->cellForRowAtIndexPath(table, {s, r}));
                ASSERT_TRUE(cell) << plist << " " << s << "/" << r;
                EXPECT_EQ(cell->titleLabel()->textColor(), KXVelkaroListController::barBlack()) << cell->className();
                classes.insert(cell->className());
            }
        EXPECT_TRUE(classes.count(ownCell)) << plist;
    }
}

}  // namespace
