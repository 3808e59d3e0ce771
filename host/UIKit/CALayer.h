#pragma once
// The layer properties the bundle sets on its views: a drop shadow.
#include <optional>

#include "host/CoreGraphics/CGGeometry.h"
#include "host/UIKit/UIColor.h"

class CALayer {
public:
    const std::optional<UIColor>& shadowColor() const { return _shadowColor; }
    void setShadowColor(std::optional<UIColor> color) { _shadowColor = color; }
    CGSize shadowOffset() const { return _shadowOffset; }
    void setShadowOffset(CGSize offset) { _shadowOffset = offset; }
    float shadowOpacity() const { return _shadowOpacity; }
    void setShadowOpacity(float opacity) { _shadowOpacity = opacity; }
    CGFloat shadowRadius() const { return _shadowRadius; }
    void setShadowRadius(CGFloat radius) { _shadowRadius = radius; }

private:
    // The platform's defaults: an invisible shadow (opacity 0), offset (0, -3), radius 3.
    std::optional<UIColor> _shadowColor = UIColor::blackColor();
    CGSize _shadowOffset{0, -3};
    float _shadowOpacity = 0;
    CGFloat _shadowRadius = 3;
};
