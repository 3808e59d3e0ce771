#include "pages/KXVelkaroListController.h"

#include "host/Runtime/DeviceProfile.h"
#include "host/UIKit/UIApplication.h"
#include "host/UIKit/UINavigationController.h"
#include "host/UIKit/UISwitch.h"
#include "localization/KXVelkaroLocalizer.h"

std::shared_ptr<PSSpecifierArray> KXVelkaroListController::specifiersForPlistName(const std::string& plistName) {
    auto rows = loadSpecifiersFromPlistName(plistName, shared_from_this());
    return KXVelkaroLocalizer::sharedLocalizer()->localizedSpecifiersForSpecifiers(rows);
}

std::shared_ptr<UINavigationBar> KXVelkaroListController::themedBar() const {
    auto nav = navigationController();
    if (!nav) return nullptr;
    if (isNestedBarRange(kCFCoreFoundationVersionNumber)) {
        auto outer = nav->navigationController();
        return outer ? outer->navigationBar() : nullptr;
    }
    return nav->navigationBar();
}

void KXVelkaroListController::viewWillAppear(bool animated) {
    PSListController::viewWillAppear(animated);
    const NSTitleTextAttributes whiteTitle{{NSForegroundColorAttributeName, UIColor::whiteColor()}};
    if (isNestedBarRange(kCFCoreFoundationVersionNumber)) {
        if (auto bar = themedBar()) bar->setTintColor(accentGreen());
        if (auto bar = themedBar()) bar->setBarTintColor(barBlack());
        if (auto bar = themedBar()) bar->setTitleTextAttributes(whiteTitle);
    } else {
        if (auto bar = themedBar()) bar->setTitleTextAttributes(whiteTitle);
        if (auto bar = themedBar()) bar->setTintColor(accentGreen());
        if (auto bar = themedBar()) bar->setBarTintColor(barBlack());
    }
    UISwitch::appearanceWhenContainedIn({className()}).setOnTintColor(switchGreen());

    auto app = UIApplication::sharedApplication();
    // A second appear without a disappear between keeps the style saved at the first: saving
    // again would store the light style this page set itself, and leaving would keep it.
    if (!_statusStyleSaved) {
        prevStatusStyle = app->statusBarStyle();
        _statusStyleSaved = true;
    }
    app->setStatusBarStyle(1);
}

void KXVelkaroListController::viewWillDisappear(bool animated) {
    PSListController::viewWillDisappear(animated);
    if (auto bar = themedBar()) bar->setTintColor(std::nullopt);
    if (auto bar = themedBar()) bar->setBarTintColor(std::nullopt);
    if (auto bar = themedBar()) bar->setTitleTextAttributes(std::nullopt);
    UIApplication::sharedApplication()->setStatusBarStyle(prevStatusStyle);
    _statusStyleSaved = false;
}

std::shared_ptr<UITableViewCell> KXVelkaroListController::cellForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
    NSIndexPath indexPath) {
    auto cell = PSListController::cellForRowAtIndexPath(tableView, indexPath);
    if (auto psCell = std::dynamic_pointer_cast<PSTableCell>(cell))
        psCell->titleLabel()->setTextColor(barBlack());
    else if (cell)
        cell->textLabel()->setTextColor(barBlack());
    return cell;
}
