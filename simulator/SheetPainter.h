#pragma once
// Draws a controller presented over the pages: the share sheet as a card over the dimmed page
// (service name, Cancel, Post, the text, the characters left), the mail composer in its frame
// (Cancel, Send, the recipients as tokens, From, Subject, the body and the attachments' names; on
// a pad a form sheet over the dimmed screen), and any other controller as a card naming its
// class. The text being edited ends in a caret, and the letters keyboard is up under it.
#include "host/UIKit/UIViewController.h"
#include <string>
#include <vector>

#include "simulator/Canvas.h"
#include "simulator/ModalLayout.h"

class SLComposeViewController;
class MFMailComposeViewController;

namespace sim {

class SheetPainter {
public:
    // `keyboardShifted`: the letters keyboard shows capitals.
    explicit SheetPainter(Canvas& canvas, bool keyboardShifted = false) : _canvas(canvas), _keyboardShifted(keyboardShifted) {}

    // Returns whether the controller covers the whole screen (its own bar under the status bar).
    bool draw(const UIViewController& presented, CGSize screen);

    // The recipient token's fill: the tint, light.
    static UIColor tokenColor();

private:
    void drawShareSheet(const SLComposeViewController& sheet, CGSize screen);
    void drawMailComposer(const MFMailComposeViewController& composer, CGSize screen);
    void drawFormSheet(const MFMailComposeViewController& composer, CGSize screen);
    void drawRecipients(const std::vector<std::string>& recipients, CGRect area);
    // A steady tint bar where typing would go: after the text drawn in `rect` with `style`.
    void drawCaret(const std::string& text, CGRect rect, const Canvas::TextStyle& style);
    void drawGeneric(const UIViewController& controller, CGSize screen);
    // The bar's "Cancel" (plain) and confirming button (bold), in the tint blue.
    void drawBarActions(const std::vector<ModalLayout::Button>& buttons, Canvas::TextStyle style);

    Canvas& _canvas;
    bool _keyboardShifted;
};

}  // namespace sim
