#pragma once
// Draws a controller presented over the pages: the share sheet as a card over the dimmed page
// (service name, Cancel, Post, the text, the characters left), the mail composer as a full page
// (Cancel, Send, To, From, Subject, the body and the attachments' names; on a pad in a form
// sheet over the dimmed screen), and any other
// controller as a card naming its class.
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
    explicit SheetPainter(Canvas& canvas) : _canvas(canvas) {}

    // Returns whether the controller covers the whole screen (its own bar under the status bar).
    bool draw(const UIViewController& presented, CGSize screen);

private:
    void drawShareSheet(const SLComposeViewController& sheet, CGSize screen);
    void drawMailComposer(const MFMailComposeViewController& composer, CGSize screen);
    void drawFormSheet(const MFMailComposeViewController& composer, CGSize screen);
    void drawGeneric(const UIViewController& controller, CGSize screen);
    // The bar's "Cancel" (plain) and confirming button (bold), in the tint blue.
    void drawBarActions(const std::vector<ModalLayout::Button>& buttons, Canvas::TextStyle style);

    Canvas& _canvas;
};

}  // namespace sim
