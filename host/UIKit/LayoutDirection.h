#pragma once
// Which way the host lays out its chrome. From 9.0 the system mirrors its interface for a
// right-to-left language: bars, cells, accessories and section texts swap sides. Earlier systems
// always lay out left to right. Layout and drawing ask here rather than deciding on their own.
#include <string_view>

#include "host/CoreGraphics/CGGeometry.h"

namespace host {

class LayoutDirection {
public:
    // The device in force mirrors: its language reads right to left and its system is 9.0 or later.
    static bool isRightToLeft();
    // Whether a system of this version ("8.4", "9.0.2") mirrors at all.
    static bool systemMirrors(std::string_view productVersion);

    // `rect` reflected across the middle of a container `width` wide.
    static CGRect flipped(CGRect rect, CGFloat width) {
        return CGRectMake(width - rect.maxX(), rect.minY(), rect.width(), rect.height());
    }
};

}  // namespace host
