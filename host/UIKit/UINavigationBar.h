#pragma once
// The navigation bar's three themeable settings. Each may be nil: the platform default. The bar
// also keeps the order in which they were set, for anyone checking how a page themes it.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/UIKit/UIView.h"

inline const std::string NSForegroundColorAttributeName = "NSColor";
using NSTitleTextAttributes = std::map<std::string, UIColor>;

class UINavigationBar : public UIView {
public:
    NS_CLASS(UINavigationBar)

    const std::optional<UIColor>& tintColor() const { return _tint; }
    void setTintColor(std::optional<UIColor> color);
    const std::optional<UIColor>& barTintColor() const { return _barTint; }
    void setBarTintColor(std::optional<UIColor> color);
    const std::optional<NSTitleTextAttributes>& titleTextAttributes() const { return _titleTextAttributes; }
    void setTitleTextAttributes(std::optional<NSTitleTextAttributes> attributes);

    // The platform defaults that a nil setting stands for.
    static UIColor defaultTintColor() { return UIColor::systemBlueColor(); }
    static UIColor defaultBarTintColor() { return UIColor::colorWithRed(247 / 255.0, 247 / 255.0, 247 / 255.0, 1); }
    static UIColor defaultTitleColor() { return UIColor::blackColor(); }
    UIColor effectiveTintColor() const { return _tint.value_or(defaultTintColor()); }
    UIColor effectiveBarTintColor() const { return _barTint.value_or(defaultBarTintColor()); }
    UIColor effectiveTitleColor() const;

    // Each setter call, in order: "tintColor", "barTintColor", "titleTextAttributes".
    const std::vector<std::string>& settingHistory() const { return _settingHistory; }
    void clearSettingHistory() { _settingHistory.clear(); }

private:
    std::optional<UIColor> _tint, _barTint;
    std::optional<NSTitleTextAttributes> _titleTextAttributes;
    std::vector<std::string> _settingHistory;
};
