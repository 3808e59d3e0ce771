#pragma once
// Draws the front alert over a dimmed screen: the rounded box with its title, message, text field
// (with its text and a caret while it is being edited) and buttons (the cancel button bold),
// then, while the field is first responder, the keyboard and the keypad toolbar riding on it.
#include "host/UIKit/UIAlertView.h"
#include "simulator/Canvas.h"
#include "simulator/ModalLayout.h"

class UIToolbar;

namespace sim {

class AlertPainter {
public:
    explicit AlertPainter(Canvas& canvas) : _canvas(canvas) {}

    void draw(const UIAlertView& alert, CGSize screen);

private:
    void drawBox(const UIAlertView& alert, const ModalLayout::Alert& layout);
    void drawButtons(const UIAlertView& alert, const ModalLayout::Alert& layout);
    void drawToolbar(const UIToolbar& toolbar, const ModalLayout::Alert& layout);

    Canvas& _canvas;
};

}  // namespace sim
