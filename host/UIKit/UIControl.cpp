#include "host/UIKit/UIControl.h"

void UIControl::addTarget(const id& target, const std::string& action, NSUInteger controlEvents) {
    _targetActions.push_back({target, action, controlEvents});
}

void UIControl::sendActionsForControlEvents(NSUInteger controlEvents) {
    if (!_enabled) return;
    auto self = shared_from_this();
    for (const auto& entry : std::vector<TargetAction>(_targetActions)) {
        if (!(entry.events & controlEvents)) continue;
        if (auto target = entry.target.lock()) target->performSelector(entry.action, self);
    }
}
