#pragma once
// The runtime's class table: property lists and Info.plist name page and cell classes by string,
// and the host creates them through the factory registered under that name. A loaded bundle's
// classes register themselves as its module is loaded (static registrations), recording the
// bundle they came from so a page can find its own property lists.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/CoreGraphics/CGGeometry.h"

class UIViewController;
class PSTableCell;
class PSSpecifier;

namespace host {

class ClassRegistry {
public:
    using ControllerFactory = std::function<std::shared_ptr<UIViewController>()>;
    using CellFactory = std::function<std::shared_ptr<PSTableCell>(NSInteger style, const std::string& reuseIdentifier,
        const std::shared_ptr<PSSpecifier>& specifier)>;

    static ClassRegistry& shared();

    void registerController(const std::string& name, ControllerFactory factory);
    void registerCell(const std::string& name, CellFactory factory);

    // nullptr for a name that no loaded code registered.
    std::shared_ptr<UIViewController> createController(const std::string& name) const;
    std::shared_ptr<PSTableCell> createCell(const std::string& name, NSInteger style, const std::string& reuseIdentifier,
        const std::shared_ptr<PSSpecifier>& specifier) const;
    bool hasController(const std::string& name) const { return _controllers.count(name) != 0; }
    bool hasCell(const std::string& name) const { return _cells.count(name) != 0; }

    // The bundle a class came from (bundleForClass:). Classes registered while no bundle was
    // loading belong to the default bundle path.
    std::optional<std::string> bundlePathForClass(const std::string& name) const;
    void setLoadingBundlePath(std::optional<std::string> devicePath) { _loadingBundle = std::move(devicePath); }
    void setDefaultBundlePath(std::optional<std::string> devicePath) { _defaultBundle = std::move(devicePath); }

private:
    std::map<std::string, ControllerFactory> _controllers;
    std::map<std::string, CellFactory> _cells;
    std::map<std::string, std::string> _bundleOfClass;
    std::optional<std::string> _loadingBundle, _defaultBundle;
};

// Static registration helpers, one line at the end of a class's source file:
//   static host::RegisterController<VelkaroListController> registration("VelkaroListController");
template <class T> struct RegisterController {
    explicit RegisterController(const char* name) {
        ClassRegistry::shared().registerController(name, [] { return std::make_shared<T>(); });
    }
};
template <class T> struct RegisterCell {
    explicit RegisterCell(const char* name) {
        ClassRegistry::shared().registerCell(name, [](NSInteger style, const std::string& reuse,
                                                       const std::shared_ptr<PSSpecifier>& specifier) {
            return std::static_pointer_cast<PSTableCell>(T::initWithStyle(style, reuse, specifier));
        });
    }
};

}  // namespace host
