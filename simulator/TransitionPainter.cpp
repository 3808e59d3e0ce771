#include "simulator/TransitionPainter.h"

#include <cmath>

#include "host/UIKit/UIAlertView.h"
#include "simulator/AlertPainter.h"
#include "simulator/PageFace.h"
#include "simulator/Renderer.h"
#include "simulator/ScreenColumns.h"
#include "simulator/ScreenLayout.h"
#include "simulator/SettingsApp.h"
#include "simulator/SheetPainter.h"

namespace sim {
namespace {

using Kind = Transition::Kind;
constexpr CGFloat kShadowWidth = 10;
constexpr double kShadowOpacity = 0.16;
constexpr double kUnderPageDimming = 0.1;

}  // namespace

TransitionPainter::TransitionPainter(const SettingsApp& app, Canvas& canvas) : _app(app), _canvas(canvas), _now(app.now()) {}

void TransitionPainter::drawColumn(const ScreenColumn& shown) {
    const PageFace current = PageFace::of(_app, shown);
    const CGRect column = shown.frame;
    const auto& transitions = _app.transitions();
    const bool moves = shown.controller && shown.controller == _app.visibleController();
    const auto* move = moves ? transitions.find(Kind::Push, _now) : nullptr;
    if (moves && !move) move = transitions.find(Kind::Pop, _now);
    if (!move || !move->leaving.controller) {
        Renderer::drawPage(_app, current, _canvas, column, 0);
        Renderer::drawBarBackground(current, _canvas, column, 1);
        Renderer::drawBarItems(current, _canvas, column, 1);
        return;
    }
    const double p = move->transition.progress(_now);
    const bool push = move->transition.kind == Kind::Push;
    // The page on top comes in (push) or goes out (pop); `cover` is how much of the column it covers.
    if (push) drawNavigation(current, move->leaving, p, column);
    else drawNavigation(move->leaving, current, 1 - p, column);
    Renderer::drawBarBackground(current, _canvas, column, 1);
    Renderer::drawBarBackground(move->leaving, _canvas, column, 1 - p);
    Renderer::drawBarItems(move->leaving, _canvas, column, 1 - p);
    Renderer::drawBarItems(current, _canvas, column, p);
}

void TransitionPainter::drawNavigation(const PageFace& top, const PageFace& under, double cover, CGRect column) {
    const CGFloat width = column.width();
    const CGFloat topX = std::round(width * (1 - cover) * _canvas.scale()) / _canvas.scale();
    cairo_t* cr = _canvas.cr();
    // The page underneath shows only left of the top page's edge.
    cairo_save(cr);
    cairo_rectangle(cr, column.minX(), 0, topX, column.height());
    cairo_clip(cr);
    Renderer::drawPage(_app, under, _canvas, column, -width * kUnderPageTravel * cover);
    cairo_restore(cr);
    cairo_save(cr);
    const CGRect content = CGRectMake(column.minX(), ScreenLayout::kContentTop, width, column.height() - ScreenLayout::kContentTop);
    cairo_rectangle(cr, content.minX(), content.minY(), content.width(), content.height());
    cairo_clip(cr);
    // The page underneath darkens a little as it is covered; the top page casts a soft shadow.
    _canvas.fillRect(CGRectMake(content.minX(), content.minY(), topX, content.height()),
        UIColor::colorWithWhite(0, kUnderPageDimming * cover));
    const CGFloat edge = column.minX() + topX;
    auto* shadow = cairo_pattern_create_linear(edge - kShadowWidth, 0, edge, 0);
    cairo_pattern_add_color_stop_rgba(shadow, 0, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgba(shadow, 1, 0, 0, 0, kShadowOpacity * cover);
    cairo_set_source(cr, shadow);
    cairo_rectangle(cr, edge - kShadowWidth, content.minY(), kShadowWidth, content.height());
    cairo_fill(cr);
    cairo_pattern_destroy(shadow);
    cairo_restore(cr);
    Renderer::drawPage(_app, top, _canvas, column, topX);
}

void TransitionPainter::drawPresented(CGSize screen) {
    const auto& transitions = _app.transitions();
    if (const auto* out = transitions.find(Kind::Dismiss, _now); out && out->controller)
        drawModal(*out->controller, screen, screen.height * out->transition.progress(_now));
    auto presented = _app.presentedController();
    if (!presented) return;
    CGFloat drop = 0;
    for (const auto& r : transitions.all())
        if (r.transition.kind == Kind::Present && r.controller == presented && r.transition.runningAt(_now))
            drop = screen.height * (1 - r.transition.progress(_now));
    drawModal(*presented, screen, drop);
}

void TransitionPainter::drawModal(const UIViewController& controller, CGSize screen, CGFloat drop) {
    if (drop >= screen.height) return;
    cairo_t* cr = _canvas.cr();
    cairo_save(cr);
    cairo_translate(cr, 0, std::round(drop * _canvas.scale()) / _canvas.scale());
    const bool fullScreen = SheetPainter(_canvas, _app.keyboardShifted()).draw(controller, screen);
    cairo_restore(cr);
    if (!fullScreen) return;
    // A full-screen composer brings its own light bar, so the status bar is drawn dark on it.
    cairo_save(cr);
    cairo_rectangle(cr, 0, drop, screen.width, screen.height - drop);
    cairo_clip(cr);
    Renderer::drawStatusBar(_canvas, screen, 0);
    cairo_restore(cr);
}

void TransitionPainter::drawAlerts(CGSize screen) {
    const auto& transitions = _app.transitions();
    AlertPainter painter(_canvas);
    if (const auto* out = transitions.find(Kind::AlertOut, _now); out && out->alert && out->layout)
        painter.drawAlert(*out->alert, *out->layout, screen, {1 - out->transition.progress(_now), 1});
    if (const auto* down = transitions.find(Kind::KeyboardOut, _now); down && down->alert && down->layout) {
        const CGFloat travel = screen.height - down->layout->keyboard.minY();
        painter.drawKeyboard(*down->alert, *down->layout, down->keyboardType, travel * down->transition.progress(_now));
    }
    auto alert = _app.topAlert();
    if (!alert) return;
    const auto layout = ModalLayout::alert(*alert, screen);
    AlertPainter::Look look;
    for (const auto& r : transitions.all())
        if (r.transition.kind == Kind::AlertIn && r.alert == alert && r.transition.runningAt(_now)) {
            const double p = r.transition.progress(_now);
            look = {p, kAlertStartScale + (1 - kAlertStartScale) * p};
        }
    painter.drawAlert(*alert, layout, screen, look);
    auto field = alert->textFieldAtIndex(0);
    if (!field || !field->isFirstResponder() || layout.keyboard.size.height <= 0) return;
    CGFloat drop = 0;
    for (const auto& r : transitions.all())
        if (r.transition.kind == Kind::KeyboardIn && r.alert == alert && r.transition.runningAt(_now))
            drop = (screen.height - layout.keyboard.minY()) * (1 - r.transition.progress(_now));
    painter.drawKeyboard(*alert, layout, field->keyboardType(), drop);
}

void TransitionPainter::drawPress() {
    const auto& press = _app.press();
    if (!press || press->kind == PressTarget::Kind::Row) return;  // a row shows its selection itself
    cairo_t* cr = _canvas.cr();
    cairo_save(cr);
    switch (press->kind) {
        case PressTarget::Kind::BarButton: {
            // A bar button dims: the bar's colour laid over most of it.
            const UIColor bar = PageFace::of(_app).barColor;
            _canvas.fillRect(press->frame, {bar.red, bar.green, bar.blue, 0.75});
            break;
        }
        case PressTarget::Kind::ModalButton:
            _canvas.fillRect(press->frame, UIColor::colorWithRed(248 / 255.0, 248 / 255.0, 248 / 255.0, 0.75));
            break;
        case PressTarget::Kind::AlertButton:
            if (auto alert = _app.topAlert()) {
                _canvas.roundedRectPath(ModalLayout::alert(*alert, _app.screenSize()).box, 13);
                cairo_clip(cr);
            }
            _canvas.fillRect(press->frame, UIColor::colorWithWhite(0, 0.08));
            break;
        case PressTarget::Kind::Key:
            _canvas.fillRoundedRect(press->frame, 4, UIColor::colorWithWhite(0, 0.18));
            break;
        case PressTarget::Kind::Row:
            break;
    }
    cairo_restore(cr);
}

}  // namespace sim
