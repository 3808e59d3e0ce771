#pragma once
// Where the share sheet's text and the mail composer's rows sit inside the frames ModalLayout
// gives them, shared by drawing and hit-testing.
#include "host/CoreGraphics/CGGeometry.h"

namespace sim {

class ComposeLayout {
public:
    static constexpr CGFloat kRowHeight = 44;
    static constexpr CGFloat kInset = 15;
    static constexpr CGFloat kFontSize = 15;
    static constexpr CGFloat kCaretWidth = 2;

    struct Composer {
        CGRect to, ccFrom, subject;  // the header rows, under the composer's bar
        CGRect body;                 // the rest of the composer, under the subject
    };
    static Composer composer(CGSize screen);

    // The share sheet's text, under its header and above the characters-left count.
    static CGRect sheetText(CGSize screen);
};

}  // namespace sim
