#pragma once
// Where the modal things sit on the simulated screen: an alert's box and buttons, the share
// sheet's card and the mail composer, with the buttons a user taps on them. One place for this
// geometry, so what is drawn and what is hit-tested agree.
#include <memory>
#include <string>
#include <vector>

#include "host/CoreGraphics/CGGeometry.h"

class UIAlertView;

namespace sim {

class ModalLayout {
public:
    struct Button {
        std::string title;
        CGRect frame;
    };
    struct Alert {
        CGRect box;
        CGRect title, message, field;  // field: zero when the alert has none
        std::vector<Button> buttons;   // two side by side; otherwise stacked
        CGRect keyboard;               // the number pad with its toolbar, zero while the field is idle
        CGRect toolbar;                // the keypad toolbar over the pad, zero without one
        std::vector<Button> keys;      // the toolbar's keys, from the left
    };

    // An alert on a screen of `screen` points; the keyboard is up while its field is focused.
    static Alert alert(const UIAlertView& alert, CGSize screen);

    static constexpr CGFloat kAlertPadding = 16;
    static constexpr CGFloat kAlertTitleFontSize = 17;
    static constexpr CGFloat kAlertMessageFontSize = 13;
    static constexpr CGFloat kAlertFieldHeight = 26;
    static constexpr CGFloat kKeypadToolbarHeight = 44;
    static constexpr CGFloat kKeyFontSize = 17;

    // The sheet's and composer's buttons: cancel first, then the one that confirms, titled in
    // the device's language.
    static constexpr size_t kCancelButton = 0, kConfirmButton = 1;
    // The share sheet: a card near the top with "Cancel" at its left and "Post" at its right.
    static CGRect sheetCard(CGSize screen);
    static std::vector<Button> sheetButtons(CGSize screen);
    // The mail composer covers a phone's screen; on a pad it is a form sheet of 540x620 points,
    // centred over the dimmed screen. Its contents are laid out as a page (its bar under a
    // status bar's strip) that the form sheet shows without that strip: composerPage is where
    // the page lies on the screen, composerFrame what of it shows.
    static constexpr CGFloat kFormSheetWidth = 540, kFormSheetHeight = 620;
    static bool composerIsFormSheet();
    static CGRect composerFrame(CGSize screen);
    static CGRect composerPage(CGSize screen);
    // The bar's "Cancel" at the left and "Send" at the right: in a page of size `page`, and on
    // the screen.
    static std::vector<Button> composerButtons(CGSize page);
    static std::vector<Button> composerButtonsOnScreen(CGSize screen);
};

}  // namespace sim
