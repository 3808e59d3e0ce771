#pragma once
// The two kinds of classes the Settings host makes by name: pages (a row's "detail", a bundle's
// principal class) and cells (a row's "cellClass"). Each registers with one line at the end of
// its source file:
//   static host::RegisterController<VelkaroListController> registration;
//   static host::RegisterCell<KXVelkaroSliderCell> registration;
#include <functional>
#include <memory>
#include <string>

#include "host/CoreGraphics/CGGeometry.h"
#include "host/Runtime/ClassRegistry.h"

class UIViewController;
class PSTableCell;
class PSSpecifier;

namespace host {

using ControllerFactory = std::function<std::shared_ptr<UIViewController>()>;
using CellFactory = std::function<std::shared_ptr<PSTableCell>(NSInteger style, const std::string& reuseIdentifier,
    const std::shared_ptr<PSSpecifier>& specifier)>;

// nullptr for a name that no loaded code registered as that kind.
std::shared_ptr<UIViewController> createController(const std::string& name);
std::shared_ptr<PSTableCell> createCell(const std::string& name, NSInteger style, const std::string& reuseIdentifier,
    const std::shared_ptr<PSSpecifier>& specifier);
bool hasController(const std::string& name);
bool hasCell(const std::string& name);

template <class T> struct RegisterController {
    RegisterController() {
        ClassRegistry::shared().registerClass<ControllerFactory>(T::kClassName, [] { return std::make_shared<T>(); });
    }
};
template <class T> struct RegisterCell {
    RegisterCell() {
        ClassRegistry::shared().registerClass<CellFactory>(T::kClassName,
            [](NSInteger style, const std::string& reuse, const std::shared_ptr<PSSpecifier>& specifier) {
                return std::static_pointer_cast<PSTableCell>(T::initWithStyle(style, reuse, specifier));
            });
    }
};

}  // namespace host
