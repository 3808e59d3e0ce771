#pragma once
// The Settings application's own first page: one group listing the installed preference bundle,
// as the device's Settings lists a tweak. Tapping the entry hands over to the application, which
// creates the bundle's principal class and pushes it.
#include <functional>
#include <memory>
#include <string>

#include "host/Preferences/PSListController.h"

namespace sim {

class SettingsTopPage : public PSListController {
public:
    // `entryName` is the row's title ("Velkaro"), `principalClass` the page it opens; `open` runs
    // when the row is tapped.
    static std::shared_ptr<SettingsTopPage> create(std::string entryName, std::string principalClass,
        std::function<void()> open);

    NS_CLASS(SettingsTopPage)
    std::shared_ptr<PSSpecifierArray> specifiers() override;

    // The picture shown at the left of the entry's title; nullptr shows the title alone.
    void setEntryIcon(std::shared_ptr<UIImage> icon);

    // The entry's row (it becomes the bundle root page's specifier).
    const std::shared_ptr<PSSpecifier>& entry() const { return _entry; }

    // On a pad the list stays beside the pane it opened, its row selected while the pane shows.
    void setEntrySelected(bool selected);
    bool isEntrySelected() const { return _entrySelected; }
    std::shared_ptr<UITableViewCell> cellForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
        NSIndexPath indexPath) override;
    void didSelectRowAtIndexPath(const std::shared_ptr<UITableView>& tableView, NSIndexPath indexPath) override;

private:
    bool _entrySelected = false;
    std::string _entryName, _principalClass;
    std::function<void()> _open;
    std::shared_ptr<PSSpecifier> _entry;
    std::shared_ptr<UIImage> _icon;
};

}  // namespace sim
