#include "simulator/Canvas.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <tuple>
#include <vector>

#include "host/Runtime/SaturatingCast.h"
#include "host/UIKit/TextMetrics.h"
#include "host/UIKit/UIImage.h"

namespace sim {
namespace {

// Font descriptions are parsed once per platform font and kept for the process.
PangoFontDescription* fontDescription(const UIFont& font) {
    static std::mutex mutex;
    // Never destroyed: what it holds stays reachable until the process ends.
    static auto* cache = new std::map<std::pair<std::string, double>, PangoFontDescription*>();
    std::lock_guard lock(mutex);
    auto key = std::make_pair(font.fontName, font.pointSize);
    auto it = cache->find(key);
    if (it != cache->end()) return it->second;
    auto* description = pango_font_description_from_string(host::TextMetrics::pangoDescription(font).c_str());
    cache->emplace(key, description);
    return description;
}

// One horizontal and one vertical box-blur pass over an 8-bit alpha plane.
void boxBlur(std::vector<std::uint8_t>& plane, int width, int height, int stride, int radius) {
    std::vector<std::uint8_t> line(std::max(width, height));
    const int span = 2 * radius + 1;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = plane.data() + y * stride;
        int sum = 0;
        for (int x = -radius; x <= radius; ++x) sum += (x >= 0 && x < width) ? row[x] : 0;
        for (int x = 0; x < width; ++x) {
            line[x] = static_cast<std::uint8_t>(sum / span);
            const int out = x - radius, in = x + radius + 1;
            if (out >= 0) sum -= row[out];
            if (in < width) sum += row[in];
        }
        std::copy_n(line.begin(), width, row);
    }
    for (int x = 0; x < width; ++x) {
        int sum = 0;
        for (int y = -radius; y <= radius; ++y) sum += (y >= 0 && y < height) ? plane[y * stride + x] : 0;
        for (int y = 0; y < height; ++y) {
            line[y] = static_cast<std::uint8_t>(sum / span);
            const int out = y - radius, in = y + radius + 1;
            if (out >= 0) sum -= plane[out * stride + x];
            if (in < height) sum += plane[in * stride + x];
        }
        for (int y = 0; y < height; ++y) plane[y * stride + x] = line[y];
    }
}

host::CHandle<cairo_surface_t, cairo_surface_destroy> surfaceFor(const UIImage& image) {
    // Cairo only reads a source surface, so lending it the image's pixels is safe.
    auto* data = const_cast<unsigned char*>(image.pixels().data());
    return host::CHandle<cairo_surface_t, cairo_surface_destroy>(cairo_image_surface_create_for_data(data,
        CAIRO_FORMAT_ARGB32, image.pixelWidth(), image.pixelHeight(), image.stride()));
}

}  // namespace

