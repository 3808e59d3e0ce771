#pragma once
// A view: a frame in its superview, subviews it owns, layer properties and layout constraints
// kept as data. layoutIfNeeded solves the constraints into frames. Animated changes set the model
// value at once; the presentation value (what is drawn) is interpolated on the run loop's clock.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/CoreGraphics/CGGeometry.h"
#include "host/Foundation/NSObject.h"
#include "host/UIKit/CALayer.h"
#include "host/UIKit/NSLayoutConstraint.h"
#include "host/UIKit/UIColor.h"

enum UIViewAutoresizing : NSUInteger {
    UIViewAutoresizingNone = 0,
    UIViewAutoresizingFlexibleLeftMargin = 1,
    UIViewAutoresizingFlexibleWidth = 2,
    UIViewAutoresizingFlexibleRightMargin = 4,
    UIViewAutoresizingFlexibleTopMargin = 8,
    UIViewAutoresizingFlexibleHeight = 16,
    UIViewAutoresizingFlexibleBottomMargin = 32,
};

class UIView : public NSObject {
public:
    // initWithFrame: — nullptr when the host was told to fail the next base initialiser.
    static std::shared_ptr<UIView> initWithFrame(CGRect frame);
    UIView() = default;
    NS_CLASS(UIView)

    CGRect frame() const { return _frame; }
    virtual void setFrame(CGRect frame);  // resizes autoresizing subviews
    CGRect bounds() const { return {{0, 0}, _frame.size}; }

    CGFloat alpha() const { return _alpha; }
    void setAlpha(CGFloat alpha);
    // The alpha being drawn now: the model value, or the in-flight animation's current value.
    CGFloat presentationAlpha() const;

    bool isHidden() const { return _hidden; }
    void setHidden(bool hidden) { _hidden = hidden; }
    const std::optional<UIColor>& backgroundColor() const { return _backgroundColor; }
    void setBackgroundColor(std::optional<UIColor> color) { _backgroundColor = color; }
    const std::optional<UIColor>& tintColor() const { return _tintColor; }
    void setTintColor(std::optional<UIColor> color) { _tintColor = color; }
    bool clipsToBounds() const { return _clipsToBounds; }
    void setClipsToBounds(bool clips) { _clipsToBounds = clips; }
    bool isUserInteractionEnabled() const { return _userInteractionEnabled; }
    void setUserInteractionEnabled(bool enabled) { _userInteractionEnabled = enabled; }
    NSInteger tag() const { return _tag; }
    void setTag(NSInteger tag) { _tag = tag; }
    CALayer& layer() { return _layer; }
    const CALayer& layer() const { return _layer; }

    NSUInteger autoresizingMask() const { return _autoresizingMask; }
    void setAutoresizingMask(NSUInteger mask) { _autoresizingMask = mask; }
    bool translatesAutoresizingMaskIntoConstraints() const { return _translatesAutoresizingMask; }
    void setTranslatesAutoresizingMaskIntoConstraints(bool translates) { _translatesAutoresizingMask = translates; }

    // The tree. A view owns its subviews; a subview knows its superview weakly.
    void addSubview(const std::shared_ptr<UIView>& view);
    void removeFromSuperview();
    const std::vector<std::shared_ptr<UIView>>& subviews() const { return _subviews; }
    std::shared_ptr<UIView> superview() const { return _superview.lock(); }

    void addConstraint(const std::shared_ptr<NSLayoutConstraint>& constraint) { _constraints.push_back(constraint); }
    const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints() const { return _constraints; }

    // The natural size of the content; a negative component means "none" (a plain view).
    virtual CGSize intrinsicContentSize() const { return {-1, -1}; }
    // Solves this view's constraints into its subviews' frames, then lays out each subview.
    void layoutIfNeeded();
    virtual void layoutSubviews() {}

    // The class name of the view controller whose view contains this one, if any; the switch
    // appearance proxy resolves "contained in" through it.
    std::string containingControllerClass() const;
    void setOwningControllerClass(std::string name) { _owningControllerClass = std::move(name); }

    // The deepest visible, interactive view under `point` (in this view's coordinates).
    std::shared_ptr<UIView> hitTest(CGPoint point);
    // A point of this view in the coordinates of `ancestor` (nullptr: the root of the tree).
    CGPoint convertPointToAncestor(CGPoint point, const UIView* ancestor) const;

    // animateWithDuration:animations:completion: — the block and the completion are kept alive
    // by the run loop until the animation has ended.
    static void animateWithDuration(NSTimeInterval duration, std::function<void()> animations,
        std::function<void(bool)> completion = nullptr);

protected:
    // The work of initWithFrame:, for subclasses made with make_shared. Returns false when the
    // host was told to fail the next "UIView" initialiser.
    bool initialiseBase(CGRect frame);

private:
    struct AlphaAnimation {
        CGFloat from = 0, to = 0;
        double start = 0, duration = 0;
    };

    CGRect _frame{};
    CGFloat _alpha = 1;
    std::optional<AlphaAnimation> _alphaAnimation;
    bool _hidden = false;
    std::optional<UIColor> _backgroundColor, _tintColor;
    bool _clipsToBounds = false;
    bool _userInteractionEnabled = true;
    NSInteger _tag = 0;
    CALayer _layer;
    NSUInteger _autoresizingMask = UIViewAutoresizingNone;
    bool _translatesAutoresizingMask = true;
    std::vector<std::shared_ptr<UIView>> _subviews;
    std::weak_ptr<UIView> _superview;
    std::vector<std::shared_ptr<NSLayoutConstraint>> _constraints;
    std::string _owningControllerClass;
};
