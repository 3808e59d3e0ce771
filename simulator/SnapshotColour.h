#pragma once
// Colour difference as the eye sees it: sRGB pixels (alpha composited on white, as a picture
// shows on a white page) to CIE L*a*b* under D65, and the CIEDE2000 difference of two colours.
// A ΔE00 of 1 is about the smallest difference a person notices side by side.
#include "simulator/SnapshotImage.h"

namespace sim {

class SnapshotColour {
public:
    struct Lab {
        double L = 0, a = 0, b = 0;
    };

    static Lab lab(SnapshotImage::Pixel pixel);
    static double deltaE2000(const Lab& first, const Lab& second);
    static double deltaE2000(SnapshotImage::Pixel first, SnapshotImage::Pixel second) {
        return deltaE2000(lab(first), lab(second));
    }
};

}  // namespace sim
