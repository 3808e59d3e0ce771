#pragma once
// A toolbar of bar button items, left to right.
#include <memory>
#include <vector>

#include "host/UIKit/UIBarButtonItem.h"
#include "host/UIKit/UIView.h"

class UIToolbar : public UIView {
public:
    static std::shared_ptr<UIToolbar> initWithFrame(CGRect frame);
    NS_CLASS(UIToolbar)

    const std::vector<std::shared_ptr<UIBarButtonItem>>& items() const { return _items; }
    void setItems(std::vector<std::shared_ptr<UIBarButtonItem>> items, bool animated) { _items = std::move(items); }

private:
    std::vector<std::shared_ptr<UIBarButtonItem>> _items;
};
