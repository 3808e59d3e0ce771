#pragma once
// The runtime's class table: property lists and Info.plist name classes by string, and the host
// creates them through the factory registered under that name. A loaded bundle's classes register
// themselves as its module is loaded (static registrations), and the table records the bundle each
// came from, so a page can find its own property lists (bundleForClass:). The table keeps a
// factory of any type; the layers above define the kinds they make (pages, cells).
#include <any>
#include <map>
#include <optional>
#include <string>

namespace host {

class ClassRegistry {
public:
    static ClassRegistry& shared();

    // Registers (or replaces) the class `name` with its factory.
    template <class Factory> void registerClass(const std::string& name, Factory factory) {
        _factories[name] = std::move(factory);
        if (_loadingBundle) _bundleOfClass[name] = *_loadingBundle;
    }
    // The factory of `name` when it is of type `Factory`; nullptr for an unknown name or another kind.
    template <class Factory> const Factory* factory(const std::string& name) const {
        auto it = _factories.find(name);
        return it == _factories.end() ? nullptr : std::any_cast<Factory>(&it->second);
    }

    // The bundle a class came from (bundleForClass:). Classes registered while no bundle was
    // loading belong to the default bundle path.
    std::optional<std::string> bundlePathForClass(const std::string& name) const;
    void setLoadingBundlePath(std::optional<std::string> devicePath) { _loadingBundle = std::move(devicePath); }
    void setDefaultBundlePath(std::optional<std::string> devicePath) { _defaultBundle = std::move(devicePath); }

private:
    std::map<std::string, std::any> _factories;
    std::map<std::string, std::string> _bundleOfClass;
    std::optional<std::string> _loadingBundle, _defaultBundle;
};

}  // namespace host
