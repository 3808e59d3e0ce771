#pragma once
// Drawing primitives over a Cairo context in screen points: exact solid fills, device-pixel
// hairlines, rounded shapes, Pango text in the platform's fonts, images (plain, template-tinted,
// with a blurred layer shadow). One Canvas per drawn frame; it keeps one Pango context for it.
#include <cairo.h>
#include <glib-object.h>

#include <optional>
#include <string>

#include "host/CoreGraphics/CGGeometry.h"
#include "host/Runtime/CHandle.h"
#include "host/UIKit/CALayer.h"
#include "host/UIKit/UIColor.h"
#include "host/UIKit/UIFont.h"
#include "host/UIKit/UILabel.h"

class UIImage;
typedef struct _PangoContext PangoContext;
typedef struct _PangoLayout PangoLayout;

namespace sim {

class Canvas {
public:
    // `scale` is the number of device pixels per point that `cr` is already scaled by.
    Canvas(cairo_t* cr, double scale);
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return _cr; }
    double scale() const { return _scale; }

    void setColor(const UIColor& color, double alphaFactor = 1);
    void fillRect(CGRect rect, const UIColor& color);
    void fillRoundedRect(CGRect rect, CGFloat radius, const UIColor& color);
    void strokeRoundedRect(CGRect rect, CGFloat radius, const UIColor& color, CGFloat lineWidth);
    void roundedRectPath(CGRect rect, CGFloat radius);
    void fillCircle(CGPoint centre, CGFloat radius, const UIColor& color);
    // A line one device pixel thick, snapped to the pixel grid.
    void hairline(CGFloat x0, CGFloat x1, CGFloat y, const UIColor& color);
    void verticalHairline(CGFloat x, CGFloat y0, CGFloat y1, const UIColor& color);
    // A soft drop shadow under a rounded shape (knobs, thumbs, cards).
    void softShadow(CGRect rect, CGFloat radius, CGFloat blur, CGSize offset, double opacity);

    struct TextStyle {
        UIFont font = UIFont::systemFontOfSize(17);
        UIColor color = UIColor::blackColor();
        NSTextAlignment alignment = NSTextAlignmentLeft;
        bool wrap = false;            // false: one line, cut with an ellipsis at the rect's width
        bool centreVertically = true;  // false: the text starts at the rect's top
    };
    // Draws `text` in `rect` (a width of 0 or less means unbounded). Returns the text's size.
    CGSize drawText(const std::string& text, CGRect rect, const TextStyle& style);
    CGSize measureText(const std::string& text, const UIFont& font, CGFloat wrapWidth = 0);
    // Where the insertion point after the last character of `text` falls when drawn by drawText
    // with the same rect and style: a zero-width rect as tall as the line. For empty text, the
    // start of the first line.
    CGRect endOfText(const std::string& text, CGRect rect, const TextStyle& style);

    // The image stretched over `rect`; a template image (rendering mode 2) is its alpha mask
    // filled with `tint`.
    void drawImage(const UIImage& image, CGRect rect, const std::optional<UIColor>& tint = std::nullopt);
    // The layer's shadow of `image` drawn over `rect`: its alpha mask, blurred by the shadow
    // radius, offset and filled with the shadow colour at the shadow opacity.
    void drawImageShadow(const UIImage& image, CGRect rect, const CALayer& layer);

private:
    using Layout = host::CHandle<PangoLayout, g_object_unref>;
    using Surface = host::CHandle<cairo_surface_t, cairo_surface_destroy>;

    Layout layoutFor(const std::string& text, const UIFont& font, CGFloat width, bool wrap);
    // `text` laid out as drawText draws it in `rect`: the layout, its top-left and its size.
    struct PlacedText {
        Layout layout;
        CGPoint origin;
        CGSize size;
    };
    PlacedText place(const std::string& text, CGRect rect, const TextStyle& style);
    // The image's alpha at `rect`'s device size, blurred by `radius` pixels, with `pad` pixels
    // of room on each side.
    Surface shadowMask(const UIImage& image, CGRect rect, int radius, int pad);
    static constexpr std::size_t kShadowCacheSize = 32;

    cairo_t* _cr;
    double _scale;
    host::CHandle<PangoContext, g_object_unref> _pango;
};

}  // namespace sim
