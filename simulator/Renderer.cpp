#include "simulator/Renderer.h"

#include <cmath>

#include "host/Preferences/PSListController.h"
#include "host/Runtime/CHandle.h"
#include "host/Runtime/DeviceProfile.h"
#include "host/UIKit/LayoutDirection.h"
#include "host/UIKit/UISwitch.h"
#include "host/UIKit/UINavigationBar.h"
#include "simulator/BackButton.h"
#include "simulator/Canvas.h"
#include "simulator/ScreenColumns.h"
#include "simulator/ScreenLayout.h"
#include "simulator/SettingsApp.h"
#include "simulator/PageFace.h"
#include "simulator/StatusBarPainter.h"
#include "simulator/TablePainter.h"
#include "simulator/TransitionPainter.h"
#include "simulator/ViewPainter.h"

namespace sim {
namespace {

constexpr CGFloat kBarTop = ScreenLayout::kStatusBarHeight;
constexpr CGFloat kBarHeight = ScreenLayout::kNavigationBarHeight;

// Between a pad's list and pane, from the status bar down.
UIColor separatorColor() { return UIColor::colorWithRed(178 / 255.0, 178 / 255.0, 178 / 255.0, 1); }

UIColor darker(const UIColor& c, double factor) { return {c.red * factor, c.green * factor, c.blue * factor, 1}; }

}  // namespace

void Renderer::draw(const SettingsApp& app, cairo_t* cr, double scale) {
    const CGSize screen = app.screenSize();
    cairo_save(cr);
    cairo_scale(cr, scale, scale);
    Canvas canvas(cr, scale);
    TransitionPainter motion(app, canvas);
    for (const auto& column : ScreenColumns::of(app)) motion.drawColumn(column);
    if (ScreenColumns::split()) canvas.fillRect(ScreenColumns::separatorFrame(screen), separatorColor());
    drawStatusBar(canvas, screen, app.statusBarStyle());
    motion.drawPresented(screen);
    motion.drawAlerts(screen);
    motion.drawPress();
    if (auto note = app.note(); note && !note->empty()) drawNote(canvas, screen, *note);
    cairo_restore(cr);
}

cairo_surface_t* Renderer::renderImage(const SettingsApp& app, double scale) {
    const CGSize screen = app.screenSize();
    const int width = static_cast<int>(std::ceil(screen.width * scale));
    const int height = static_cast<int>(std::ceil(screen.height * scale));
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(1, width), std::max(1, height));
    draw(app, host::CHandle<cairo_t, cairo_destroy>(cairo_create(surface)).get(), scale);
    cairo_surface_flush(surface);
    return surface;
}

bool Renderer::writePNG(const SettingsApp& app, const std::filesystem::path& path, double scale, std::string* error) {
    if (!(scale > 0)) {
        if (error) *error = "a snapshot needs a positive scale";
        return false;
    }
    std::error_code ec;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
    const host::CHandle<cairo_surface_t, cairo_surface_destroy> surface(renderImage(app, scale));
    const cairo_status_t status = cairo_surface_write_to_png(surface.get(), path.c_str());
    if (status != CAIRO_STATUS_SUCCESS) {
        if (error) *error = "cannot write " + std::filesystem::absolute(path).string() + ": " + cairo_status_to_string(status);
        return false;
    }
    return true;
}

void Renderer::drawPage(const SettingsApp& app, const PageFace& face, Canvas& canvas, CGRect column, CGFloat dx) {
    const CGRect viewport = CGRectMake(column.minX() + dx, ScreenLayout::kContentTop, column.width(),
        column.height() - ScreenLayout::kContentTop);
    cairo_save(canvas.cr());
    cairo_rectangle(canvas.cr(), column.minX(), viewport.minY(), column.width(), viewport.height());
    cairo_clip(canvas.cr());
    const auto switches = [&app](const UISwitch& control) { return app.switchPosition(control); };
    auto page = std::dynamic_pointer_cast<PSListController>(face.controller);
    if (auto table = page ? page->table() : nullptr) {
        TablePainter painter(canvas, UIColor::systemBlueColor());
        painter.setSelection([&app](const UITableViewCell& cell) { return app.rowSelection(cell); });
        painter.setSwitchPosition(switches);
        painter.draw(*table, viewport);
    } else if (!face.controller || !face.controller->isViewLoaded()) {
        canvas.fillRect(viewport, TablePainter::groupedBackgroundColor());
    } else {
        canvas.fillRect(viewport, UIColor::whiteColor());
        cairo_translate(canvas.cr(), viewport.minX(), viewport.minY());
        ViewPainter painter(canvas, UIColor::systemBlueColor());
        painter.setSwitchPosition(switches);
        painter.draw(*face.controller->view());
    }
    cairo_restore(canvas.cr());
}

