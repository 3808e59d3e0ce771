#pragma once
// A stack of view controllers under one navigation bar. Pushing and popping send the appearance
// calls (viewWillDisappear: to the page leaving, viewWillAppear: to the page coming).
#include <memory>
#include <vector>

#include "host/UIKit/UINavigationBar.h"
#include "host/UIKit/UIViewController.h"

class UINavigationController : public UIViewController {
public:
    static std::shared_ptr<UINavigationController> initWithRootViewController(const std::shared_ptr<UIViewController>& root);
    UINavigationController();
    NS_CLASS(UINavigationController)

    const std::shared_ptr<UINavigationBar>& navigationBar() const { return _navigationBar; }
    bool isNavigationBarHidden() const { return _navigationBarHidden; }
    void setNavigationBarHidden(bool hidden) { _navigationBarHidden = hidden; }

    const std::vector<std::shared_ptr<UIViewController>>& viewControllers() const { return _viewControllers; }
    std::shared_ptr<UIViewController> topViewController() const;
    void pushViewController(const std::shared_ptr<UIViewController>& controller, bool animated);
    std::shared_ptr<UIViewController> popViewControllerAnimated(bool animated);

    // Forwarded to the top controller, so a navigation controller nested in another passes its
    // pages' appearance on.
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

private:
    std::shared_ptr<UINavigationBar> _navigationBar;
    bool _navigationBarHidden = false;
    std::vector<std::shared_ptr<UIViewController>> _viewControllers;
};
