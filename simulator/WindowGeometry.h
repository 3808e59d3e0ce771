#pragma once
// Where the window goes and how big it draws the screen: the largest scale that fits the display
// with room for the window's frame, a position fully on the display, and, once the user resizes
// the window, the screen fitted into it at the device's aspect with bars beside or above it.
#include <optional>
#include <string_view>

#include "host/CoreGraphics/CGGeometry.h"

namespace sim {

class WindowGeometry {
public:
    struct Rect {
        int x = 0, y = 0, width = 0, height = 0;
        bool operator==(const Rect&) const = default;
    };

    // The screen's place in the window: `scale` window pixels a point, its top-left corner at
    // (x, y) of the window, `width` x `height` pixels.
    struct Viewport {
        double scale = 1;
        Rect content;
        CGPoint pointAt(int x, int y) const { return {(x - content.x) / scale, (y - content.y) / scale}; }
        bool contains(int x, int y) const {
            return x >= content.x && y >= content.y && x < content.x + content.width && y < content.y + content.height;
        }
    };

    static constexpr double kMinScale = 0.25, kMaxScale = 4;  // what --scale accepts
    static constexpr double kDefaultMaxScale = 2;             // sharp on any display that has room
    static constexpr double kScaleStep = 0.05;                // fitted scales are whole steps
    static constexpr int kMargin = 16;                        // pixels kept free around the window
    static constexpr int kFrameTop = 32;                      // room for a title bar above it

    // The largest whole step, at most `maxScale`, at which the screen and its margins fit `usable`
    // (never below kMinScale).
    static double fitScale(CGSize screen, const Rect& usable, double maxScale = kDefaultMaxScale);
    // The window for the screen at `scale`: centred in `usable` where it fits, else at its top
    // left below a title bar's room; never above or left of it.
    static Rect place(CGSize screen, double scale, const Rect& usable);
    // The screen fitted into a window of this size, at its own aspect, centred; at `preferred`
    // where the window is exactly the screen's size at that scale (as it opened).
    static Viewport letterbox(CGSize screen, int width, int height, double preferred = 0);
    // A --scale value: a number from kMinScale to kMaxScale.
    static std::optional<double> parseScale(std::string_view text);

    // Pixels for `points` at `scale`, rounded as the window sizes them.
    static int pixels(CGFloat points, double scale);
};

}  // namespace sim
