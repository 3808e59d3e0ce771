#pragma once
// A view controller: a view loaded on first use (loadView, then viewDidLoad), appearance calls,
// a navigation item, its place among navigation controllers, and modal presentation.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "host/UIKit/UINavigationItem.h"
#include "host/UIKit/UIView.h"

class UINavigationController;

class UIViewController : public NSObject {
public:
    NS_CLASS(UIViewController)

    // The view; the first call runs loadView, then viewDidLoad.
    std::shared_ptr<UIView> view();
    bool isViewLoaded() const { return _view != nullptr; }
    void setView(std::shared_ptr<UIView> view);

    virtual void loadView();
    virtual void viewDidLoad() {}
    virtual void viewWillAppear(bool animated) {}
    virtual void viewDidAppear(bool animated) {}
    virtual void viewWillDisappear(bool animated) {}
    virtual void viewDidDisappear(bool animated) {}

    const std::optional<std::string>& title() const { return _title; }
    virtual void setTitle(std::optional<std::string> title);
    std::shared_ptr<UINavigationItem> navigationItem();

    // The nearest navigation controller above this one (for a navigation controller inside
    // another, the outer one), or nullptr.
    std::shared_ptr<UINavigationController> navigationController() const;
    std::shared_ptr<UIViewController> parentViewController() const { return _parent.lock(); }
    void setParentViewController(const std::shared_ptr<UIViewController>& parent) { _parent = parent; }

    // presentViewController:animated:completion: — the presented controller is held until it is
    // dismissed. One presentation at a time, as on the platform: a second is refused.
    void presentViewController(const std::shared_ptr<UIViewController>& controller, bool animated,
        std::function<void()> completion);
    // dismissViewControllerAnimated:completion: — dismisses what this controller presented, or,
    // when it presented nothing, asks its presenter (or, if it was not presented, its container)
    // to dismiss.
    void dismissViewControllerAnimated(bool animated, std::function<void()> completion);
    const std::shared_ptr<UIViewController>& presentedViewController() const { return _presented; }
    std::shared_ptr<UIViewController> presentingViewController() const { return _presenting.lock(); }

private:
    std::shared_ptr<UIView> _view;
    std::optional<std::string> _title;
    std::shared_ptr<UINavigationItem> _navigationItem;
    std::weak_ptr<UIViewController> _parent;
    std::shared_ptr<UIViewController> _presented;
    std::weak_ptr<UIViewController> _presenting;
};