void Renderer::drawBarBackground(const PageFace& face, Canvas& canvas, CGRect column, double alpha) {
    if (alpha <= 0) return;
    // The bar reaches up under the status bar, in one flat colour.
    const UIColor color{face.barColor.red, face.barColor.green, face.barColor.blue, face.barColor.alpha * alpha};
    canvas.fillRect(CGRectMake(column.minX(), 0, column.width(), kBarTop + kBarHeight), color);
    const UIColor line = darker(face.barColor, 0.72);
    canvas.hairline(column.minX(), column.maxX(), kBarTop + kBarHeight - 1 / canvas.scale(), {line.red, line.green, line.blue, alpha});
}

void Renderer::drawBarItems(const PageFace& face, Canvas& canvas, CGRect column, double alpha) {
    if (!face.controller || alpha <= 0) return;
    cairo_t* cr = canvas.cr();
    cairo_save(cr);
    const bool group = alpha < 1;
    // The fading items' group covers the bar alone, not the whole screen.
    cairo_rectangle(cr, column.minX(), 0, column.width(), kBarTop + kBarHeight);
    cairo_clip(cr);
    if (group) cairo_push_group(cr);
    cairo_translate(cr, column.minX(), 0);
    const CGSize bar{column.width(), kBarTop + kBarHeight};
    const UIColor tint = face.tint;
    drawTitle(*face.controller, face, canvas, bar);
    // A mirrored bar swaps its ends: the back button on the right, the right button on the left.
    const bool mirrored = host::LayoutDirection::isRightToLeft();
    const auto side = [&](CGRect rect) { return mirrored ? host::LayoutDirection::flipped(rect, bar.width) : rect; };
    if (face.back) {
        if (mirrored) mirrorBackButton(*face.back, tint, canvas, bar);
        else drawBackButton(*face.back, tint, canvas);
    }
    auto item = face.controller->navigationItem();
    Canvas::TextStyle text;
    text.color = tint;
    if (auto right = item->rightBarButtonItem()) {
        const CGRect area = side(CGRectMake(bar.width - ScreenLayout::kBarButtonWidth, kBarTop, ScreenLayout::kBarButtonWidth, kBarHeight));
        if (right->systemItem() == UIBarButtonSystemItemCompose) {
            drawComposeGlyph({area.midX(), area.midY()}, tint, canvas);
        } else if (right->title()) {
            text.alignment = NSTextAlignmentRight;
            const CGFloat width = canvas.measureText(*right->title(), text.font).width;
            canvas.drawText(*right->title(), side(CGRectMake(bar.width - 8 - width, kBarTop, width, kBarHeight)), text);
        }
    }
    if (auto left = item->leftBarButtonItem(); left && left->title() && !face.canGoBack) {
        text.alignment = mirrored ? NSTextAlignmentRight : NSTextAlignmentLeft;
        canvas.drawText(*left->title(), side(CGRectMake(8, kBarTop, ScreenLayout::kBackButtonWidth - 8, kBarHeight)), text);
    }
    if (group) {
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, alpha);
    }
    cairo_restore(cr);
}

void Renderer::mirrorBackButton(const BackButton& back, const UIColor& tint, Canvas& canvas, CGSize screen) {
    // The chevron reflected to the right end, pointing right; the text beside it, reading from it.
    cairo_save(canvas.cr());
    cairo_translate(canvas.cr(), screen.width, 0);
    cairo_scale(canvas.cr(), -1, 1);
    drawBackButton(BackButton{"", back.width}, tint, canvas);
    cairo_restore(canvas.cr());
    if (back.text.empty()) return;
    Canvas::TextStyle style;
    style.color = tint;
    style.font = UIFont::systemFontOfSize(BackButton::kFontSize);
    style.alignment = NSTextAlignmentRight;
    const CGRect rect = CGRectMake(BackButton::kTextX, kBarTop, back.width - BackButton::kTextX, kBarHeight);
    canvas.drawText(back.text, host::LayoutDirection::flipped(rect, screen.width), style);
}

