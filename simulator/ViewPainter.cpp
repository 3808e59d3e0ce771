#include "simulator/ViewPainter.h"

#include <algorithm>
#include <cmath>

#include "host/UIKit/UIActivityIndicatorView.h"
#include "host/UIKit/UIButton.h"
#include "host/UIKit/UIImageView.h"
#include "host/UIKit/UILabel.h"
#include "host/UIKit/UISegmentedControl.h"
#include "host/UIKit/UISlider.h"
#include "host/UIKit/UISwitch.h"
#include "host/UIKit/UITextField.h"

namespace sim {
namespace {

UIColor grey(int level) { return UIColor::colorWithRed(level / 255.0, level / 255.0, level / 255.0, 1); }

// What a view draws with for its tint: its own, else its superview's (as passed down).
UIColor tintOf(const UIView& view, const UIColor& inherited) { return view.tintColor().value_or(inherited); }

}  // namespace

void ViewPainter::draw(const UIView& view) {
    if (view.isHidden()) return;
    const CGFloat alpha = std::clamp<CGFloat>(view.presentationAlpha(), 0, 1);
    if (alpha <= 0) return;
    cairo_t* cr = _canvas.cr();
    const CGRect frame = view.frame();
    cairo_save(cr);
    cairo_translate(cr, frame.minX(), frame.minY());
    const bool group = alpha < 1;
    if (group) cairo_push_group(cr);
    if (view.clipsToBounds()) {
        cairo_rectangle(cr, 0, 0, frame.width(), frame.height());
        cairo_clip(cr);
    }
    if (const auto& background = view.backgroundColor()) _canvas.fillRect(view.bounds(), *background);
    const UIColor inherited = _tint;
    const UIColor tint = tintOf(view, inherited);
    drawContent(view, tint);
    _tint = tint;
    for (const auto& sub : view.subviews())
        if (sub) draw(*sub);
    _tint = inherited;
    if (group) {
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, alpha);
    }
    cairo_restore(cr);
}

void ViewPainter::drawContent(const UIView& view, const UIColor& tint) {
    if (auto* label = dynamic_cast<const UILabel*>(&view)) drawLabel(*label);
    else if (auto* image = dynamic_cast<const UIImageView*>(&view)) drawImageView(*image, tint);
    else if (auto* control = dynamic_cast<const UISwitch*>(&view)) drawSwitch(*control);
    else if (auto* slider = dynamic_cast<const UISlider*>(&view)) drawSlider(*slider);
    else if (auto* button = dynamic_cast<const UIButton*>(&view)) drawButton(*button, tint);
    else if (auto* field = dynamic_cast<const UITextField*>(&view)) drawTextField(*field, tint);
    else if (auto* segments = dynamic_cast<const UISegmentedControl*>(&view)) drawSegmentedControl(*segments, tint);
    else if (auto* spinner = dynamic_cast<const UIActivityIndicatorView*>(&view)) drawActivityIndicator(*spinner);
}

void ViewPainter::drawLabel(const UILabel& label) {
    if (!label.text() || label.text()->empty()) return;
    Canvas::TextStyle style;
    style.font = label.font();
    style.color = label.textColor();
    style.alignment = label.textAlignment();
    style.wrap = label.numberOfLines() != 1;
    _canvas.drawText(*label.text(), label.bounds(), style);
}

void ViewPainter::drawImageView(const UIImageView& view, const UIColor& tint) {
    const auto& image = view.image();
    if (!image) return;
    _canvas.drawImageShadow(*image, view.bounds(), view.layer());
    _canvas.drawImage(*image, view.bounds(), tint);
}

void ViewPainter::drawSwitch(const UISwitch& control) {
    const CGRect bounds = control.bounds();
    const CGFloat radius = bounds.height() / 2;
    const double position = std::clamp(_switchPosition ? _switchPosition(control) : control.isOn() ? 1.0 : 0.0, 0.0, 1.0);
    if (position < 1) {
        _canvas.fillRoundedRect(bounds, radius, grey(229));
        _canvas.fillRoundedRect(CGRectMake(1.5, 1.5, bounds.width() - 3, bounds.height() - 3), radius - 1.5,
            UIColor::whiteColor());
    }
    if (position > 0) {
        // The on-colour fades in over the off look as the thumb slides across.
        UIColor on = control.effectiveOnTintColor();
        on.alpha *= position;
        _canvas.fillRoundedRect(bounds, radius, on);
    }
    const CGFloat knob = radius - 1.5;
    const CGFloat cx = radius + position * (bounds.width() - 2 * radius);
    const CGRect knobRect = CGRectMake(cx - knob, radius - knob, 2 * knob, 2 * knob);
    _canvas.softShadow(knobRect, knob, 3, {0, 2}, 0.12);
    _canvas.fillCircle({cx, radius}, knob, UIColor::whiteColor());
}

CGFloat ViewPainter::sliderThumbCentreX(const UISlider& slider) {
    const CGFloat width = slider.frame().width();
    const float span = slider.maximumValue() - slider.minimumValue();
    const double t = span > 0 ? std::clamp((slider.value() - slider.minimumValue()) / span, 0.0f, 1.0f) : 0.0;
    return kSliderThumbRadius + t * std::max<CGFloat>(0, width - 2 * kSliderThumbRadius);
}

float ViewPainter::sliderValueAtX(const UISlider& slider, CGFloat x) {
    const CGFloat travel = slider.frame().width() - 2 * kSliderThumbRadius;
    if (travel <= 0) return slider.minimumValue();
    const double t = std::clamp((x - kSliderThumbRadius) / travel, 0.0, 1.0);
    return static_cast<float>(slider.minimumValue() + t * (slider.maximumValue() - slider.minimumValue()));
}

