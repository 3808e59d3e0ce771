#pragma once
// A slider: a value between a minimum and a maximum, with the two track tints.
#include <optional>

#include "host/UIKit/UIControl.h"

class UISlider : public UIControl {
public:
    NS_CLASS(UISlider)

    float value() const { return _value; }
    // Clamped into [minimum, maximum], as the platform's slider does.
    void setValue(float value, bool animated = false);
    float minimumValue() const { return _minimum; }
    void setMinimumValue(float v);
    float maximumValue() const { return _maximum; }
    void setMaximumValue(float v);
    const std::optional<UIColor>& minimumTrackTintColor() const { return _minimumTrackTint; }
    void setMinimumTrackTintColor(std::optional<UIColor> c) { _minimumTrackTint = c; }
    const std::optional<UIColor>& maximumTrackTintColor() const { return _maximumTrackTint; }
    void setMaximumTrackTintColor(std::optional<UIColor> c) { _maximumTrackTint = c; }

    // A user's drag to `value`: sets it and sends value-changed.
    void slideTo(float value);

private:
    float _value = 0, _minimum = 0, _maximum = 1;
    std::optional<UIColor> _minimumTrackTint, _maximumTrackTint;
};
