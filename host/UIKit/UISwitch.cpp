#include "host/UIKit/UISwitch.h"

#include <map>

#include "host/Runtime/SimulatedDevice.h"

namespace {
std::map<std::string, UIColor>& proxyColors() {
    static std::map<std::string, UIColor> colors;
    return colors;
}
const host::SimulatedDevice::ResetStep forgetProxyColours{[] { proxyColors().clear(); }};
}  // namespace

void UISwitchAppearance::setOnTintColor(std::optional<UIColor> color) {
    if (color) proxyColors()[_containerClass] = *color;
    else proxyColors().erase(_containerClass);
}

std::optional<UIColor> UISwitchAppearance::onTintColor() const {
    auto it = proxyColors().find(_containerClass);
    if (it == proxyColors().end()) return std::nullopt;
    return it->second;
}

UISwitchAppearance UISwitch::appearanceWhenContainedIn(const std::vector<std::string>& containerClasses) {
    return UISwitchAppearance(containerClasses.empty() ? std::string() : containerClasses.front());
}

UIColor UISwitch::effectiveOnTintColor() const {
    if (_onTintColor) return *_onTintColor;
    if (auto c = UISwitchAppearance(containingControllerClass()).onTintColor()) return *c;
    return defaultOnTintColor();
}

void UISwitch::toggle() {
    _on = !_on;
    sendActionsForControlEvents(UIControlEventValueChanged);
}
