#include "host/UIKit/UISlider.h"

#include <algorithm>
#include <cmath>

void UISlider::setValue(float value, bool) {
    if (std::isnan(value)) return;
    _value = std::clamp(value, _minimum, std::max(_minimum, _maximum));
}

void UISlider::setMinimumValue(float v) {
    _minimum = v;
    if (_maximum < v) _maximum = v;
    setValue(_value);
}

void UISlider::setMaximumValue(float v) {
    _maximum = v;
    if (_minimum > v) _minimum = v;
    setValue(_value);
}

void UISlider::slideTo(float value) {
    setValue(value);
    sendActionsForControlEvents(UIControlEventValueChanged);
}
