#include "host/Preferences/PSClassFactories.h"

#include "host/Preferences/PSTableCell.h"
#include "host/UIKit/UIViewController.h"

namespace host {

std::shared_ptr<UIViewController> createController(const std::string& name) {
    const auto* make = ClassRegistry::shared().factory<ControllerFactory>(name);
    return make ? (*make)() : nullptr;
}

std::shared_ptr<PSTableCell> createCell(const std::string& name, NSInteger style, const std::string& reuseIdentifier,
    const std::shared_ptr<PSSpecifier>& specifier) {
    const auto* make = ClassRegistry::shared().factory<CellFactory>(name);
    return make ? (*make)(style, reuseIdentifier, specifier) : nullptr;
}

bool hasController(const std::string& name) { return ClassRegistry::shared().factory<ControllerFactory>(name) != nullptr; }
bool hasCell(const std::string& name) { return ClassRegistry::shared().factory<CellFactory>(name) != nullptr; }

}  // namespace host
