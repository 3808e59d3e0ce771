#pragma once
// Text measurement with Pango and real font metrics. Platform font names are mapped by the
// shipped fontconfig alias file to installed faces ("HelveticaNeue-Light" -> Nimbus Sans).
#include <string>

#include "host/CoreGraphics/CGGeometry.h"
#include "host/UIKit/UIFont.h"

namespace host {

class TextMetrics {
public:
    // The natural size of `text` in `font`: one line when `numberOfLines` is 1, otherwise wrapped
    // at `maxWidth` (if positive). Sizes are in points, rounded up to whole points as labels are.
    static CGSize sizeOfText(const std::string& text, const UIFont& font, NSInteger numberOfLines = 1, CGFloat maxWidth = 0);

    // The Pango description ("Nimbus Sans Light 17") a renderer uses for a platform font: the
    // name's weight suffix becomes a Pango weight, the size stays in points.
    static std::string pangoDescription(const UIFont& font);

    // Makes the shipped font configuration (faces, aliases) the process's only one, once.
    static void configureFonts();
};

}  // namespace host
