#include "simulator/Renderer.h"

#include <cmath>

#include "host/Preferences/PSListController.h"
#include "host/Runtime/CHandle.h"
#include "host/Preferences/HostStrings.h"
#include "host/UIKit/UIAlertView.h"
#include "host/UIKit/UINavigationBar.h"
#include "simulator/AlertPainter.h"
#include "simulator/BackButton.h"
#include "simulator/Canvas.h"
#include "simulator/ScreenLayout.h"
#include "simulator/SettingsApp.h"
#include "simulator/SheetPainter.h"
#include "simulator/TablePainter.h"
#include "simulator/ViewPainter.h"

namespace sim {
namespace {

constexpr CGFloat kBarTop = ScreenLayout::kStatusBarHeight;
constexpr CGFloat kBarHeight = ScreenLayout::kNavigationBarHeight;

UIColor darker(const UIColor& c, double factor) { return {c.red * factor, c.green * factor, c.blue * factor, 1}; }

}  // namespace

void Renderer::draw(const SettingsApp& app, cairo_t* cr, double scale) {
    const CGSize screen = app.screenSize();
    cairo_save(cr);
    cairo_scale(cr, scale, scale);
    Canvas canvas(cr, scale);
    drawPage(app, canvas, screen);
    drawNavigationBar(app, canvas, screen);
    drawStatusBar(canvas, screen, app.statusBarStyle());
    if (auto presented = app.presentedController()) {
        // A full-screen composer brings its own light bar, so the status bar is drawn dark on it.
        if (SheetPainter(canvas, app.keyboardShifted()).draw(*presented, screen)) drawStatusBar(canvas, screen, 0);
    }
    if (auto alert = app.topAlert()) AlertPainter(canvas).draw(*alert, screen);
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

void Renderer::drawPage(const SettingsApp& app, Canvas& canvas, CGSize screen) {
    const CGRect viewport = CGRectMake(0, ScreenLayout::kContentTop, screen.width, screen.height - ScreenLayout::kContentTop);
    auto page = app.visiblePage();
    if (auto table = page ? page->table() : nullptr) {
        TablePainter(canvas, UIColor::systemBlueColor()).draw(*table, viewport);
        return;
    }
    auto controller = app.visibleController();
    if (!controller || !controller->isViewLoaded()) {
        canvas.fillRect(viewport, TablePainter::groupedBackgroundColor());
        return;
    }
    canvas.fillRect(viewport, UIColor::whiteColor());
    cairo_save(canvas.cr());
    cairo_rectangle(canvas.cr(), viewport.minX(), viewport.minY(), viewport.width(), viewport.height());
    cairo_clip(canvas.cr());
    cairo_translate(canvas.cr(), 0, viewport.minY());
    ViewPainter(canvas, UIColor::systemBlueColor()).draw(*controller->view());
    cairo_restore(canvas.cr());
}

void Renderer::drawNavigationBar(const SettingsApp& app, Canvas& canvas, CGSize screen) {
    auto bar = app.visibleBar();
    const UIColor barColor = bar ? bar->effectiveBarTintColor() : UINavigationBar::defaultBarTintColor();
    const UIColor tint = bar ? bar->effectiveTintColor() : UINavigationBar::defaultTintColor();
    // The bar reaches up under the status bar, in one flat colour.
    canvas.fillRect(CGRectMake(0, 0, screen.width, kBarTop + kBarHeight), barColor);
    canvas.hairline(0, screen.width, kBarTop + kBarHeight - 1 / canvas.scale(), darker(barColor, 0.72));

    auto controller = app.visibleController();
    if (!controller) return;
    drawTitle(*controller, bar.get(), canvas, screen);
    if (auto back = BackButton::of(app)) drawBackButton(*back, tint, canvas);
    auto item = controller->navigationItem();
    Canvas::TextStyle text;
    text.color = tint;
    if (auto right = item->rightBarButtonItem()) {
        const CGRect area = CGRectMake(screen.width - ScreenLayout::kBarButtonWidth, kBarTop, ScreenLayout::kBarButtonWidth, kBarHeight);
        if (right->systemItem() == UIBarButtonSystemItemCompose) {
            drawComposeGlyph({area.midX(), area.midY()}, tint, canvas);
        } else if (right->title()) {
            text.alignment = NSTextAlignmentRight;
            const CGFloat width = canvas.measureText(*right->title(), text.font).width;
            canvas.drawText(*right->title(), CGRectMake(screen.width - 8 - width, kBarTop, width, kBarHeight), text);
        }
    }
    if (auto left = item->leftBarButtonItem(); left && left->title() && !app.canGoBack())
        canvas.drawText(*left->title(), CGRectMake(8, kBarTop, ScreenLayout::kBackButtonWidth - 8, kBarHeight), text);
}

void Renderer::drawTitle(UIViewController& controller, const UINavigationBar* bar, Canvas& canvas, CGSize screen) {
    auto item = controller.navigationItem();
    const UIColor tint = bar ? bar->effectiveTintColor() : UINavigationBar::defaultTintColor();
    if (const auto& view = item->titleView()) {
        // The title view is centred in the bar at its own size.
        const CGRect frame = view->frame();
        const CGFloat x = std::round((screen.width - frame.width()) / 2);
        const CGFloat y = std::round(kBarTop + (kBarHeight - frame.height()) / 2);
        cairo_save(canvas.cr());
        cairo_translate(canvas.cr(), x - frame.minX(), y - frame.minY());
        ViewPainter(canvas, tint).draw(*view);
        cairo_restore(canvas.cr());
        return;
    }
    std::optional<std::string> title = item->title();
    if (!title) title = controller.title();
    if (!title || title->empty()) return;
    Canvas::TextStyle style;
    style.font = UIFont::boldSystemFontOfSize(17);
    style.color = bar ? bar->effectiveTitleColor() : UINavigationBar::defaultTitleColor();
    style.alignment = NSTextAlignmentCenter;
    const CGFloat side = ScreenLayout::kBackButtonWidth;
    canvas.drawText(*title, CGRectMake(side, kBarTop, screen.width - 2 * side, kBarHeight), style);
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
    const UIColor color = statusBarTextColor(style);
    const CGFloat h = ScreenLayout::kStatusBarHeight;
    // Signal strength: five dots, then the carrier.
    for (int i = 0; i < 5; ++i) canvas.fillCircle({9.0 + i * 6.5, h / 2}, 2.75, color);
    Canvas::TextStyle text;
    text.font = UIFont::systemFontOfSize(12);
    text.color = color;
    canvas.drawText("Carrier", CGRectMake(43, 0, 80, h), text);
    Canvas::TextStyle clock = text;
    clock.font = UIFont::boldSystemFontOfSize(12);
    clock.alignment = NSTextAlignmentCenter;
    canvas.drawText(host::HostStrings::statusBarTime(9, 41), CGRectMake(0, 0, screen.width, h), clock);
    // The battery, full.
    const CGRect battery = CGRectMake(screen.width - 30, 5, 23, 10.5);
    canvas.strokeRoundedRect(battery, 2.5, color, 1);
    canvas.fillRoundedRect(CGRectMake(battery.minX() + 2, battery.minY() + 2, battery.width() - 4, battery.height() - 4), 1, color);
    canvas.fillRoundedRect(CGRectMake(battery.maxX() + 0.5, battery.midY() - 2, 1.5, 4), 0.75, color);
    text.alignment = NSTextAlignmentRight;
    canvas.drawText("100%", CGRectMake(screen.width - 90, 0, 56, h), text);
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
