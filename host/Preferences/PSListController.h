#pragma once
// A preference page: rows (specifiers) loaded from a property list of its bundle, shown in a
// grouped table. The page answers the table's questions from its rows, creates each row's cell
// (the row's "cellClass" through the class registry, else the host's cell for its type), shows
// stored values, and handles taps: link rows push their "detail" page, button rows send their
// "action" to the row's target, list rows open the list of choices.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/Foundation/NSBundle.h"
#include "host/Preferences/PSSpecifier.h"
#include "host/Preferences/PSTableCell.h"
#include "host/UIKit/UITableView.h"
#include "host/UIKit/UIViewController.h"

class PSListController : public UIViewController, public UITableViewDataSource, public UITableViewDelegate {
public:
    NS_CLASS(PSListController)

    // The page's rows. The base loads nothing: it returns _specifiers as they stand.
    virtual std::shared_ptr<PSSpecifierArray> specifiers();
    // loadSpecifiersFromPlistName:target: — the rows of "<name>.plist" in this page's bundle, with
    // `target` as the target of their actions. A missing or malformed list gives an empty array
    // and a diagnostic in the event log.
    virtual std::shared_ptr<PSSpecifierArray> loadSpecifiersFromPlistName(const std::string& plistName, const id& target);
    // The bundle this page's class came from.
    std::shared_ptr<NSBundle> bundle() const;

    // The row that opened this page (set by the page that pushed it).
    const std::shared_ptr<PSSpecifier>& specifier() const { return _specifier; }
    void setSpecifier(std::shared_ptr<PSSpecifier> specifier) { _specifier = std::move(specifier); }

    void loadView() override;
    // Records a "viewDidLoad" event (field "controller"), so the order of a page's own set-up
    // around the host's can be seen.
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    std::shared_ptr<UITableView> table() const { return _table; }
    // Asks for the rows again and lays the table out anew.
    void reloadSpecifiers();
    std::shared_ptr<PSSpecifier> specifierAtIndexPath(NSIndexPath indexPath);
    std::optional<NSIndexPath> indexPathForSpecifier(const std::shared_ptr<PSSpecifier>& specifier);

    // Row values: the stored value or the row's default; storing also posts the row's
    // "PostNotification" when it has one.
    virtual PlistValue readPreferenceValue(const std::shared_ptr<PSSpecifier>& specifier);
    virtual void setPreferenceValue(const PlistValue& value, const std::shared_ptr<PSSpecifier>& specifier);

    // UITableViewDataSource and UITableViewDelegate, answered from the rows.
    NSInteger numberOfSectionsInTableView(const std::shared_ptr<UITableView>& tableView) override;
    NSInteger numberOfRowsInSection(const std::shared_ptr<UITableView>& tableView, NSInteger section) override;
    std::shared_ptr<UITableViewCell> cellForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
        NSIndexPath indexPath) override;
    std::optional<std::string> titleForHeaderInSection(const std::shared_ptr<UITableView>& tableView, NSInteger section) override;
    std::optional<std::string> titleForFooterInSection(const std::shared_ptr<UITableView>& tableView, NSInteger section) override;
    CGFloat heightForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView, NSIndexPath indexPath) override;
    void didSelectRowAtIndexPath(const std::shared_ptr<UITableView>& tableView, NSIndexPath indexPath) override;

protected:
    // The host-declared field holding the page's rows; nil until first loaded.
    std::shared_ptr<PSSpecifierArray> _specifiers;

    // Opens a row's "detail" page on this page's navigation controller.
    void pushDetailForSpecifier(const std::shared_ptr<PSSpecifier>& specifier);

private:
    struct Group {
        std::shared_ptr<PSSpecifier> group;  // the PSGroupCell row, or nullptr for rows before any group
        std::vector<std::shared_ptr<PSSpecifier>> rows;
    };
    const std::vector<Group>& groups();
    std::shared_ptr<PSTableCell> makeCell(const std::shared_ptr<PSSpecifier>& specifier);

    std::shared_ptr<PSSpecifier> _specifier;
    std::shared_ptr<UITableView> _table;
    std::vector<Group> _groups;
    std::shared_ptr<PSSpecifierArray> _groupedFrom;
    std::size_t _groupedCount = 0;
    std::map<const PSSpecifier*, std::shared_ptr<PSTableCell>> _cells;
};
