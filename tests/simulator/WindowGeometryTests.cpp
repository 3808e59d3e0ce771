// Where the window opens and how it draws the screen: the largest scale that fits the display,
// a place fully on it, the screen fitted into a resized window at its aspect, and --scale values.
#include <gtest/gtest.h>

#include "simulator/WindowGeometry.h"

namespace {

using sim::WindowGeometry;
using Rect = WindowGeometry::Rect;

constexpr CGSize kPhone{375, 667}, kPad{768, 1024};

TEST(WindowGeometryTest, FitsTheLargestScaleOnTheDisplay) {
    const struct { CGSize screen; Rect usable; double scale; } cases[] = {
        {kPad, {0, 0, 1366, 768}, 0.65},       // was 1x, 128 pixels above the top
        {kPhone, {0, 27, 1920, 1053}, 1.45},   // a 1080p desktop with a panel: was 1x
        {kPhone, {0, 0, 2560, 1440}, 2},       // room for more, but 2x is enough
        {kPad, {1920, 0, 1280, 1024}, 0.9},    // a second display, to the right
        {kPad, {0, 0, 320, 240}, 0.25},        // never smaller than the least scale
    };
    for (const auto& [screen, usable, scale] : cases) {
        EXPECT_DOUBLE_EQ(WindowGeometry::fitScale(screen, usable), scale) << usable.width << "x" << usable.height;
        if (scale == WindowGeometry::kMinScale) continue;
        const Rect window = WindowGeometry::place(screen, scale, usable);
        EXPECT_GE(window.x, usable.x + WindowGeometry::kMargin) << usable.width;
        EXPECT_GE(window.y, usable.y + WindowGeometry::kFrameTop) << usable.width << ": room for the title bar";
        EXPECT_LE(window.x + window.width, usable.x + usable.width - WindowGeometry::kMargin) << usable.width;
        EXPECT_LE(window.y + window.height, usable.y + usable.height - WindowGeometry::kMargin) << usable.width;
    }
    // A window that does not fit with its title bar is as low as it can be and still on the display,
    // never above it; one that does not fit at all starts at its top left.
    EXPECT_EQ(WindowGeometry::place(kPhone, 1, {0, 0, 1366, 690}), (Rect{495, 23, 375, 667}));
    EXPECT_EQ(WindowGeometry::place(kPad, 2, {0, 27, 1366, 741}), (Rect{0, 27, 1536, 2048}));
}

TEST(WindowGeometryTest, LetterboxesAResizedWindowAtTheScreensAspect) {
    const struct { CGSize screen; int width, height; double preferred, scale; Rect content; } cases[] = {
        {kPhone, 750, 1334, 0, 2, {0, 0, 750, 1334}},
        {kPhone, 1000, 667, 0, 1, {312, 0, 375, 667}},    // bars left and right
        {kPhone, 375, 1000, 0, 1, {0, 166, 375, 667}},    // bars above and below
        {kPhone, 1200, 400, 0, 400.0 / 667, {487, 0, 225, 400}},
        {kPad, 499, 666, 0.65, 0.65, {0, 0, 499, 666}},   // as opened: the scale it opened at
        {kPad, 499, 700, 0.65, 499.0 / 768, {0, 17, 499, 665}},
    };
    for (const auto& [screen, width, height, preferred, scale, content] : cases) {
        const auto viewport = WindowGeometry::letterbox(screen, width, height, preferred);
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        EXPECT_DOUBLE_EQ(viewport.scale, scale);
        EXPECT_EQ(viewport.content, content);
        // The screen's far corner lands on the content's far corner.
        const CGPoint corner = viewport.pointAt(content.x + content.width, content.y + content.height);
        EXPECT_NEAR(corner.x, screen.width, 1 / scale);
        EXPECT_NEAR(corner.y, screen.height, 1 / scale);
    }
}

TEST(WindowGeometryTest, ReadsScalesInRange) {
    for (const auto& [text, scale] : {std::pair<const char*, double>{"0.75", 0.75}, {"1", 1}, {"1.5", 1.5}, {"0.25", 0.25}, {"4", 4}})
        EXPECT_EQ(WindowGeometry::parseScale(text), scale) << text;
    for (const char* text : {"0.2", "4.01", "-1", "0", "abc", "1.5x", "", "nan", "inf"})
        EXPECT_EQ(WindowGeometry::parseScale(text), std::nullopt) << text;
}

}  // namespace
