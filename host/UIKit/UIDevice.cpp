#include "host/UIKit/UIDevice.h"

#include "host/Runtime/DeviceProfile.h"

std::shared_ptr<UIDevice> UIDevice::currentDevice() {
    static auto device = std::make_shared<UIDevice>();
    return device;
}

bool UIDevice::respondsToSelector(const std::string& selector) const {
    if (selector == "userInterfaceIdiom") return host::DeviceProfile::current().answersIdiomQuery;
    return selector == "systemVersion" || selector == "model" || NSObject::respondsToSelector(selector);
}

NSInteger UIDevice::userInterfaceIdiom() const { return host::DeviceProfile::current().userInterfaceIdiom; }
std::string UIDevice::systemVersion() const { return host::DeviceProfile::current().productVersion; }
std::string UIDevice::model() const { return host::DeviceProfile::current().userInterfaceIdiom == 1 ? "iPad" : "iPhone"; }
