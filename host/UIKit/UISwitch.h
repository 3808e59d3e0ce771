#pragma once
// A switch, and its appearance proxy per containing view-controller class: an on-tint set through
// appearanceWhenContainedIn applies to every switch shown inside a controller of that class.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/UIKit/UIControl.h"

class UISwitchAppearance {
public:
    void setOnTintColor(std::optional<UIColor> color);
    std::optional<UIColor> onTintColor() const;
    explicit UISwitchAppearance(std::string containerClass) : _containerClass(std::move(containerClass)) {}

private:
    std::string _containerClass;
};

class UISwitch : public UIControl {
public:
    NS_CLASS(UISwitch)

    // appearanceWhenContainedIn: with a list of one container class name.
    static UISwitchAppearance appearanceWhenContainedIn(const std::vector<std::string>& containerClasses);

    bool isOn() const { return _on; }
    void setOn(bool on, bool animated = false) { _on = on; }
    const std::optional<UIColor>& onTintColor() const { return _onTintColor; }
    void setOnTintColor(std::optional<UIColor> color) { _onTintColor = color; }

    // The on-colour drawn: the switch's own, else the proxy's for its containing controller's
    // class, else the platform green.
    UIColor effectiveOnTintColor() const;
    static UIColor defaultOnTintColor() { return UIColor::colorWithRed(76 / 255.0, 217 / 255.0, 100 / 255.0, 1); }

    // A user's tap: flips the switch and sends value-changed.
    void toggle();

private:
    bool _on = false;
    std::optional<UIColor> _onTintColor;
};
