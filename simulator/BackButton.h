#pragma once
// The bar's back button as the platform titles and sizes it: the previous page's title when it
// fits beside the centred title, else "Back" in the device's language, else the chevron alone.
// The drawing, the dump and the hit test all ask here, so they always agree.
#include <functional>
#include <optional>
#include <string>

#include "host/CoreGraphics/CGGeometry.h"

namespace sim {

class SettingsApp;

class BackButton {
public:
    std::string text;   // empty: the chevron alone
    CGFloat width = 0;  // from the bar's left edge, chevron included

    static constexpr CGFloat kTextX = 26;     // the text starts after the chevron
    static constexpr CGFloat kFontSize = 17;
    static constexpr CGFloat kMinimumTapWidth = 44;

    // The button for a previous page titled `previousTitle` (empty: untitled) when its text may
    // be at most `room` points wide; `measure` gives a text's width in the bar's font.
    static BackButton choose(const std::string& previousTitle, CGFloat room,
        const std::function<CGFloat(const std::string&)>& measure);
    // The visible page's back button, from its column's left edge; nothing when it cannot go back.
    static std::optional<BackButton> of(const SettingsApp& app);
};

}  // namespace sim
