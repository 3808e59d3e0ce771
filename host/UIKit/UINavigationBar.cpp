#include "host/UIKit/UINavigationBar.h"

void UINavigationBar::setTintColor(std::optional<UIColor> color) {
    _tint = color;
    _settingHistory.push_back("tintColor");
}

void UINavigationBar::setBarTintColor(std::optional<UIColor> color) {
    _barTint = color;
    _settingHistory.push_back("barTintColor");
}

void UINavigationBar::setTitleTextAttributes(std::optional<NSTitleTextAttributes> attributes) {
    _titleTextAttributes = std::move(attributes);
    _settingHistory.push_back("titleTextAttributes");
}

UIColor UINavigationBar::effectiveTitleColor() const {
    if (_titleTextAttributes)
        if (auto it = _titleTextAttributes->find(NSForegroundColorAttributeName); it != _titleTextAttributes->end())
            return it->second;
    return defaultTitleColor();
}
