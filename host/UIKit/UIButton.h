#pragma once
// A button: a title per control state; a tap is touch-down then touch-up inside.
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "host/UIKit/UIControl.h"

enum UIButtonType : NSInteger { UIButtonTypeCustom = 0, UIButtonTypeSystem = 1 };

class UIButton : public UIControl {
public:
    static std::shared_ptr<UIButton> buttonWithType(UIButtonType type);
    NS_CLASS(UIButton)

    UIButtonType buttonType() const { return _type; }
    void setTitle(std::optional<std::string> title, NSUInteger state);
    // The title for a state, falling back to the normal state's, as the platform does.
    std::optional<std::string> titleForState(NSUInteger state) const;

    // A user's tap: touch down, then touch up inside.
    void tap();

private:
    UIButtonType _type = UIButtonTypeCustom;
    std::map<NSUInteger, std::string> _titles;
};
