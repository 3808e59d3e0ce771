#include "host/UIKit/UIActivityIndicatorView.h"

std::shared_ptr<UIActivityIndicatorView> UIActivityIndicatorView::initWithActivityIndicatorStyle(
    UIActivityIndicatorViewStyle style) {
    auto view = std::make_shared<UIActivityIndicatorView>();
    view->_style = style;
    const CGFloat side = style == UIActivityIndicatorViewStyleWhiteLarge ? 37 : 20;
    view->setFrame(CGRectMake(0, 0, side, side));
    view->setHidden(view->_hidesWhenStopped);
    return view;
}

UIColor UIActivityIndicatorView::color() const {
    if (_color) return *_color;
    return _style == UIActivityIndicatorViewStyleGray ? UIColor::grayColor() : UIColor::whiteColor();
}

void UIActivityIndicatorView::startAnimating() {
    _animating = true;
    setHidden(false);
}

void UIActivityIndicatorView::stopAnimating() {
    _animating = false;
    if (_hidesWhenStopped) setHidden(true);
}

void UIActivityIndicatorView::setHidesWhenStopped(bool hides) {
    _hidesWhenStopped = hides;
    if (!_animating) setHidden(hides);
}
