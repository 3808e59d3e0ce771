#pragma once
// What a page shows in the navigation bar: a title or a title view, and bar buttons.
#include <memory>
#include <optional>
#include <string>

#include "host/UIKit/UIBarButtonItem.h"
#include "host/UIKit/UIView.h"

class UINavigationItem : public NSObject {
public:
    NS_CLASS(UINavigationItem)

    const std::optional<std::string>& title() const { return _title; }
    void setTitle(std::optional<std::string> title) { _title = std::move(title); }
    const std::shared_ptr<UIView>& titleView() const { return _titleView; }
    void setTitleView(std::shared_ptr<UIView> view) { _titleView = std::move(view); }
    const std::shared_ptr<UIBarButtonItem>& rightBarButtonItem() const { return _rightBarButtonItem; }
    void setRightBarButtonItem(std::shared_ptr<UIBarButtonItem> item) { _rightBarButtonItem = std::move(item); }
    const std::shared_ptr<UIBarButtonItem>& leftBarButtonItem() const { return _leftBarButtonItem; }
    void setLeftBarButtonItem(std::shared_ptr<UIBarButtonItem> item) { _leftBarButtonItem = std::move(item); }

private:
    std::optional<std::string> _title;
    std::shared_ptr<UIView> _titleView;
    std::shared_ptr<UIBarButtonItem> _rightBarButtonItem, _leftBarButtonItem;
};
