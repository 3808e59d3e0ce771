#pragma once
// A control: target/action pairs per control event. Targets are held weakly, as on the platform.
#include <memory>
#include <string>
#include <vector>

#include "host/UIKit/UIView.h"

enum UIControlEvents : NSUInteger {
    UIControlEventTouchDown = 1 << 0,
    UIControlEventTouchUpInside = 1 << 6,
    UIControlEventValueChanged = 1 << 12,
};

enum UIControlState : NSUInteger { UIControlStateNormal = 0, UIControlStateHighlighted = 1, UIControlStateDisabled = 2 };

class UIControl : public UIView {
public:
    NS_CLASS(UIControl)

    void addTarget(const id& target, const std::string& action, NSUInteger controlEvents);
    // Sends every action registered for any of `controlEvents`, with this control as sender.
    void sendActionsForControlEvents(NSUInteger controlEvents);
    bool isEnabled() const { return _enabled; }
    void setEnabled(bool enabled) { _enabled = enabled; }

    struct TargetAction {
        std::weak_ptr<NSObject> target;
        std::string action;
        NSUInteger events = 0;
    };
    const std::vector<TargetAction>& targetActions() const { return _targetActions; }

private:
    std::vector<TargetAction> _targetActions;
    bool _enabled = true;
};
