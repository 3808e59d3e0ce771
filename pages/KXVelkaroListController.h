#pragma once
// The base of every page of the pane: loads a page's rows localized, themes the navigation bar,
// the page's switches and the status bar while the page is on screen, and gives every row's
// title the dark theme colour.
#include <memory>
#include <string>

#include "host/Preferences/PSListController.h"
#include "host/UIKit/UIColor.h"
#include "host/UIKit/UINavigationBar.h"

class KXVelkaroListController : public PSListController {
public:
    NS_CLASS(KXVelkaroListController)

    // specifiersForPlistName: — the rows of the named property list, localized in place.
    std::shared_ptr<PSSpecifierArray> specifiersForPlistName(const std::string& plistName);

    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    // tableView:cellForRowAtIndexPath:
    std::shared_ptr<UITableViewCell> cellForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
        NSIndexPath indexPath) override;

    // The theme colours.
    static UIColor accentGreen() { return UIColor::colorWithRed(64 / 255.0, 210 / 255.0, 114 / 255.0, 1.0); }
    static UIColor barBlack() { return UIColor::colorWithRed(10 / 255.0, 10 / 255.0, 10 / 255.0, 1.0); }
    static UIColor switchGreen() { return UIColor::colorWithRed(0 / 255.0, 155 / 255.0, 119 / 255.0, 1.0); }

    // The Core Foundation versions of releases 8.0 and 9.0: between them, both included, the
    // visible bar is the one two navigation controllers up.
    static bool isNestedBarRange(double coreFoundationVersion) {
        return coreFoundationVersion >= 1140.1 && coreFoundationVersion <= 1240.1;
    }

    NSInteger prevStatusStyle = 0;

private:
    // The bar this page themes, looked up afresh for every setting; nullptr when there is none.
    std::shared_ptr<UINavigationBar> themedBar() const;
    // True while a style saved at an appear has not yet been given back at a disappear.
    bool _statusStyleSaved = false;
};
