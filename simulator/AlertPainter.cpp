#include "simulator/AlertPainter.h"

#include <cmath>

#include "host/UIKit/UIToolbar.h"
#include "simulator/KeyboardPainter.h"

namespace sim {
namespace {

UIColor rgb(int r, int g, int b) { return UIColor::colorWithRed(r / 255.0, g / 255.0, b / 255.0, 1); }

}  // namespace

void AlertPainter::draw(const UIAlertView& alert, CGSize screen) {
    const auto layout = ModalLayout::alert(alert, screen);
    drawAlert(alert, layout, screen, Look{1, 1});
    auto field = alert.textFieldAtIndex(0);
    if (!field || !field->isFirstResponder() || layout.keyboard.size.height <= 0) return;
    drawKeyboard(alert, layout, field->keyboardType());
}

void AlertPainter::drawAlert(const UIAlertView& alert, const ModalLayout::Alert& layout, CGSize screen, Look look) {
    if (look.alpha <= 0) return;
    cairo_t* cr = _canvas.cr();
    cairo_save(cr);
    const bool group = look.alpha < 1;
    // The dimming fades by its own colour; only the box (with room for its shadow) needs a group.
    _canvas.fillRect(CGRectMake(0, 0, screen.width, screen.height), UIColor::colorWithWhite(0, 0.4 * look.alpha));
    if (group) {
        constexpr CGFloat kShadowRoom = 24;
        const CGFloat w = layout.box.width() * look.scale + 2 * kShadowRoom, h = layout.box.height() * look.scale + 2 * kShadowRoom;
        cairo_rectangle(cr, layout.box.midX() - w / 2, layout.box.midY() - h / 2, w, h);
        cairo_clip(cr);
        cairo_push_group(cr);
    }
    if (look.scale != 1) {
        const CGFloat cx = layout.box.midX(), cy = layout.box.midY();
        cairo_translate(cr, cx, cy);
        cairo_scale(cr, look.scale, look.scale);
        cairo_translate(cr, -cx, -cy);
    }
    drawBox(alert, layout);
    drawButtons(alert, layout);
    if (group) {
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, look.alpha);
    }
    cairo_restore(cr);
}

void AlertPainter::drawKeyboard(const UIAlertView& alert, const ModalLayout::Alert& layout, UIKeyboardType type, CGFloat drop) {
    auto field = alert.textFieldAtIndex(0);
    if (!field || layout.keyboard.size.height <= 0) return;
    cairo_t* cr = _canvas.cr();
    cairo_save(cr);
    cairo_translate(cr, 0, std::round(drop * _canvas.scale()) / _canvas.scale());
    if (auto toolbar = std::dynamic_pointer_cast<UIToolbar>(field->inputAccessoryView()))
        if (layout.toolbar.size.height > 0) drawToolbar(*toolbar, layout);
    KeyboardPainter(_canvas).draw(layout, type);
    cairo_restore(cr);
}

void AlertPainter::drawBox(const UIAlertView& alert, const ModalLayout::Alert& layout) {
    _canvas.softShadow(layout.box, 13, 10, {0, 2}, 0.10);
    _canvas.fillRoundedRect(layout.box, 13, rgb(248, 248, 248));
    Canvas::TextStyle title;
    title.font = UIFont::boldSystemFontOfSize(ModalLayout::kAlertTitleFontSize);
    title.alignment = NSTextAlignmentCenter;
    title.wrap = true;
    title.centreVertically = false;
    if (alert.title()) _canvas.drawText(*alert.title(), layout.title, title);
    Canvas::TextStyle message = title;
    message.font = UIFont::systemFontOfSize(ModalLayout::kAlertMessageFontSize);
    if (alert.message()) _canvas.drawText(*alert.message(), layout.message, message);

    auto field = alert.textFieldAtIndex(0);
    if (!field || layout.field.size.height <= 0) return;
    const CGRect f = layout.field;
    _canvas.fillRect(f, UIColor::whiteColor());
    _canvas.strokeRoundedRect(f, 4, rgb(198, 198, 204), 1 / _canvas.scale() * 2);
    Canvas::TextStyle text;
    text.font = UIFont::systemFontOfSize(ModalLayout::kAlertMessageFontSize + 2);
    const CGRect textRect = CGRectMake(f.minX() + 6, f.minY(), f.width() - 12, f.height());
    const CGFloat width = _canvas.drawText(field->text(), textRect, text).width;
    if (field->isFirstResponder()) {
        const CGFloat x = std::min(textRect.minX() + width + 1, textRect.maxX());
        _canvas.fillRect(CGRectMake(x, f.midY() - 8.5, 2, 17), UIColor::systemBlueColor());
    }
}

void AlertPainter::drawButtons(const UIAlertView& alert, const ModalLayout::Alert& layout) {
    const UIColor line = rgb(219, 219, 223);
    for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
        const auto& button = layout.buttons[i];
        const CGRect r = button.frame;
        const bool sideBySide = layout.buttons.size() == 2;
        if (!sideBySide || i == 0) _canvas.hairline(layout.box.minX(), layout.box.maxX(), r.minY(), line);
        if (sideBySide && i == 1) _canvas.verticalHairline(r.minX(), r.minY(), r.maxY(), line);
        Canvas::TextStyle style;
        // The layout keeps the alert's button order, so position i is button index i.
        const bool cancel = NSInteger(i) == alert.cancelButtonIndex();
        style.font = cancel ? UIFont::boldSystemFontOfSize(17) : UIFont::systemFontOfSize(17);
        style.color = UIColor::systemBlueColor();
        style.alignment = NSTextAlignmentCenter;
        _canvas.drawText(button.title, CGRectMake(r.minX() + 6, r.minY(), r.width() - 12, r.height()), style);
    }
}

void AlertPainter::drawToolbar(const UIToolbar& toolbar, const ModalLayout::Alert& layout) {
    const CGRect bar = layout.toolbar;
    _canvas.fillRect(bar, toolbar.backgroundColor().value_or(rgb(247, 247, 247)));
    _canvas.hairline(bar.minX(), bar.maxX(), bar.minY(), rgb(178, 178, 178));
    Canvas::TextStyle style;
    style.font = UIFont::systemFontOfSize(ModalLayout::kKeyFontSize);
    style.color = toolbar.tintColor().value_or(UIColor::systemBlueColor());
    style.alignment = NSTextAlignmentCenter;
    for (const auto& key : layout.keys) _canvas.drawText(key.title, key.frame, style);
}

}  // namespace sim
