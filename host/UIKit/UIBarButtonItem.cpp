#include "host/UIKit/UIBarButtonItem.h"

std::shared_ptr<UIBarButtonItem> UIBarButtonItem::initWithBarButtonSystemItem(UIBarButtonSystemItem item,
    const id& target, const std::string& action) {
    auto button = std::make_shared<UIBarButtonItem>();
    button->_systemItem = item;
    button->_target = target;
    button->_action = action;
    return button;
}

std::shared_ptr<UIBarButtonItem> UIBarButtonItem::initWithTitle(const std::string& title, UIBarButtonItemStyle style,
    const id& target, const std::string& action) {
    auto button = std::make_shared<UIBarButtonItem>();
    button->_title = title;
    button->_style = style;
    button->_target = target;
    button->_action = action;
    return button;
}

void UIBarButtonItem::tap() {
    if (auto target = _target.lock()) target->performSelector(_action, shared_from_this());
}
