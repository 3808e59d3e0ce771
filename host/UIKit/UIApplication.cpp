#include "host/UIKit/UIApplication.h"

#include "host/Runtime/DeviceProfile.h"
#include "host/Runtime/EventLog.h"
#include "host/Runtime/SimulatedDevice.h"

namespace {
std::shared_ptr<UIApplication>& shared() {
    static auto app = std::make_shared<UIApplication>();
    return app;
}
const host::SimulatedDevice::ResetStep freshApplication{[] { shared() = std::make_shared<UIApplication>(); }};
}  // namespace

std::shared_ptr<UIApplication> UIApplication::sharedApplication() { return shared(); }

void UIApplication::setStatusBarStyle(NSInteger style) {
    _statusBarStyle = style;
    host::EventLog::shared().record("statusBarStyle", {{"style", std::to_string(style)}});
}

bool UIApplication::canOpenURL(const std::shared_ptr<NSURL>& url) {
    if (!url) return false;
    const bool installed = host::DeviceProfile::current().installedURLSchemes.count(url->scheme()) != 0;
    host::EventLog::shared().record("canOpenURL", {{"url", url->absoluteString()}, {"result", installed ? "true" : "false"}});
    return installed;
}

bool UIApplication::openURL(const std::shared_ptr<NSURL>& url) {
    if (!url) {
        host::EventLog::shared().diagnostic("openURL: called with no address");
        return false;
    }
    const bool installed = host::DeviceProfile::current().installedURLSchemes.count(url->scheme()) != 0;
    _openedURLs.push_back(url->absoluteString());
    host::EventLog::shared().record("openURL", {{"url", url->absoluteString()}, {"opened", installed ? "true" : "false"}});
    return installed;
}
