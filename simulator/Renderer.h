#pragma once
// Draws the simulated screen exactly as the model holds it, with Cairo and Pango: each column (a
// phone's one, a pad's list and pane) with its navigation bar in that bar's colours, the page's
// title or title view (at its presentation alpha), bar buttons and grouped table, through the
// transition painter while something moves; the status bar in its style across the screen, a
// presented share sheet or mail composer, the front alert with its keyboard, and the note banner.
#include <cairo.h>

#include <filesystem>
#include <string>

#include "host/CoreGraphics/CGGeometry.h"
#include "host/UIKit/UIColor.h"

class UIViewController;

namespace sim {

class SettingsApp;
class BackButton;
class Canvas;
struct PageFace;

class Renderer {
public:
    // Draws the whole screen into `cr`, whose user space is device pixels: `scale` pixels a point.
    static void draw(const SettingsApp& app, cairo_t* cr, double scale);
    // A new ARGB32 image of the screen (screen size times `scale`); the caller destroys it.
    static cairo_surface_t* renderImage(const SettingsApp& app, double scale);
    // Writes the screen as a PNG; false, with the reason, when it cannot.
    static bool writePNG(const SettingsApp& app, const std::filesystem::path& path, double scale = 2,
        std::string* error = nullptr);

    // Status-bar text: dark for style 0, light for style 1 (light content).
    static UIColor statusBarTextColor(NSInteger style) { return style == 1 ? UIColor::whiteColor() : UIColor::blackColor(); }

    // A page of a column (screen points): its content under the bar, shifted right by `dx` and
    // clipped to the column; its bar's background and its items (title, back and bar buttons),
    // each at an opacity. A push or pop draws two pages and cross-fades their bars with these.
    static void drawPage(const SettingsApp& app, const PageFace& face, Canvas& canvas, CGRect column, CGFloat dx);
    static void drawBarBackground(const PageFace& face, Canvas& canvas, CGRect column, double alpha);
    static void drawBarItems(const PageFace& face, Canvas& canvas, CGRect column, double alpha);
    static void drawStatusBar(Canvas& canvas, CGSize screen, NSInteger style);

private:
    static void drawTitle(UIViewController& controller, const PageFace& face, Canvas& canvas, CGSize bar);
    static void drawBackButton(const BackButton& back, const UIColor& tint, Canvas& canvas);
    static void mirrorBackButton(const BackButton& back, const UIColor& tint, Canvas& canvas, CGSize screen);
    static void drawComposeGlyph(CGPoint centre, const UIColor& tint, Canvas& canvas);
    static void drawNote(Canvas& canvas, CGSize screen, const std::string& text);
};

}  // namespace sim
