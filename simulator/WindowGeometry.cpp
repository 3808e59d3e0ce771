#include "simulator/WindowGeometry.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace sim {

int WindowGeometry::pixels(CGFloat points, double scale) {
    return std::max(1, static_cast<int>(std::lround(points * scale)));
}

double WindowGeometry::fitScale(CGSize screen, const Rect& usable, double maxScale) {
    const double width = usable.width - 2.0 * kMargin;
    const double height = usable.height - 2.0 * kMargin - kFrameTop;
    const double fits = std::min(width / screen.width, height / screen.height);
    // A hair of slack so that an exact fit is not lost to rounding.
    const double steps = std::floor(std::min(fits, maxScale) / kScaleStep + 1e-9);
    return std::max(kMinScale, steps * kScaleStep);
}

WindowGeometry::Rect WindowGeometry::place(CGSize screen, double scale, const Rect& usable) {
    Rect window{0, 0, pixels(screen.width, scale), pixels(screen.height, scale)};
    window.x = usable.x + std::max(0, (usable.width - window.width) / 2);
    const int spare = usable.height - window.height;
    window.y = usable.y + (spare >= 2 * kFrameTop ? spare / 2 : std::max(0, std::min(spare, kFrameTop)));
    return window;
}

WindowGeometry::Viewport WindowGeometry::letterbox(CGSize screen, int width, int height, double preferred) {
    Viewport viewport;
    const bool asOpened = preferred > 0 && width == pixels(screen.width, preferred) && height == pixels(screen.height, preferred);
    viewport.scale = asOpened ? preferred : std::max(1e-3, std::min(width / screen.width, height / screen.height));
    viewport.content.width = std::min(width, pixels(screen.width, viewport.scale));
    viewport.content.height = std::min(height, pixels(screen.height, viewport.scale));
    viewport.content.x = (width - viewport.content.width) / 2;
    viewport.content.y = (height - viewport.content.height) / 2;
    return viewport;
}

std::optional<double> WindowGeometry::parseScale(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (!(value >= kMinScale && value <= kMaxScale)) return std::nullopt;
    return value;
}

}  // namespace sim
