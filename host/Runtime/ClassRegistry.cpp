#include "host/Runtime/ClassRegistry.h"

namespace host {

ClassRegistry& ClassRegistry::shared() {
    static ClassRegistry registry;
    return registry;
}

std::optional<std::string> ClassRegistry::bundlePathForClass(const std::string& name) const {
    if (auto it = _bundleOfClass.find(name); it != _bundleOfClass.end()) return it->second;
    return _defaultBundle;
}

}  // namespace host
