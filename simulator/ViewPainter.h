#pragma once
// Draws a view tree as the toolkit would: each view at its frame, at its presentation alpha,
// clipped when it clips to bounds, over its background colour; labels, image views (with their
// layer shadow), switches, sliders, segmented controls, activity indicators, buttons and text
// fields by their state; then the subviews.
#include <functional>

#include "host/UIKit/UIColor.h"
#include "host/UIKit/UIView.h"
#include "simulator/Canvas.h"

class UISlider;
class UISwitch;
class UILabel;
class UIImageView;
class UIButton;
class UITextField;
class UISegmentedControl;
class UIActivityIndicatorView;

namespace sim {

class ViewPainter {
public:
    // `tint` is the tint that views without one of their own inherit (the window's).
    ViewPainter(Canvas& canvas, UIColor tint) : _canvas(canvas), _tint(tint) {}

    // Draws `view` with the canvas's current origin as its superview's coordinate space.
    void draw(const UIView& view);
    // Where switches' thumbs are drawn (0 off, 1 on, between while one slides); without it,
    // where their state puts them.
    void setSwitchPosition(std::function<double(const UISwitch&)> position) { _switchPosition = std::move(position); }

    // Slider geometry shared with the window's dragging: the thumb's centre in the slider's
    // bounds, and the value a thumb centre at `x` stands for.
    static constexpr CGFloat kSliderThumbRadius = 14;
    static CGFloat sliderThumbCentreX(const UISlider& slider);
    static float sliderValueAtX(const UISlider& slider, CGFloat x);

    // The platform's track colours for a slider without tints of its own.
    static UIColor defaultMinimumTrackColor() { return UIColor::systemBlueColor(); }
    static UIColor defaultMaximumTrackColor() { return UIColor::colorWithRed(183 / 255.0, 183 / 255.0, 183 / 255.0, 1); }
    // The platform's placeholder text colour.
    static UIColor placeholderColor() { return UIColor::colorWithRed(199 / 255.0, 199 / 255.0, 205 / 255.0, 1); }
    static constexpr CGFloat kSegmentFontSize = 13;

private:
    void drawContent(const UIView& view, const UIColor& tint);
    void drawLabel(const UILabel& label);
    void drawImageView(const UIImageView& view, const UIColor& tint);
    void drawSwitch(const UISwitch& control);
    void drawSlider(const UISlider& slider);
    void drawButton(const UIButton& button, const UIColor& tint);
    void drawTextField(const UITextField& field, const UIColor& tint);
    void drawSegmentedControl(const UISegmentedControl& control, const UIColor& tint);
    void drawActivityIndicator(const UIActivityIndicatorView& indicator);

    Canvas& _canvas;
    UIColor _tint;
    std::function<double(const UISwitch&)> _switchPosition;
};

}  // namespace sim
