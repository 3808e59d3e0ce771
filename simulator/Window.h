#pragma once
// The interactive window: the simulated screen drawn at 60 frames a second into an SDL2 window,
// with timers and animations running on the steady clock. Clicks tap, drags move sliders or
// scroll, the wheel scrolls, keys type into pop-ups and go back; F12 or Ctrl+S writes a PNG
// snapshot into the working folder. Runs on X11 (Xvfb included) and SDL's offscreen driver.
#include <cairo.h>

#include <functional>
#include <string>
#include <vector>

#include "host/CoreGraphics/CGGeometry.h"

namespace sim {

class SettingsApp;

class Window {
public:
    // Opens the window and runs until it is closed; 0 on a normal close. Without a video
    // device it returns 1, with the reason in `error` (or on standard error when that is null).
    static int run(SettingsApp& app, std::string* error = nullptr);

    // Test mode: the same window and loop for `frames` frames without waiting for real time.
    // Each click goes in as a real mouse press and release at its point (in screen points)
    // before the frame it names is drawn; `onFrame` sees every drawn frame.
    struct Click {
        int frame = 0;
        CGPoint point;
    };
    using FrameObserver = std::function<void(int frame, cairo_surface_t* image, double scale)>;
    static int runFrames(SettingsApp& app, int frames, const std::vector<Click>& clicks = {},
        FrameObserver onFrame = {}, std::string* error = nullptr);

    // Pixels per point for a screen on a display of the given usable size: 2 where the window
    // still fits, else 1.
    static int scaleFor(CGSize screen, int displayWidth, int displayHeight);

    static constexpr double kFrameSeconds = 1.0 / 60;
};

}  // namespace sim
