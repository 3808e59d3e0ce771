#pragma once
// The letters keyboard a share sheet's or mail composer's text opens, at the foot of the screen.
// On a phone: three rows of letters (qwerty), shift and delete beside the last, then 123, the
// space bar and return. On a pad, wider: delete and return end the first two rows, shift at both
// ends of the third with ",." before the right one, then .?123, the space bar and hide-keyboard.
// Letters are shown and typed in capitals while shift is on. Drawing and the window's clicks
// share the keys.
#include <vector>

#include "host/CoreGraphics/CGGeometry.h"
#include "simulator/NumberPad.h"

namespace sim {

class LettersKeyboard {
public:
    using Key = NumberPad::Key;
    static inline const std::string kShift = "shift";

    static constexpr CGFloat kPhoneKeyGap = 6;  // between a phone's keys; the pad's as NumberPad
    static constexpr CGFloat kPhoneRowGap = 12;

    // The keyboard's frame on a screen of `screen` points.
    static CGRect frame(CGSize screen);
    // The keys laid out in `keyboard` for this device, left to right, top to bottom.
    static std::vector<Key> keys(CGRect keyboard, bool shifted);
};

}  // namespace sim
