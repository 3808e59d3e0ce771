#include "simulator/SnapshotColour.h"

#include <array>
#include <cmath>

namespace sim {
namespace {

// An 8-bit sRGB level to linear light, once per level.
const std::array<double, 256>& linearLevels() {
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (int i = 0; i < 256; ++i) {
            const double c = i / 255.0;
            t[std::size_t(i)] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        }
        return t;
    }();
    return table;
}

double labCurve(double t) {
    constexpr double epsilon = 216.0 / 24389.0, kappa = 24389.0 / 27.0;
    return t > epsilon ? std::cbrt(t) : (kappa * t + 16) / 116;
}

double degrees(double radians) { return radians * 180 / M_PI; }
double radians(double degrees) { return degrees * M_PI / 180; }

}  // namespace

SnapshotColour::Lab SnapshotColour::lab(SnapshotImage::Pixel p) {
    const auto& levels = linearLevels();
    // Over white, mixed in the encoded levels as a compositor does.
    const double alpha = p.a / 255.0;
    const auto channel = [&](std::uint8_t c) {
        if (p.a == 255) return levels[c];
        const double level = (c * alpha + 255 * (1 - alpha)) / 255;
        return level <= 0.04045 ? level / 12.92 : std::pow((level + 0.055) / 1.055, 2.4);
    };
    const double r = channel(p.r), g = channel(p.g), b = channel(p.b);
    // sRGB primaries to XYZ, normalised by the D65 white.
    const double x = (0.4124564 * r + 0.3575761 * g + 0.1804375 * b) / 0.95047;
    const double y = (0.2126729 * r + 0.7151522 * g + 0.0721750 * b);
    const double z = (0.0193339 * r + 0.1191920 * g + 0.9503041 * b) / 1.08883;
    const double fx = labCurve(x), fy = labCurve(y), fz = labCurve(z);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

double SnapshotColour::deltaE2000(const Lab& c1, const Lab& c2) {
    const double chroma1 = std::hypot(c1.a, c1.b), chroma2 = std::hypot(c2.a, c2.b);
    const double meanChroma = (chroma1 + chroma2) / 2;
    const double mc7 = std::pow(meanChroma, 7);
    const double g = 0.5 * (1 - std::sqrt(mc7 / (mc7 + std::pow(25.0, 7))));
    const double a1 = (1 + g) * c1.a, a2 = (1 + g) * c2.a;
    const double cp1 = std::hypot(a1, c1.b), cp2 = std::hypot(a2, c2.b);
    const auto hue = [](double b, double a) {
        if (a == 0 && b == 0) return 0.0;
        const double h = degrees(std::atan2(b, a));
        return h < 0 ? h + 360 : h;
    };
    const double hp1 = hue(c1.b, a1), hp2 = hue(c2.b, a2);

    const double dL = c2.L - c1.L, dC = cp2 - cp1;
    double dh = 0;
    if (cp1 * cp2 != 0) {
        dh = hp2 - hp1;
        if (dh > 180) dh -= 360;
        else if (dh < -180) dh += 360;
    }
    const double dH = 2 * std::sqrt(cp1 * cp2) * std::sin(radians(dh / 2));

    const double meanL = (c1.L + c2.L) / 2, meanCp = (cp1 + cp2) / 2;
    double meanH = hp1 + hp2;
    if (cp1 * cp2 != 0) {
        if (std::fabs(hp1 - hp2) <= 180) meanH = (hp1 + hp2) / 2;
        else meanH = (hp1 + hp2 < 360 ? hp1 + hp2 + 360 : hp1 + hp2 - 360) / 2;
    }
    const double t = 1 - 0.17 * std::cos(radians(meanH - 30)) + 0.24 * std::cos(radians(2 * meanH)) +
                     0.32 * std::cos(radians(3 * meanH + 6)) - 0.20 * std::cos(radians(4 * meanH - 63));
    const double dTheta = 30 * std::exp(-std::pow((meanH - 275) / 25, 2));
    const double mcp7 = std::pow(meanCp, 7);
    const double rc = 2 * std::sqrt(mcp7 / (mcp7 + std::pow(25.0, 7)));
    const double lShift = (meanL - 50) * (meanL - 50);
    const double sl = 1 + 0.015 * lShift / std::sqrt(20 + lShift);
    const double sc = 1 + 0.045 * meanCp;
    const double sh = 1 + 0.015 * meanCp * t;
    const double rt = -std::sin(radians(2 * dTheta)) * rc;
    const double l = dL / sl, c = dC / sc, h = dH / sh;
    return std::sqrt(l * l + c * c + h * h + rt * c * h);
}

}  // namespace sim