Canvas::Canvas(cairo_t* cr, double scale) : _cr(cr), _scale(scale) {
    host::TextMetrics::configureFonts();
    _pango.reset(pango_cairo_create_context(cr));
    const host::CHandle<cairo_font_options_t, cairo_font_options_destroy> options(cairo_font_options_create());
    // Every option set, none left to the machine, so a screen draws to the same pixels anywhere.
    // Unhinted metrics keep text the same width at every scale, as the label sizes assume; no
    // hinting keeps glyph shapes independent of the FreeType build's hinter; grey antialiasing
    // (never subpixel) makes the subpixel order moot, but it is fixed too.
    cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_antialias(options.get(), CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_subpixel_order(options.get(), CAIRO_SUBPIXEL_ORDER_RGB);
    pango_cairo_context_set_font_options(_pango.get(), options.get());
}

void Canvas::setColor(const UIColor& color, double alphaFactor) {
    cairo_set_source_rgba(_cr, color.red, color.green, color.blue, color.alpha * alphaFactor);
}

void Canvas::fillRect(CGRect rect, const UIColor& color) {
    if (color.alpha <= 0) return;
    setColor(color);
    cairo_rectangle(_cr, rect.minX(), rect.minY(), rect.width(), rect.height());
    cairo_fill(_cr);
}

void Canvas::roundedRectPath(CGRect r, CGFloat radius) {
    radius = std::min({radius, r.width() / 2, r.height() / 2});
    cairo_new_sub_path(_cr);
    cairo_arc(_cr, r.maxX() - radius, r.minY() + radius, radius, -M_PI / 2, 0);
    cairo_arc(_cr, r.maxX() - radius, r.maxY() - radius, radius, 0, M_PI / 2);
    cairo_arc(_cr, r.minX() + radius, r.maxY() - radius, radius, M_PI / 2, M_PI);
    cairo_arc(_cr, r.minX() + radius, r.minY() + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(_cr);
}

void Canvas::fillRoundedRect(CGRect rect, CGFloat radius, const UIColor& color) {
    setColor(color);
    roundedRectPath(rect, radius);
    cairo_fill(_cr);
}

void Canvas::strokeRoundedRect(CGRect rect, CGFloat radius, const UIColor& color, CGFloat lineWidth) {
    setColor(color);
    const CGFloat inset = lineWidth / 2;
    roundedRectPath(CGRectMake(rect.minX() + inset, rect.minY() + inset, rect.width() - lineWidth,
                        rect.height() - lineWidth),
        radius - inset);
    cairo_set_line_width(_cr, lineWidth);
    cairo_stroke(_cr);
}

void Canvas::fillCircle(CGPoint centre, CGFloat radius, const UIColor& color) {
    setColor(color);
    cairo_new_sub_path(_cr);
    cairo_arc(_cr, centre.x, centre.y, radius, 0, 2 * M_PI);
    cairo_fill(_cr);
}

namespace {

// Fills the device-pixel rectangle between two user-space corners, snapped to whole pixels, so a
// hairline is exactly one device pixel wide at any scale.
void fillDeviceAligned(cairo_t* cr, double x0, double y0, double x1, double y1, bool horizontal) {
    cairo_user_to_device(cr, &x0, &y0);
    cairo_user_to_device(cr, &x1, &y1);
    cairo_save(cr);
    cairo_identity_matrix(cr);
    if (horizontal) cairo_rectangle(cr, std::round(x0), std::round(y0), std::round(x1) - std::round(x0), 1);
    else cairo_rectangle(cr, std::round(x0), std::round(y0), 1, std::round(y1) - std::round(y0));
    cairo_fill(cr);
    cairo_restore(cr);
}

}  // namespace

void Canvas::hairline(CGFloat x0, CGFloat x1, CGFloat y, const UIColor& color) {
    setColor(color);
    fillDeviceAligned(_cr, x0, y, x1, y, true);
}

void Canvas::verticalHairline(CGFloat x, CGFloat y0, CGFloat y1, const UIColor& color) {
    setColor(color);
    fillDeviceAligned(_cr, x, y0, x, y1, false);
}

void Canvas::softShadow(CGRect rect, CGFloat radius, CGFloat blur, CGSize offset, double opacity) {
    const int steps = 4;
    for (int i = steps; i >= 1; --i) {
        const CGFloat grow = blur * i / steps;
        const CGRect r = CGRectMake(rect.minX() + offset.width - grow / 2, rect.minY() + offset.height - grow / 2,
            rect.width() + grow, rect.height() + grow);
        fillRoundedRect(r, radius + grow / 2, UIColor::colorWithWhite(0, opacity / steps));
    }
}

Canvas::Layout Canvas::layoutFor(const std::string& text, const UIFont& font, CGFloat width, bool wrap) {
    pango_cairo_update_context(_cr, _pango.get());
    Layout owned(pango_layout_new(_pango.get()));
    PangoLayout* layout = owned.get();
    pango_layout_set_font_description(layout, fontDescription(font));
    pango_layout_set_text(layout, text.c_str(), static_cast<int>(text.size()));
    // An alignment names a side of the screen, whichever way the text itself runs.
    pango_layout_set_auto_dir(layout, FALSE);
    if (wrap) {
        if (width > 0) pango_layout_set_width(layout, host::saturatingCast<int>(width * PANGO_SCALE));
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    } else {
        pango_layout_set_single_paragraph_mode(layout, TRUE);
        if (width > 0) {
            pango_layout_set_width(layout, host::saturatingCast<int>(width * PANGO_SCALE));
            pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
        }
    }
    return owned;
}

CGSize Canvas::measureText(const std::string& text, const UIFont& font, CGFloat wrapWidth) {
    if (text.empty()) return {0, 0};
    const Layout layout = layoutFor(text, font, wrapWidth, wrapWidth > 0);
    PangoRectangle logical{};
    pango_layout_get_extents(layout.get(), nullptr, &logical);
    return {logical.width / double(PANGO_SCALE), logical.height / double(PANGO_SCALE)};
}

Canvas::PlacedText Canvas::place(const std::string& text, CGRect rect, const TextStyle& style) {
    const CGFloat width = rect.width();
    Layout layout = layoutFor(text, style.font, width, style.wrap);
    if (style.wrap && width > 0) {
        pango_layout_set_alignment(layout.get(), style.alignment == NSTextAlignmentCenter ? PANGO_ALIGN_CENTER
                                           : style.alignment == NSTextAlignmentRight ? PANGO_ALIGN_RIGHT
                                                                                     : PANGO_ALIGN_LEFT);
    }
    PangoRectangle logical{};
    pango_layout_get_extents(layout.get(), nullptr, &logical);
    const CGSize size{logical.width / double(PANGO_SCALE), logical.height / double(PANGO_SCALE)};
    CGFloat x = rect.minX();
    if (!style.wrap && width > 0) {
        const CGFloat used = std::min(size.width, width);
        if (style.alignment == NSTextAlignmentCenter) x += (width - used) / 2;
        else if (style.alignment == NSTextAlignmentRight) x += width - used;
        x -= logical.x / double(PANGO_SCALE);
    }
    CGFloat y = rect.minY();
    if (style.centreVertically && rect.height() > 0) y += (rect.height() - size.height) / 2;
    return {std::move(layout), {x, y}, size};
}

CGSize Canvas::drawText(const std::string& text, CGRect rect, const TextStyle& style) {
    if (text.empty()) return {0, 0};
    const PlacedText placed = place(text, rect, style);
    setColor(style.color);
    cairo_move_to(_cr, placed.origin.x, placed.origin.y);
    pango_cairo_show_layout(_cr, placed.layout.get());
    cairo_new_path(_cr);
    return placed.size;
}

CGRect Canvas::endOfText(const std::string& text, CGRect rect, const TextStyle& style) {
    const PlacedText placed = place(text, rect, style);
    PangoRectangle cursor{};
    pango_layout_get_cursor_pos(placed.layout.get(), static_cast<int>(text.size()), &cursor, nullptr);
    CGFloat x = placed.origin.x + cursor.x / double(PANGO_SCALE);
    if (rect.width() > 0) x = std::min(x, rect.maxX());  // an ellipsized line ends at the rect's edge
    return CGRectMake(x, placed.origin.y + cursor.y / double(PANGO_SCALE), 0, cursor.height / double(PANGO_SCALE));
}

void Canvas::drawImage(const UIImage& image, CGRect rect, const std::optional<UIColor>& tint) {
    if (image.pixelWidth() <= 0 || image.pixelHeight() <= 0 || rect.width() <= 0 || rect.height() <= 0) return;
    const Surface surface = surfaceFor(image);
    cairo_save(_cr);
    cairo_translate(_cr, rect.minX(), rect.minY());
    cairo_scale(_cr, rect.width() / image.pixelWidth(), rect.height() / image.pixelHeight());
    cairo_rectangle(_cr, 0, 0, image.pixelWidth(), image.pixelHeight());
    cairo_clip(_cr);
    const host::CHandle<cairo_pattern_t, cairo_pattern_destroy> pattern(cairo_pattern_create_for_surface(surface.get()));
    cairo_pattern_set_extend(pattern.get(), CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(pattern.get(), CAIRO_FILTER_GOOD);
    if (image.renderingMode() == UIImageRenderingModeAlwaysTemplate && tint) {
        setColor(*tint);
        cairo_mask(_cr, pattern.get());
    } else {
        cairo_set_source(_cr, pattern.get());
        cairo_paint(_cr);
    }
    cairo_restore(_cr);
}

void Canvas::drawImageShadow(const UIImage& image, CGRect rect, const CALayer& layer) {
    const auto& color = layer.shadowColor();
    if (!color || layer.shadowOpacity() <= 0 || image.pixelWidth() <= 0 || rect.width() <= 0 || rect.height() <= 0)
        return;
    // The blur is worked out in device pixels, so the shadow is as soft at every scale.
    // A bundle may set any radius; past a few hundred pixels a blur shows nothing more.
    const int radius = std::clamp(host::saturatingCast<int>(std::round(layer.shadowRadius() * _scale / 2)), 0, 256);
    const int pad = 3 * radius + 1;
    const Surface mask = shadowMask(image, rect, radius, pad);
    cairo_save(_cr);
    cairo_translate(_cr, rect.minX() + layer.shadowOffset().width, rect.minY() + layer.shadowOffset().height);
    cairo_scale(_cr, 1 / _scale, 1 / _scale);
    setColor(*color, layer.shadowOpacity());
    cairo_mask_surface(_cr, mask.get(), -pad, -pad);
    cairo_restore(_cr);
}

Canvas::Surface Canvas::shadowMask(const UIImage& image, CGRect rect, int radius, int pad) {
    // Within cairo's largest surface, whatever frame the bundle gave the image.
    const int largest = 32767 - 2 * pad;
    const int w = std::min(host::saturatingCast<int>(std::ceil(rect.width() * _scale)), largest) + 2 * pad;
    const int h = std::min(host::saturatingCast<int>(std::ceil(rect.height() * _scale)), largest) + 2 * pad;
    // The same picture at the same size blurs the same way every frame: keep the blurred masks,
    // keyed by the pixels' content, not by an address that a later image may reuse.
    const auto& pixels = image.pixels();
    std::uint64_t hash = 1469598103934665603ull;
    for (std::uint8_t byte : pixels) hash = (hash ^ byte) * 1099511628211ull;
    const auto key = std::make_tuple(hash, image.pixelWidth(), image.pixelHeight(), w, h, radius);
    static std::mutex mutex;
    static auto* cache = new std::map<decltype(key), Surface>();  // never destroyed, as above
    std::lock_guard lock(mutex);
    if (auto it = cache->find(key); it != cache->end()) return Surface(cairo_surface_reference(it->second.get()));

    Surface mask(cairo_image_surface_create(CAIRO_FORMAT_A8, w, h));
    {
        const host::CHandle<cairo_t, cairo_destroy> mc(cairo_create(mask.get()));
        const Surface source = surfaceFor(image);
        cairo_translate(mc.get(), pad, pad);
        cairo_scale(mc.get(), rect.width() * _scale / image.pixelWidth(), rect.height() * _scale / image.pixelHeight());
        cairo_set_source_surface(mc.get(), source.get(), 0, 0);
        cairo_paint(mc.get());
    }
    cairo_surface_flush(mask.get());
    const int stride = cairo_image_surface_get_stride(mask.get());
    unsigned char* data = cairo_image_surface_get_data(mask.get());
    std::vector<std::uint8_t> plane(data, data + stride * h);
    for (int pass = 0; radius > 0 && pass < 3; ++pass) boxBlur(plane, w, h, stride, radius);
    std::copy(plane.begin(), plane.end(), data);
    cairo_surface_mark_dirty(mask.get());

    if (cache->size() >= kShadowCacheSize) cache->clear();
    cache->emplace(key, Surface(cairo_surface_reference(mask.get())));
    return mask;
}

}  // namespace sim
