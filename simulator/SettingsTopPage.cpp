#include "simulator/SettingsTopPage.h"

#include "host/Preferences/HostStrings.h"

namespace sim {

std::shared_ptr<SettingsTopPage> SettingsTopPage::create(std::string entryName, std::string principalClass,
    std::function<void()> open) {
    auto page = std::make_shared<SettingsTopPage>();
    page->_entryName = std::move(entryName);
    page->_principalClass = std::move(principalClass);
    page->_open = std::move(open);
    page->setTitle(host::HostStrings::localized("Settings"));
    page->exposeSelector("openEntry", [weak = std::weak_ptr<SettingsTopPage>(page)](const id&) {
        if (auto self = weak.lock(); self && self->_open) self->_open();
    });
    return page;
}

void SettingsTopPage::setEntryIcon(std::shared_ptr<UIImage> icon) {
    _icon = std::move(icon);
    if (_entry) _entry->setIconImage(_icon);
}

std::shared_ptr<PSSpecifierArray> SettingsTopPage::specifiers() {
    if (_specifiers) return _specifiers;
    _specifiers = std::make_shared<PSSpecifierArray>();
    auto group = std::make_shared<PSSpecifier>();
    group->setCellType(PSGroupCell);
    group->setName(std::string());
    _entry = std::make_shared<PSSpecifier>();
    _entry->setCellType(PSLinkCell);
    _entry->setName(_entryName);
    _entry->setIdentifier(_entryName);
    _entry->setIconImage(_icon);
    // The detail class gives the row its disclosure indicator; the action opens it, because the
    // host decides which navigation controller the bundle's pages live in.
    _entry->setDetailControllerClassName(_principalClass);
    _entry->setAction("openEntry");
    _entry->setTarget(shared_from_this());
    _specifiers->push_back(group);
    _specifiers->push_back(_entry);
    return _specifiers;
}

void SettingsTopPage::setEntrySelected(bool selected) {
    _entrySelected = selected;
    auto path = _entry ? indexPathForSpecifier(_entry) : std::nullopt;
    if (auto cell = path && table() ? table()->cellForRowAtIndexPath(*path) : nullptr) cell->setSelected(selected, false);
}

std::shared_ptr<UITableViewCell> SettingsTopPage::cellForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
    NSIndexPath indexPath) {
    auto cell = PSListController::cellForRowAtIndexPath(tableView, indexPath);
    if (cell && _entrySelected && specifierAtIndexPath(indexPath) == _entry) cell->setSelected(true, false);
    return cell;
}

// A tap deselects the row once it is handled; the pane it keeps showing keeps it selected.
void SettingsTopPage::didSelectRowAtIndexPath(const std::shared_ptr<UITableView>& tableView, NSIndexPath indexPath) {
    PSListController::didSelectRowAtIndexPath(tableView, indexPath);
    setEntrySelected(_entrySelected);
}

}  // namespace sim
