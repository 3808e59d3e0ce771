#pragma once
// The simulated screen's fixed geometry, in points, shared by drawing and hit-testing.
#include "host/CoreGraphics/CGGeometry.h"

namespace sim {

struct ScreenLayout {
    static constexpr CGFloat kStatusBarHeight = 20;
    static constexpr CGFloat kNavigationBarHeight = 44;
    static constexpr CGFloat kContentTop = kStatusBarHeight + kNavigationBarHeight;  // the table starts here
    static constexpr CGFloat kBackButtonWidth = 90;    // left end of the bar: the back button
    static constexpr CGFloat kBarButtonWidth = 50;     // right end of the bar: the right bar button
    static constexpr CGFloat kKeyboardHeight = 216;    // the number pad
    static constexpr CGFloat kAlertWidth = 270;
    static constexpr CGFloat kAlertButtonHeight = 44;
};

}  // namespace sim
