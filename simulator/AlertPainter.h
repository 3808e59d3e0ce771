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

    // The alert settled: its layer, then the keyboard while its field is focused.
    void draw(const UIAlertView& alert, CGSize screen);

    // The alert's layer (the dimming, the box and its buttons) at an opacity, the box scaled
    // about its centre; and the keyboard (with any keypad toolbar) lowered by `drop` points.
    struct Look {
        double alpha = 1;
        double scale = 1;
    };
    void drawAlert(const UIAlertView& alert, const ModalLayout::Alert& layout, CGSize screen, Look look);
    void drawKeyboard(const UIAlertView& alert, const ModalLayout::Alert& layout, UIKeyboardType type, CGFloat drop = 0);

private:
    void drawBox(const UIAlertView& alert, const ModalLayout::Alert& layout);
    void drawButtons(const UIAlertView& alert, const ModalLayout::Alert& layout);
    void drawToolbar(const UIToolbar& toolbar, const ModalLayout::Alert& layout);

    Canvas& _canvas;
};

}  // namespace sim
