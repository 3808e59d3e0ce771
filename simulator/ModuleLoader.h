#pragma once
// A preference bundle on the simulated device, as the Settings host loads it: what its Info.plist
// names, and its module, loaded into this process from inside the device root.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

class NSBundle;
class UIImage;

namespace sim {

class ModuleLoader {
public:
    // The bundle at `devicePath`; `folder` is where it comes from on this machine, for messages.
    // Its Info.plist is read here.
    ModuleLoader(std::string devicePath, std::filesystem::path folder);

    const std::string& principalClass() const { return _principalClass; }  // empty when none is named
    std::optional<std::string> bundleName() const;                         // CFBundleName
    // The picture the Settings list shows beside the bundle's entry: the file the Info.plist's
    // "icon" names inside the bundle. nullptr when none is named or it cannot be read.
    std::shared_ptr<UIImage> icon() const;

    // Loads the module (once per process: modules are never unloaded) and checks that it provides
    // the principal class; false, with the reason, when either fails.
    bool load(std::string& error) const;

private:
    std::string _devicePath;
    std::filesystem::path _folder;
    std::shared_ptr<NSBundle> _bundle;
    std::string _principalClass;
};

}  // namespace sim
