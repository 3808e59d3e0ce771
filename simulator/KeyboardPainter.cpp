#include "simulator/KeyboardPainter.h"

#include "simulator/LettersKeyboard.h"

namespace sim {
namespace {

UIColor rgb(int r, int g, int b) { return UIColor::colorWithRed(r / 255.0, g / 255.0, b / 255.0, 1); }

}  // namespace

UIColor KeyboardPainter::keyboardColor() { return rgb(209, 213, 219); }

void KeyboardPainter::draw(const ModalLayout::Alert& layout, UIKeyboardType type) {
    const CGRect pad = NumberPad::padFrame(layout);
    if (pad.size.height <= 0) return;
    if (NumberPad::padKeyboard()) drawPadPage(pad, type);
    else drawPhonePad(pad, type);
}

void KeyboardPainter::drawPhonePad(CGRect pad, UIKeyboardType type) {
    _canvas.fillRect(pad, keyboardColor());
    const UIColor divider = rgb(188, 191, 196);
    for (const auto& key : NumberPad::keys(pad, type)) {
        const CGRect k = key.frame;
        const bool digit = !key.label.empty() && key.label != NumberPad::kDelete;
        if (digit) _canvas.fillRect(k, UIColor::whiteColor());
        _canvas.hairline(k.minX(), k.maxX(), k.minY(), divider);
        if (k.minX() > pad.minX()) _canvas.verticalHairline(k.minX(), k.minY(), k.maxY(), divider);
        if (key.label == NumberPad::kDelete) {
            drawDeleteGlyph(k);
            continue;
        }
        Canvas::TextStyle digitStyle;
        digitStyle.font = UIFont::systemFontOfSize(25);
        digitStyle.alignment = NSTextAlignmentCenter;
        // Digits with letters under them (and the 1, which lines up with them) sit higher.
        const CGFloat lift = key.label >= "1" && key.label <= "9" ? 6 : 0;
        _canvas.drawText(key.label, CGRectMake(k.minX(), k.minY() - lift, k.width(), k.height()), digitStyle);
        if (key.letters.empty()) continue;
        Canvas::TextStyle letters;
        letters.font = UIFont::boldSystemFontOfSize(10);
        letters.alignment = NSTextAlignmentCenter;
        _canvas.drawText(key.letters, CGRectMake(k.minX(), k.midY() + 8, k.width(), 12), letters);
    }
}

void KeyboardPainter::drawPadPage(CGRect pad, UIKeyboardType type) {
    _canvas.fillRect(pad, keyboardColor());
    _canvas.hairline(pad.minX(), pad.maxX(), pad.minY(), rgb(178, 178, 178));
    for (const auto& key : NumberPad::keys(pad, type)) drawPadKey(key);
}

void KeyboardPainter::drawLetters(CGRect keyboard, bool shifted) {
    _canvas.fillRect(keyboard, keyboardColor());
    _canvas.hairline(keyboard.minX(), keyboard.maxX(), keyboard.minY(), rgb(178, 178, 178));
    for (const auto& key : LettersKeyboard::keys(keyboard, shifted)) {
        if (key.action == NumberPad::Action::Shift) drawShiftKey(key, shifted);
        else drawPadKey(key);
    }
}

// A grey key with an outlined arrow; white with the arrow filled while shift is on.
void KeyboardPainter::drawShiftKey(const NumberPad::Key& key, bool shifted) {
    const CGRect k = key.frame;
    _canvas.fillRoundedRect(CGRectMake(k.minX(), k.minY() + 1, k.width(), k.height()), NumberPad::kPadKeyRadius, rgb(136, 138, 142));
    _canvas.fillRoundedRect(k, NumberPad::kPadKeyRadius, shifted ? UIColor::whiteColor() : rgb(172, 179, 188));
    cairo_t* cr = _canvas.cr();
    const CGFloat cx = k.midX(), cy = k.midY();
    cairo_move_to(cr, cx, cy - 9);
    cairo_line_to(cr, cx + 9, cy + 1);
    cairo_line_to(cr, cx + 4, cy + 1);
    cairo_line_to(cr, cx + 4, cy + 8);
    cairo_line_to(cr, cx - 4, cy + 8);
    cairo_line_to(cr, cx - 4, cy + 1);
    cairo_line_to(cr, cx - 9, cy + 1);
    cairo_close_path(cr);
    _canvas.setColor(UIColor::blackColor());
    cairo_set_line_width(cr, 1.2);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    if (shifted) cairo_fill(cr);
    else cairo_stroke(cr);
}

void KeyboardPainter::drawPadKey(const NumberPad::Key& key) {
    const CGRect k = key.frame;
    // Character keys are white; the keys that do something else are the darker grey.
    const bool character = key.action == NumberPad::Action::Type;
    _canvas.fillRoundedRect(CGRectMake(k.minX(), k.minY() + 1, k.width(), k.height()), NumberPad::kPadKeyRadius, rgb(136, 138, 142));
    _canvas.fillRoundedRect(k, NumberPad::kPadKeyRadius, character ? UIColor::whiteColor() : rgb(172, 179, 188));
    if (key.action == NumberPad::Action::Delete) return drawDeleteGlyph(k);
    if (key.action == NumberPad::Action::Hide) return drawHideGlyph(k);
    if (key.label == NumberPad::kSpace) return;  // the pad's space bar has no label
    Canvas::TextStyle style;
    style.font = UIFont::systemFontOfSize(character ? 24 : 18);
    style.alignment = NSTextAlignmentCenter;
    _canvas.drawText(key.label, k, style);
}

void KeyboardPainter::drawDeleteGlyph(CGRect key) {
    cairo_t* cr = _canvas.cr();
    const CGFloat cx = key.midX(), cy = key.midY();
    _canvas.setColor(UIColor::blackColor());
    cairo_set_line_width(cr, 1.5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, cx - 13, cy);
    cairo_line_to(cr, cx - 6, cy - 8);
    cairo_line_to(cr, cx + 12, cy - 8);
    cairo_line_to(cr, cx + 12, cy + 8);
    cairo_line_to(cr, cx - 6, cy + 8);
    cairo_close_path(cr);
    cairo_move_to(cr, cx - 1, cy - 4);
    cairo_line_to(cr, cx + 7, cy + 4);
    cairo_move_to(cr, cx + 7, cy - 4);
    cairo_line_to(cr, cx - 1, cy + 4);
    cairo_stroke(cr);
}

// A small keyboard with a chevron pointing down under it.
void KeyboardPainter::drawHideGlyph(CGRect key) {
    cairo_t* cr = _canvas.cr();
    const CGFloat cx = key.midX(), cy = key.midY() - 4;
    const CGRect board = CGRectMake(cx - 13, cy - 9, 26, 17);
    _canvas.strokeRoundedRect(board, 2.5, UIColor::blackColor(), 1.2);
    for (int row = 0; row < 3; ++row) {
        const int count = row == 2 ? 1 : 5;
        const CGFloat width = row == 2 ? 12 : 2.5;
        for (int i = 0; i < count; ++i) {
            const CGFloat x = row == 2 ? cx - width / 2 : board.minX() + 3 + i * 4.5;
            _canvas.fillRect(CGRectMake(x, board.minY() + 3 + row * 4, width, 2), UIColor::blackColor());
        }
    }
    _canvas.setColor(UIColor::blackColor());
    cairo_set_line_width(cr, 1.5);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_move_to(cr, cx - 5, cy + 12);
    cairo_line_to(cr, cx, cy + 16);
    cairo_line_to(cr, cx + 5, cy + 12);
    cairo_stroke(cr);
}

}  // namespace sim
