#pragma once
// A page shown from a page list on the device, with the host's own cells and no module behind it:
// what `--page FILE` previews. Its rows come from "<folder>/<List>.plist", localized from
// "<lang>.lproj/<List>.strings" in the same folder when there is one, as the host localizes a
// bundle's lists. A row's "cellClass" that only a module could provide is dropped (the row draws
// as the host's cell for its type) with one diagnostic; a row whose "detail" names a page class
// that only a module could provide opens the page list of that class from the same folder (see
// listNamesForClass).
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/Preferences/PSListController.h"

namespace sim {

class PreviewListController : public PSListController {
public:
    NS_CLASS(PreviewListController)

    // Told what the user should see: a sub-page that cannot be opened, say.
    using Notifier = std::function<void(const std::string&)>;

    // The page of the list "<folder>/<fileName>" (`folder` a device path); nothing is read yet.
    static std::shared_ptr<PreviewListController> create(std::string folder, std::string fileName, Notifier notify);

    void setNotifier(Notifier notify) { _notify = std::move(notify); }

    // Reads the list (once). False, with the reason, when it cannot be read or is not a page list
    // (not a dictionary with an "items" array); the page then has no rows.
    bool load(std::string* error = nullptr);
    // The list's "title" (localized), when it has one.
    const std::optional<std::string>& listTitle() const { return _listTitle; }
    // The device path of the list.
    std::string listPath() const;

    std::shared_ptr<PSSpecifierArray> specifiers() override;
    void didSelectRowAtIndexPath(const std::shared_ptr<UITableView>& tableView, NSIndexPath indexPath) override;

    // The list names a page class may stand for, in the order they are tried: the class name,
    // then without a "ListController" or "Controller" suffix, then each of those without a
    // leading maker prefix ("KXVelkaroConfigurationListController" -> ..., "VelkaroConfiguration").
    static std::vector<std::string> listNamesForClass(const std::string& className);
    // Whether a class is the host's own (not one a loaded module registered).
    static bool isHostController(const std::string& className);
    static bool isHostCell(const std::string& className);

private:
    void localize(PSSpecifierArray& rows);
    void openSubPage(const std::shared_ptr<PSSpecifier>& row);

    std::string _folder, _fileName, _tableName;
    Notifier _notify;
    std::optional<std::string> _listTitle;
    std::optional<std::string> _loadError;
    bool _loaded = false;
};

}  // namespace sim
