#pragma once
// The page a list row opens: one row per choice of the list row's titles, a checkmark on the
// stored value; tapping a choice stores it (and posts the row's notification).
#include <memory>

#include "host/Preferences/PSListController.h"

class PSListItemsController : public PSListController {
public:
    NS_CLASS(PSListItemsController)

    std::shared_ptr<PSSpecifierArray> specifiers() override;
    std::shared_ptr<UITableViewCell> cellForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
        NSIndexPath indexPath) override;
    void didSelectRowAtIndexPath(const std::shared_ptr<UITableView>& tableView, NSIndexPath indexPath) override;
};
