#include "host/Preferences/PSListItemsController.h"

#include "host/Preferences/PSClassFactories.h"

std::shared_ptr<PSSpecifierArray> PSListItemsController::specifiers() {
    if (_specifiers) return _specifiers;
    _specifiers = std::make_shared<PSSpecifierArray>();
    auto list = specifier();
    if (!list) return _specifiers;
    setTitle(list->name());
    auto group = std::make_shared<PSSpecifier>();
    group->setCellType(PSGroupCell);
    _specifiers->push_back(group);
    if (!list->titleDictionary()) return _specifiers;
    for (const auto& [value, title] : *list->titleDictionary()) {
        auto item = std::make_shared<PSSpecifier>();
        item->setCellType(PSListItemCell);
        item->setName(title);
        item->setProperty(value, "value");
        _specifiers->push_back(item);
    }
    return _specifiers;
}

std::shared_ptr<UITableViewCell> PSListItemsController::cellForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
    NSIndexPath indexPath) {
    auto cell = PSListController::cellForRowAtIndexPath(tableView, indexPath);
    auto item = specifierAtIndexPath(indexPath);
    if (cell && item && specifier()) {
        const PlistValue current = readPreferenceValue(specifier());
        const PlistValue& value = item->propertyForKey("value");
        const bool checked = value == current || (value.number() && current.number() && *value.number() == *current.number());
        cell->setAccessoryType(checked ? UITableViewCellAccessoryCheckmark : UITableViewCellAccessoryNone);
    }
    return cell;
}

void PSListItemsController::didSelectRowAtIndexPath(const std::shared_ptr<UITableView>& tableView, NSIndexPath indexPath) {
    auto item = specifierAtIndexPath(indexPath);
    if (!item || !specifier()) return;
    setPreferenceValue(item->propertyForKey("value"), specifier());
    reloadSpecifiers();
}

static host::RegisterController<PSListItemsController> registration;
