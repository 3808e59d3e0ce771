#include "host/UIKit/UIView.h"

#include <algorithm>

#include "host/Runtime/RunLoop.h"
#include "host/Runtime/FailureInjection.h"
#include "host/UIKit/LayoutSolver.h"

namespace {

// The animation being declared: set while an animations block runs.
struct AnimationContext {
    NSTimeInterval duration = 0;
    double start = 0;
};
AnimationContext* currentAnimation = nullptr;

// Spreads `delta` over the flexible parts of one axis, as autoresizing does.
void resizeAxis(CGFloat& origin, CGFloat& length, CGFloat delta, bool flexLow, bool flexSize, bool flexHigh) {
    const int parts = int(flexLow) + int(flexSize) + int(flexHigh);
    if (parts == 0) return;
    const CGFloat share = delta / parts;
    if (flexLow) origin += share;
    if (flexSize) length += share;
}

}  // namespace

std::shared_ptr<UIView> UIView::initWithFrame(CGRect frame) {
    auto view = std::make_shared<UIView>();
    if (!view->initialiseBase(frame)) return nullptr;
    return view;
}

bool UIView::initialiseBase(CGRect frame) {
    if (host::FailureInjection::shouldFail("UIView")) return false;
    setFrame(frame);
    return true;
}

void UIView::setFrame(CGRect frame) {
    const CGSize old = _frame.size;
    _frame = frame;
    if (old == frame.size) return;
    const CGFloat dw = frame.size.width - old.width, dh = frame.size.height - old.height;
    for (const auto& sub : _subviews) {
        if (!sub->_translatesAutoresizingMask || sub->_autoresizingMask == UIViewAutoresizingNone) continue;
        const NSUInteger m = sub->_autoresizingMask;
        CGRect f = sub->_frame;
        resizeAxis(f.origin.x, f.size.width, dw, m & UIViewAutoresizingFlexibleLeftMargin,
            m & UIViewAutoresizingFlexibleWidth, m & UIViewAutoresizingFlexibleRightMargin);
        resizeAxis(f.origin.y, f.size.height, dh, m & UIViewAutoresizingFlexibleTopMargin,
            m & UIViewAutoresizingFlexibleHeight, m & UIViewAutoresizingFlexibleBottomMargin);
        sub->setFrame(f);
    }
}

void UIView::setAlpha(CGFloat alpha) {
    if (currentAnimation) {
        _alphaAnimation = AlphaAnimation{presentationAlpha(), alpha, currentAnimation->start, currentAnimation->duration};
    } else {
        _alphaAnimation.reset();
    }
    _alpha = alpha;
}

CGFloat UIView::presentationAlpha() const {
    if (!_alphaAnimation) return _alpha;
    const auto& a = *_alphaAnimation;
    const double now = host::RunLoop::main().now();
    if (a.duration <= 0 || now >= a.start + a.duration) return _alpha;
    if (now <= a.start) return a.from;
    const double t = (now - a.start) / a.duration;
    return a.from + (a.to - a.from) * t;
}

void UIView::addSubview(const std::shared_ptr<UIView>& view) {
    if (!view || view.get() == this) return;
    auto keep = view;  // removing from the old superview may drop the last other reference
    view->removeFromSuperview();
    _subviews.push_back(keep);
    keep->_superview = std::static_pointer_cast<UIView>(shared_from_this());
}

void UIView::removeFromSuperview() {
    auto parent = _superview.lock();
    if (!parent) return;
    auto& siblings = parent->_subviews;
    siblings.erase(std::remove_if(siblings.begin(), siblings.end(), [this](const auto& v) { return v.get() == this; }),
        siblings.end());
    _superview.reset();
}

void UIView::layoutIfNeeded() {
    host::LayoutSolver::solve(*this);
    layoutSubviews();
    for (const auto& sub : std::vector<std::shared_ptr<UIView>>(_subviews)) sub->layoutIfNeeded();
}

std::string UIView::containingControllerClass() const {
    for (const UIView* v = this; v; v = v->_superview.lock().get())
        if (!v->_owningControllerClass.empty()) return v->_owningControllerClass;
    return "";
}

std::shared_ptr<UIView> UIView::hitTest(CGPoint point) {
    if (_hidden || !_userInteractionEnabled || _alpha < 0.01) return nullptr;
    if (!bounds().contains(point)) return nullptr;
    for (auto it = _subviews.rbegin(); it != _subviews.rend(); ++it) {
        const CGRect f = (*it)->_frame;
        if (auto hit = (*it)->hitTest({point.x - f.origin.x, point.y - f.origin.y})) return hit;
    }
    return std::static_pointer_cast<UIView>(shared_from_this());
}

CGPoint UIView::convertPointToAncestor(CGPoint point, const UIView* ancestor) const {
    for (const UIView* v = this; v && v != ancestor; v = v->_superview.lock().get()) {
        point.x += v->_frame.origin.x;
        point.y += v->_frame.origin.y;
    }
    return point;
}

void UIView::animateWithDuration(NSTimeInterval duration, std::function<void()> animations,
    std::function<void(bool)> completion) {
    AnimationContext context{duration, host::RunLoop::main().now()};
    AnimationContext* outer = currentAnimation;
    currentAnimation = &context;
    if (animations) animations();
    currentAnimation = outer;
    // The run loop holds both blocks, and whatever they captured, until the animation ends.
    host::RunLoop::main().schedule(duration, [animations = std::move(animations), completion = std::move(completion)] {
        if (completion) completion(true);
    });
}
