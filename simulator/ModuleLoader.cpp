#include "simulator/ModuleLoader.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <map>

#include "host/Foundation/NSBundle.h"
#include "host/Preferences/PSClassFactories.h"
#include "host/Runtime/ClassRegistry.h"
#include "host/Runtime/DeviceRoot.h"
#include "host/UIKit/UIImage.h"

namespace sim {
namespace {

// Modules stay loaded for the life of the process: the class registry keeps their factories.
// Each is known by its file (device and inode) and keeps the descriptor it was loaded through,
// so that "/proc/self/fd/N", the name the loader knows it by, never comes to mean another file.
struct LoadedModule {
    host::UniqueFd file;
    void* handle = nullptr;
};
std::map<std::pair<dev_t, ino_t>, LoadedModule>& loadedModules() {
    static auto* modules = new std::map<std::pair<dev_t, ino_t>, LoadedModule>();
    return *modules;
}

}  // namespace

ModuleLoader::ModuleLoader(std::string devicePath, std::filesystem::path folder)
    : _devicePath(std::move(devicePath)), _folder(std::move(folder)), _bundle(NSBundle::bundleWithPath(_devicePath)) {
    if (_bundle) _principalClass = _bundle->principalClassName().value_or("");
}

std::optional<std::string> ModuleLoader::bundleName() const {
    if (!_bundle) return std::nullopt;
    return _bundle->infoDictionary()["CFBundleName"].text();
}

std::shared_ptr<UIImage> ModuleLoader::icon() const {
    if (!_bundle) return nullptr;
    const auto name = _bundle->infoDictionary()["icon"].text();
    // A name, not a path: nothing outside the bundle's folder.
    if (!name || name->empty() || name->front() == '/' || name->find("..") != std::string::npos) return nullptr;
    return UIImage::initWithContentsOfFile(_devicePath + "/" + *name);
}

bool ModuleLoader::load(std::string& error) const {
    const auto fail = [&](std::string why) {
        error = std::move(why);
        return false;
    };
    if (!_bundle) return fail("no bundle at " + _folder.string() + " (mounted at " + _devicePath + ")");
    if (!host::DeviceRoot::exists(_devicePath + "/Info.plist")) return fail("the bundle at " + _folder.string() + " has no Info.plist");
    if (_principalClass.empty()) return fail("the bundle's Info.plist names no NSPrincipalClass");
    const auto executable = _bundle->executableName();
    if (!executable) return fail("the bundle's Info.plist names no CFBundleExecutable");
    // Opened inside the device root and loaded through that descriptor, so the loader reads
    // exactly the file that was looked up there.
    const std::string modulePath = _devicePath + "/" + *executable;
    int openError = 0;
    host::UniqueFd module = host::DeviceRoot::openFile(modulePath, &openError);
    if (!module)
        return fail("the bundle's module " + modulePath + " cannot be opened: " + host::DeviceRoot::describe(openError));
    struct stat st{};
    if (fstat(module.get(), &st) < 0) return fail("the bundle's module " + modulePath + " cannot be examined");
    const auto key = std::pair{st.st_dev, st.st_ino};
    if (!loadedModules().count(key)) {
        auto& registry = host::ClassRegistry::shared();
        registry.setLoadingBundlePath(_devicePath);
        dlerror();
        const std::string viaDescriptor = "/proc/self/fd/" + std::to_string(module.get());
        void* handle = dlopen(viaDescriptor.c_str(), RTLD_NOW | RTLD_LOCAL);
        registry.setLoadingBundlePath(std::nullopt);
        if (!handle) {
            const char* why = dlerror();
            return fail("cannot load the bundle's module " + modulePath + ": " + (why ? why : "unknown error"));
        }
        loadedModules()[key] = {std::move(module), handle};
    }
    if (!host::hasController(_principalClass))
        return fail("the bundle's module does not provide its principal class " + _principalClass);
    return true;
}

}  // namespace sim
