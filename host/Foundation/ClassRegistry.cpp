#include "host/Foundation/ClassRegistry.h"

#include "host/Preferences/PSTableCell.h"
#include "host/UIKit/UIViewController.h"

namespace host {

ClassRegistry& ClassRegistry::shared() {
    static ClassRegistry registry;
    return registry;
}

void ClassRegistry::registerController(const std::string& name, ControllerFactory factory) {
    _controllers[name] = std::move(factory);
    if (_loadingBundle) _bundleOfClass[name] = *_loadingBundle;
}

void ClassRegistry::registerCell(const std::string& name, CellFactory factory) {
    _cells[name] = std::move(factory);
    if (_loadingBundle) _bundleOfClass[name] = *_loadingBundle;
}

std::shared_ptr<UIViewController> ClassRegistry::createController(const std::string& name) const {
    auto it = _controllers.find(name);
    return it == _controllers.end() ? nullptr : it->second();
}

std::shared_ptr<PSTableCell> ClassRegistry::createCell(const std::string& name, NSInteger style,
    const std::string& reuseIdentifier, const std::shared_ptr<PSSpecifier>& specifier) const {
    auto it = _cells.find(name);
    return it == _cells.end() ? nullptr : it->second(style, reuseIdentifier, specifier);
}

std::optional<std::string> ClassRegistry::bundlePathForClass(const std::string& name) const {
    if (auto it = _bundleOfClass.find(name); it != _bundleOfClass.end()) return it->second;
    return _defaultBundle;
}

}  // namespace host
