#pragma once
// A colour as exact components (fractions of 1). A plain value; "nil" is an empty optional.
#include <string>

struct UIColor {
    double red = 0, green = 0, blue = 0, alpha = 1;

    static UIColor colorWithRed(double r, double g, double b, double a) { return {r, g, b, a}; }
    static UIColor colorWithWhite(double w, double a) { return {w, w, w, a}; }
    static UIColor whiteColor() { return {1, 1, 1, 1}; }
    static UIColor blackColor() { return {0, 0, 0, 1}; }
    static UIColor grayColor() { return {0.5, 0.5, 0.5, 1}; }
    static UIColor darkGrayColor() { return {1.0 / 3, 1.0 / 3, 1.0 / 3, 1}; }
    static UIColor lightGrayColor() { return {2.0 / 3, 2.0 / 3, 2.0 / 3, 1}; }
    static UIColor clearColor() { return {0, 0, 0, 0}; }
    // The system's tint: bar buttons, links, alert buttons, a slider's filled track.
    static UIColor systemBlueColor() { return {0, 122 / 255.0, 1, 1}; }

    // The Core Graphics colour of a layer property; the same components here.
    UIColor CGColor() const { return *this; }

    bool operator==(const UIColor&) const = default;
    std::string description() const;  // "rgba(10/255, 10/255, 10/255, 1)"
};
