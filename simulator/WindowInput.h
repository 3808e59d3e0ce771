#pragma once
// Turns the window's SDL events into what a user does on the simulated screen: a click taps
// (rows, bars, pop-ups and the number pad, through the app's hit-testing), a drag moves a slider
// or scrolls the page, the wheel scrolls, keys type into the front alert's field and press its
// buttons, typed text goes into a row's field being edited (Return ends it), Escape, Backspace
// and Alt+Left go back. Window pixels become screen points through the window's viewport, which
// follows its size; a press on the bars beside the screen does nothing. Kept apart from the window
// so it can be fed events without a display.
#include <SDL.h>

#include <memory>
#include <optional>

#include "host/CoreGraphics/CGGeometry.h"
#include "host/UIKit/NSIndexPath.h"
#include "simulator/WindowGeometry.h"

class UISlider;

namespace sim {

class SettingsApp;

class WindowInput {
public:
    WindowInput(SettingsApp& app, const WindowGeometry::Viewport& viewport) : _app(app), _viewport(viewport) {}
    // A window exactly the screen's size at `scale` pixels a point.
    WindowInput(SettingsApp& app, double scale);
    // The window's size changed: later events are placed by this.
    void setViewport(const WindowGeometry::Viewport& viewport) { _viewport = viewport; }

    enum class Request { None, Quit, Snapshot };
    Request handle(const SDL_Event& event);

    static constexpr CGFloat kWheelStep = 40;   // points scrolled per wheel notch
    static constexpr CGFloat kDragSlop = 6;     // points a press may move and still be a tap

private:
    struct SliderGrab {
        NSIndexPath indexPath;
        std::weak_ptr<UISlider> slider;
        CGFloat originX = 0;   // the slider's left edge on the screen
        CGFloat grabOffset = 0;  // where on the thumb it was taken, from its centre
    };

    CGPoint pointOf(int x, int y) const { return _viewport.pointAt(x, y); }
    void press(CGPoint point);
    void move(CGPoint point);
    void release(CGPoint point);
    std::optional<SliderGrab> sliderAt(CGPoint point) const;
    Request key(const SDL_KeyboardEvent& event);
    bool alertKey(SDL_Keycode key, bool control);

    SettingsApp& _app;
    WindowGeometry::Viewport _viewport;
    bool _pressed = false, _scrolling = false;
    CGPoint _pressPoint, _lastPoint;
    std::optional<SliderGrab> _grab;
};

}  // namespace sim
