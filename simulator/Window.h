#pragma once
// The interactive window: the simulated screen drawn at 60 frames a second into an SDL2 window,
// with timers and animations running on the steady clock. Clicks tap, drags move sliders or
// scroll, the wheel scrolls, keys type into pop-ups and go back; F12 or Ctrl+S writes a PNG
// snapshot (the device's 2x, whatever the window's size) into the working folder. The window
// opens at the largest scale that fits the display (or the one asked for) and can be resized:
// the screen keeps the device's aspect, centred, with bars where the window is wider or taller.
// It opens only on a display that answers (X11, Wayland or another driver that shows something);
// test runs may also use SDL's offscreen driver.
#include <cairo.h>

#include <functional>
#include <string>
#include <vector>

#include "host/CoreGraphics/CGGeometry.h"

namespace sim {

class SettingsApp;

class Window {
public:
    // Opens the window and runs until it is closed; 0 on a normal close. `scale` is window
    // pixels a point (0: the largest that fits the display, at most 2). Without a display that
    // shows it, it returns 1 at once, with the reason in `error` (or on standard error when that
    // is null).
    static int run(SettingsApp& app, double scale = 0, std::string* error = nullptr, const std::function<void()>& opened = {});

    // Test mode: the same window and loop for `frames` frames without waiting for real time.
    // Each click goes in as a real mouse press and release at its point (in screen points)
    // before the frame it names is drawn, each resize as a real change of the window's size (in
    // pixels); `onFrame` sees every drawn frame and the scale it was drawn at.
    struct Click {
        int frame = 0;
        CGPoint point;
    };
    struct Resize {
        int frame = 0;
        int width = 0, height = 0;
    };
    using FrameObserver = std::function<void(int frame, cairo_surface_t* image, double scale)>;
    static int runFrames(SettingsApp& app, int frames, const std::vector<Click>& clicks = {},
        const std::vector<Resize>& resizes = {}, FrameObserver onFrame = {}, std::string* error = nullptr);

    static constexpr double kFrameSeconds = 1.0 / 60;
    static constexpr double kSnapshotScale = 2;
};

}  // namespace sim
