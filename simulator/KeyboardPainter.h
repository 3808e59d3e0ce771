#pragma once
// Draws the keyboard under an alert's focused field (below any keypad toolbar): a phone's number
// pad, keys edge to edge with hairlines, or a pad's numbers page, rounded white character keys
// and grey function keys on the lighter grey of the keyboard. The letters keyboard is drawn in
// the pad's style on either device.
#include "host/UIKit/UITextField.h"
#include "simulator/Canvas.h"
#include "simulator/ModalLayout.h"
#include "simulator/NumberPad.h"

namespace sim {

class KeyboardPainter {
public:
    explicit KeyboardPainter(Canvas& canvas) : _canvas(canvas) {}

    void draw(const ModalLayout::Alert& layout, UIKeyboardType type);
    // The letters keyboard (LettersKeyboard) in `keyboard`, in capitals while shifted.
    void drawLetters(CGRect keyboard, bool shifted);

    static UIColor keyboardColor();

private:
    void drawPhonePad(CGRect pad, UIKeyboardType type);
    void drawPadPage(CGRect pad, UIKeyboardType type);
    void drawPadKey(const NumberPad::Key& key);
    void drawDeleteGlyph(CGRect key);
    void drawHideGlyph(CGRect key);
    void drawShiftKey(const NumberPad::Key& key, bool shifted);

    Canvas& _canvas;
};

}  // namespace sim