void Renderer::drawTitle(UIViewController& controller, const PageFace& face, Canvas& canvas, CGSize bar) {
    auto item = controller.navigationItem();
    if (const auto& view = item->titleView()) {
        // The title view is centred in the bar at its own size.
        const CGRect frame = view->frame();
        const CGFloat x = std::round((bar.width - frame.width()) / 2);
        const CGFloat y = std::round(kBarTop + (kBarHeight - frame.height()) / 2);
        cairo_save(canvas.cr());
        cairo_translate(canvas.cr(), x - frame.minX(), y - frame.minY());
        ViewPainter(canvas, face.tint).draw(*view);
        cairo_restore(canvas.cr());
        return;
    }
    std::optional<std::string> title = item->title();
    if (!title) title = controller.title();
    if (!title || title->empty()) return;
    Canvas::TextStyle style;
    style.font = UIFont::boldSystemFontOfSize(17);
    style.color = face.titleColor;
    style.alignment = NSTextAlignmentCenter;
    const CGFloat side = ScreenLayout::kBackButtonWidth;
    canvas.drawText(*title, CGRectMake(side, kBarTop, bar.width - 2 * side, kBarHeight), style);
}

void Renderer::drawBackButton(const BackButton& back, const UIColor& tint, Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    const CGFloat mid = kBarTop + kBarHeight / 2;
    canvas.setColor(tint);
    cairo_set_line_width(cr, 3);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_move_to(cr, 19, mid - 10.5);
    cairo_line_to(cr, 9, mid);
    cairo_line_to(cr, 19, mid + 10.5);
    cairo_stroke(cr);
    if (back.text.empty()) return;
    Canvas::TextStyle style;
    style.color = tint;
    style.font = UIFont::systemFontOfSize(BackButton::kFontSize);
    canvas.drawText(back.text, CGRectMake(BackButton::kTextX, kBarTop, back.width - BackButton::kTextX, kBarHeight), style);
}

void Renderer::drawComposeGlyph(CGPoint c, const UIColor& tint, Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    canvas.setColor(tint);
    cairo_set_line_width(cr, 1.5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    // The square, open at its top right where the pencil leaves it.
    const CGFloat left = c.x - 11, top = c.y - 8, size = 18, r = 2.5;
    cairo_move_to(cr, left + 9, top);
    cairo_line_to(cr, left + r, top);
    cairo_arc_negative(cr, left + r, top + r, r, -M_PI / 2, -M_PI);
    cairo_line_to(cr, left, top + size - r);
    cairo_arc_negative(cr, left + r, top + size - r, r, M_PI, M_PI / 2);
    cairo_line_to(cr, left + size - r, top + size);
    cairo_arc_negative(cr, left + size - r, top + size - r, r, M_PI / 2, 0);
    cairo_line_to(cr, left + size, top + 9);
    cairo_stroke(cr);
    // The pencil: a slim diagonal with a pointed tip.
    cairo_move_to(cr, left + 8, top + 10);
    cairo_line_to(cr, left + 20, top - 2);
    cairo_stroke(cr);
    cairo_move_to(cr, left + 6.5, top + 11.5);
    cairo_line_to(cr, left + 7.2, top + 8.8);
    cairo_line_to(cr, left + 9.2, top + 10.8);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void Renderer::drawStatusBar(Canvas& canvas, CGSize screen, NSInteger style) {
    StatusBarPainter(canvas).draw(host::DeviceProfile::current(), screen, statusBarTextColor(style));
}

void Renderer::drawNote(Canvas& canvas, CGSize screen, const std::string& text) {
    Canvas::TextStyle style;
    style.font = UIFont::systemFontOfSize(13);
    style.color = UIColor::whiteColor();
    style.alignment = NSTextAlignmentCenter;
    style.wrap = true;
    style.centreVertically = false;
    const CGFloat maxText = screen.width - 56;
    const CGSize size = canvas.measureText(text, style.font, maxText);
    const CGFloat width = std::min(screen.width - 24, size.width + 32);
    const CGRect box = CGRectMake(std::round((screen.width - width) / 2), screen.height - size.height - 70, width, size.height + 16);
    canvas.fillRoundedRect(box, 10, UIColor::colorWithRed(0.12, 0.12, 0.13, 0.88));
    canvas.drawText(text, CGRectMake(box.minX() + 16, box.minY() + 8, box.width() - 32, size.height), style);
}

}  // namespace sim
