#pragma once
// A bar button: a system item (the compose symbol, 7) or a title, with a target and an action.
#include <memory>
#include <optional>
#include <string>

#include "host/CoreGraphics/CGGeometry.h"
#include "host/Foundation/NSObject.h"

enum UIBarButtonSystemItem : NSInteger {
    UIBarButtonSystemItemDone = 0,
    UIBarButtonSystemItemCancel = 1,
    UIBarButtonSystemItemCompose = 7,
    UIBarButtonSystemItemFlexibleSpace = 5,
};

enum UIBarButtonItemStyle : NSInteger { UIBarButtonItemStylePlain = 0, UIBarButtonItemStyleBordered = 1, UIBarButtonItemStyleDone = 2 };

class UIBarButtonItem : public NSObject {
public:
    // initWithBarButtonSystemItem:target:action:
    static std::shared_ptr<UIBarButtonItem> initWithBarButtonSystemItem(UIBarButtonSystemItem item, const id& target,
        const std::string& action);
    // initWithTitle:style:target:action:
    static std::shared_ptr<UIBarButtonItem> initWithTitle(const std::string& title, UIBarButtonItemStyle style,
        const id& target, const std::string& action);

    NS_CLASS(UIBarButtonItem)
    const std::optional<UIBarButtonSystemItem>& systemItem() const { return _systemItem; }
    const std::optional<std::string>& title() const { return _title; }
    UIBarButtonItemStyle style() const { return _style; }
    std::shared_ptr<NSObject> target() const { return _target.lock(); }
    const std::string& action() const { return _action; }

    // A user's tap: sends the action to the target with this item as the sender.
    void tap();

private:
    std::optional<UIBarButtonSystemItem> _systemItem;
    std::optional<std::string> _title;
    UIBarButtonItemStyle _style = UIBarButtonItemStylePlain;
    std::weak_ptr<NSObject> _target;
    std::string _action;
};