void ViewPainter::drawSlider(const UISlider& slider) {
    const CGRect bounds = slider.bounds();
    const CGFloat mid = bounds.height() / 2;
    const CGFloat thumb = sliderThumbCentreX(slider);
    const UIColor minimum = slider.minimumTrackTintColor().value_or(defaultMinimumTrackColor());
    const UIColor maximum = slider.maximumTrackTintColor().value_or(defaultMaximumTrackColor());
    _canvas.fillRoundedRect(CGRectMake(thumb, mid - 1, bounds.width() - thumb, 2), 1, maximum);
    _canvas.fillRoundedRect(CGRectMake(0, mid - 1, thumb, 2), 1, minimum);
    const CGFloat r = kSliderThumbRadius;
    const CGRect knob = CGRectMake(thumb - r, mid - r, 2 * r, 2 * r);
    _canvas.softShadow(knob, r, 3, {0, 2}, 0.14);
    _canvas.fillCircle({thumb, mid}, r, grey(222));
    _canvas.fillCircle({thumb, mid}, r - 0.5, UIColor::whiteColor());
}

void ViewPainter::drawButton(const UIButton& button, const UIColor& tint) {
    const auto title = button.titleForState(UIControlStateNormal);
    if (!title || title->empty()) return;
    Canvas::TextStyle style;
    style.color = button.isEnabled() ? tint : grey(142);
    style.alignment = NSTextAlignmentCenter;
    _canvas.drawText(*title, button.bounds(), style);
}

void ViewPainter::drawTextField(const UITextField& field, const UIColor& tint) {
    const CGRect bounds = field.bounds();
    const bool boxed = field.borderStyle() == UITextBorderStyleRoundedRect;
    if (boxed) {
        _canvas.fillRoundedRect(bounds, 5, UIColor::whiteColor());
        _canvas.strokeRoundedRect(bounds, 5, grey(200), 1);
    }
    const CGFloat inset = boxed ? 6 : 0;
    const CGRect textRect = CGRectMake(inset, 0, bounds.width() - 2 * inset, bounds.height());
    Canvas::TextStyle style;
    style.alignment = field.textAlignment();
    const std::string shown = field.displayedText();
    CGFloat textWidth = 0;
    if (!shown.empty()) {
        textWidth = _canvas.drawText(shown, textRect, style).width;
    } else if (!field.placeholder().empty()) {
        style.color = placeholderColor();
        _canvas.drawText(field.placeholder(), textRect, style);
    }
    if (!field.isFirstResponder()) return;
    // The caret at the end of the text.
    CGFloat x = textRect.minX() + textWidth + 1;
    if (field.textAlignment() == NSTextAlignmentRight) x = textRect.maxX() - 1;
    x = std::min(x, textRect.maxX() - 2);
    _canvas.fillRect(CGRectMake(x, bounds.height() / 2 - 10, 2, 20), tint);
}

void ViewPainter::drawSegmentedControl(const UISegmentedControl& control, const UIColor& tint) {
    const CGRect bounds = control.bounds();
    if (control.numberOfSegments() == 0 || bounds.width() <= 0) return;
    constexpr CGFloat kRadius = 4;
    const UIColor colour = control.isEnabled() ? tint : grey(142);
    const NSInteger selected = control.selectedSegmentIndex();
    cairo_t* cr = _canvas.cr();
    if (selected >= 0) {
        // Only the selected segment is filled; the outline's rounded corners clip it.
        cairo_save(cr);
        _canvas.roundedRectPath(bounds, kRadius);
        cairo_clip(cr);
        _canvas.fillRect(control.segmentRect(selected), colour);
        cairo_restore(cr);
    }
    _canvas.strokeRoundedRect(bounds, kRadius, colour, 1);
    for (NSInteger i = 1; i < control.numberOfSegments(); ++i) {
        const CGFloat x = std::round(control.segmentRect(i).minX() * _canvas.scale()) / _canvas.scale();
        _canvas.fillRect(CGRectMake(x - 0.5, 0, 1, bounds.height()), colour);
    }
    Canvas::TextStyle style;
    style.font = UIFont::systemFontOfSize(kSegmentFontSize);
    style.alignment = NSTextAlignmentCenter;
    for (NSInteger i = 0; i < control.numberOfSegments(); ++i) {
        const CGRect r = control.segmentRect(i);
        style.color = i == selected ? UIColor::whiteColor() : colour;
        _canvas.drawText(control.titleForSegmentAtIndex(i), CGRectMake(r.minX() + 4, r.minY(), r.width() - 8, r.height()), style);
    }
}

void ViewPainter::drawActivityIndicator(const UIActivityIndicatorView& indicator) {
    // Twelve spokes, the leading one darkest and the rest fading behind it.
    constexpr int kSpokes = 12;
    const CGRect bounds = indicator.bounds();
    const CGFloat outer = std::min(bounds.width(), bounds.height()) / 2;
    const CGFloat inner = outer * 0.45, width = outer * 0.2;
    const CGPoint centre{bounds.width() / 2, bounds.height() / 2};
    cairo_t* cr = _canvas.cr();
    cairo_save(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, width);
    for (int i = 0; i < kSpokes; ++i) {
        const double angle = -M_PI / 2 + 2 * M_PI * i / kSpokes;
        const double fade = 1.0 - 0.75 * ((kSpokes - i) % kSpokes) / double(kSpokes - 1);
        _canvas.setColor(indicator.color(), fade);
        cairo_move_to(cr, centre.x + std::cos(angle) * inner, centre.y + std::sin(angle) * inner);
        cairo_line_to(cr, centre.x + std::cos(angle) * (outer - width / 2), centre.y + std::sin(angle) * (outer - width / 2));
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

}  // namespace sim
