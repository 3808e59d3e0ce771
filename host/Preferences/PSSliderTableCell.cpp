#include "host/Preferences/PSSliderTableCell.h"

#include <algorithm>

#include "host/Foundation/NSString.h"
#include "host/Runtime/SaturatingCast.h"

namespace {
constexpr CGFloat kInset = 15;
constexpr CGFloat kValueWidth = 50;
// The standard space between sibling controls: the track ends this far before the value's area,
// so a value as wide as that area still stands clear of it.
constexpr CGFloat kValueSpacing = 8;
}

std::shared_ptr<PSSliderTableCell> PSSliderTableCell::initWithStyle(NSInteger style, const std::string& reuseIdentifier,
    const std::shared_ptr<PSSpecifier>& specifier) {
    auto cell = std::make_shared<PSSliderTableCell>();
    if (!cell->initialiseSlider(style, reuseIdentifier, specifier)) return nullptr;
    return cell;
}

bool PSSliderTableCell::initialiseSlider(NSInteger style, const std::string& reuseIdentifier,
    const std::shared_ptr<PSSpecifier>& specifier) {
    if (!initialiseBase(style, reuseIdentifier, specifier)) return false;
    _slider = std::make_shared<UISlider>();
    if (specifier) {
        _slider->setMinimumValue(specifier->propertyForKey("min").floatValue());
        _slider->setMaximumValue(specifier->propertyForKey("max").floatValue());
    }
    contentView()->addSubview(_slider);
    if (specifier && specifier->propertyForKey("showValue").boolValue()) {
        _valueLabel = std::make_shared<UILabel>();
        _valueLabel->setTextAlignment(NSTextAlignmentRight);
        _valueLabel->setTextColor(UIColor::colorWithRed(142 / 255.0, 142 / 255.0, 147 / 255.0, 1));
        contentView()->addSubview(_valueLabel);
    }
    exposeSelector("controlChanged:", [this](const id&) {
        updateValueLabel();
        controlChanged(PlistValue(double{_slider->value()}));
    });
    _slider->addTarget(shared_from_this(), "controlChanged:", UIControlEventValueChanged);
    setSelectionStyle(UITableViewCellSelectionStyleNone);
    setFrame(frame());
    return true;
}

void PSSliderTableCell::setValue(const PlistValue& value) {
    PSTableCell::setValue(value);
    if (auto n = value.number()) _slider->setValue(static_cast<float>(*n));
    else if (value.isString()) _slider->setValue(value.floatValue());
    updateValueLabel();
}

void PSSliderTableCell::updateValueLabel() {
    if (!_valueLabel) return;
    const float v = _slider->value();
    const long whole = host::saturatingCast<long>(v);  // bounds from the page may be 1e30 or infinite
    _valueLabel->setText(v == static_cast<float>(whole) ? NSString::stringWithFormat("%ld", whole) : NSString::stringWithFormat("%.2f", v));
}

void PSSliderTableCell::refreshCellContentsWithSpecifier(const std::shared_ptr<PSSpecifier>& specifier) {
    if (!specifier) return;
    _slider->setMinimumValue(specifier->propertyForKey("min").floatValue());
    _slider->setMaximumValue(specifier->propertyForKey("max").floatValue());
}

void PSSliderTableCell::setFrame(CGRect frame) {
    PSTableCell::setFrame(frame);
    if (!_slider) return;
    const CGFloat valueSpace = _valueLabel ? kValueSpacing + kValueWidth : 0;
    _slider->setFrame(CGRectMake(kInset, 0, std::max<CGFloat>(0, frame.size.width - 2 * kInset - valueSpace), frame.size.height));
    if (_valueLabel) _valueLabel->setFrame(CGRectMake(frame.size.width - kInset - kValueWidth, 0, kValueWidth, frame.size.height));
}
