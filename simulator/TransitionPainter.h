#pragma once
// Draws the screen's layers where their transitions have them now: the pages and the bar (a push
// or pop in flight: the incoming page over the outgoing one, with a soft shadow, the bar's items
// cross-fading), a sheet or composer sliding up or down, alerts fading in from a larger scale
// or out, the keyboard sliding, and what a finger holds down. Settled, each layer is drawn as
// it stands.
#include "host/CoreGraphics/CGGeometry.h"
#include "simulator/Canvas.h"

class UIViewController;

namespace sim {

class SettingsApp;
struct PageFace;
struct ScreenColumn;

class TransitionPainter {
public:
    TransitionPainter(const SettingsApp& app, Canvas& canvas);

    // A column's page and bar; a push or pop plays in the column that shows the visible page.
    void drawColumn(const ScreenColumn& column);
    void drawPresented(CGSize screen);
    void drawAlerts(CGSize screen);
    void drawPress();

    // How far a page moves while the page over it comes in: a third of its width.
    static constexpr double kUnderPageTravel = 1.0 / 3;
    static constexpr double kAlertStartScale = 1.2;

private:
    void drawNavigation(const PageFace& top, const PageFace& under, double cover, CGRect column);
    void drawModal(const UIViewController& controller, CGSize screen, CGFloat drop);

    const SettingsApp& _app;
    Canvas& _canvas;
    double _now;
};

}  // namespace sim
