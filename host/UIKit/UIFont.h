#pragma once
// A font by its platform name and size. The host maps platform names to installed faces
// (see TextMetrics); an unknown name falls back to the system face.
#include <optional>
#include <string>

#include "host/CoreGraphics/CGGeometry.h"

struct UIFont {
    std::string fontName;
    CGFloat pointSize = 17;

    // fontWithName:size: — the platform returns nil for an empty name.
    static std::optional<UIFont> fontWithName(const std::string& name, CGFloat size);
    static UIFont systemFontOfSize(CGFloat size) { return {".SFUIText-Regular", size}; }
    static UIFont boldSystemFontOfSize(CGFloat size) { return {".SFUIText-Semibold", size}; }

    bool operator==(const UIFont&) const = default;
};
