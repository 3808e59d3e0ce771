#include "host/UIKit/UIButton.h"

std::shared_ptr<UIButton> UIButton::buttonWithType(UIButtonType type) {
    auto button = std::make_shared<UIButton>();
    button->_type = type;
    return button;
}

void UIButton::setTitle(std::optional<std::string> title, NSUInteger state) {
    if (title) _titles[state] = *title;
    else _titles.erase(state);
}

std::optional<std::string> UIButton::titleForState(NSUInteger state) const {
    if (auto it = _titles.find(state); it != _titles.end()) return it->second;
    if (auto it = _titles.find(UIControlStateNormal); it != _titles.end()) return it->second;
    return std::nullopt;
}

void UIButton::tap() {
    sendActionsForControlEvents(UIControlEventTouchDown);
    sendActionsForControlEvents(UIControlEventTouchUpInside);
}
