#include "host/UIKit/UINavigationController.h"

UINavigationController::UINavigationController() : _navigationBar(std::make_shared<UINavigationBar>()) {}

std::shared_ptr<UINavigationController> UINavigationController::initWithRootViewController(
    const std::shared_ptr<UIViewController>& root) {
    auto nav = std::make_shared<UINavigationController>();
    if (root) {
        nav->_viewControllers.push_back(root);
        root->setParentViewController(nav);
    }
    return nav;
}

std::shared_ptr<UIViewController> UINavigationController::topViewController() const {
    return _viewControllers.empty() ? nullptr : _viewControllers.back();
}

void UINavigationController::pushViewController(const std::shared_ptr<UIViewController>& controller, bool animated) {
    if (!controller) return;
    if (auto top = topViewController()) top->viewWillDisappear(animated);
    controller->setParentViewController(sharedAs<UIViewController>());
    _viewControllers.push_back(controller);
    controller->view();
    controller->viewWillAppear(animated);
    controller->viewDidAppear(animated);
}

std::shared_ptr<UIViewController> UINavigationController::popViewControllerAnimated(bool animated) {
    if (_viewControllers.size() < 2) return nullptr;
    auto leaving = _viewControllers.back();
    leaving->viewWillDisappear(animated);
    _viewControllers.pop_back();
    auto top = topViewController();
    top->viewWillAppear(animated);
    leaving->viewDidDisappear(animated);
    top->viewDidAppear(animated);
    return leaving;
}

void UINavigationController::viewWillAppear(bool animated) {
    if (auto top = topViewController()) {
        top->view();
        top->viewWillAppear(animated);
    }
}

void UINavigationController::viewWillDisappear(bool animated) {
    if (auto top = topViewController()) top->viewWillDisappear(animated);
}
