#include "host/UIKit/UIViewController.h"

#include "host/Runtime/EventLog.h"
#include "host/UIKit/UINavigationController.h"

std::shared_ptr<UIView> UIViewController::view() {
    if (!_view) {
        loadView();
        if (!_view) setView(std::make_shared<UIView>());
        viewDidLoad();
    }
    return _view;
}

void UIViewController::setView(std::shared_ptr<UIView> view) {
    _view = std::move(view);
    if (_view) _view->setOwningControllerClass(className());
}

void UIViewController::loadView() { setView(UIView::initWithFrame(CGRectZero)); }

void UIViewController::setTitle(std::optional<std::string> title) {
    _title = title;
    navigationItem()->setTitle(std::move(title));
}

std::shared_ptr<UINavigationItem> UIViewController::navigationItem() {
    if (!_navigationItem) _navigationItem = std::make_shared<UINavigationItem>();
    return _navigationItem;
}

std::shared_ptr<UINavigationController> UIViewController::navigationController() const {
    for (auto p = _parent.lock(); p; p = p->_parent.lock())
        if (auto nav = std::dynamic_pointer_cast<UINavigationController>(p)) return nav;
    return nullptr;
}

void UIViewController::presentViewController(const std::shared_ptr<UIViewController>& controller, bool animated,
    std::function<void()> completion) {
    if (!controller) return;
    if (_presented) {
        host::EventLog::shared().diagnostic("refused to present " + controller->className() + " from " + className() +
                                            ": it is already presenting " + _presented->className());
        return;
    }
    _presented = controller;
    controller->_presenting = sharedAs<UIViewController>();
    controller->view();
    host::EventLog::shared().record("present", {{"controller", controller->className()}, {"from", className()},
                                                   {"animated", animated ? "true" : "false"}});
    if (completion) completion();
}

void UIViewController::dismissViewControllerAnimated(bool animated, std::function<void()> completion) {
    if (!_presented) {
        // A page inside a navigation controller dismisses what its container presented.
        if (auto presenter = _presenting.lock()) presenter->dismissViewControllerAnimated(animated, std::move(completion));
        else if (auto parent = _parent.lock()) parent->dismissViewControllerAnimated(animated, std::move(completion));
        return;
    }
    auto dismissed = std::move(_presented);
    _presented.reset();
    dismissed->_presenting.reset();
    host::EventLog::shared().record("dismiss", {{"controller", dismissed->className()}, {"from", className()},
                                                   {"animated", animated ? "true" : "false"}});
    if (completion) completion();
}
