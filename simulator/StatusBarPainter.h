#pragma once
// The status bar along the screen's top, as the device in the profile shows it: on a phone the
// five signal dots, "Carrier" and the Wi-Fi fan; on a Wi-Fi pad "iPad" and the fan; the clock in
// the middle; the full battery at the right.
#include "host/CoreGraphics/CGGeometry.h"
#include "host/UIKit/UIColor.h"

namespace host {
struct DeviceProfile;
}

namespace sim {

class Canvas;

class StatusBarPainter {
public:
    explicit StatusBarPainter(Canvas& canvas) : _canvas(canvas) {}

    // Draws the bar's contents (not its background) in `color` for `profile`.
    void draw(const host::DeviceProfile& profile, CGSize screen, const UIColor& color);

    // Where the Wi-Fi fan is drawn for `profile`: the box of its widest arc, after the carrier.
    static CGRect wifiRect(const host::DeviceProfile& profile);
    // The signal dots' centres run from this x at this pitch, along the bar's middle.
    static constexpr CGFloat kFirstDotX = 9, kDotPitch = 6.5, kDotRadius = 2.75;

private:
    void drawWifi(CGRect box, const UIColor& color);

    Canvas& _canvas;
};

}  // namespace sim
