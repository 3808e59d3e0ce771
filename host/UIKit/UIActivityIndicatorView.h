#pragma once
// An activity indicator: the spinning spokes, in one of the platform's styles, shown while it
// animates (and when stopped, unless it hides then).
#include <memory>
#include <optional>

#include "host/UIKit/UIView.h"

enum UIActivityIndicatorViewStyle : NSInteger {
    UIActivityIndicatorViewStyleWhiteLarge = 0,
    UIActivityIndicatorViewStyleWhite = 1,
    UIActivityIndicatorViewStyleGray = 2,
};

class UIActivityIndicatorView : public UIView {
public:
    NS_CLASS(UIActivityIndicatorView)

    // initWithActivityIndicatorStyle: — sized for the style (20 points, 37 for the large one).
    static std::shared_ptr<UIActivityIndicatorView> initWithActivityIndicatorStyle(UIActivityIndicatorViewStyle style);

    UIActivityIndicatorViewStyle activityIndicatorViewStyle() const { return _style; }
    // The spokes' colour: the one set, else the style's (grey, or white).
    UIColor color() const;
    void setColor(std::optional<UIColor> color) { _color = color; }

    bool isAnimating() const { return _animating; }
    void startAnimating();
    void stopAnimating();
    bool hidesWhenStopped() const { return _hidesWhenStopped; }
    void setHidesWhenStopped(bool hides);

private:
    UIActivityIndicatorViewStyle _style = UIActivityIndicatorViewStyleWhite;
    std::optional<UIColor> _color;
    bool _animating = false;
    bool _hidesWhenStopped = true;
};
