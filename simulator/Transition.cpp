#include "simulator/Transition.h"

#include <algorithm>
#include <cmath>

namespace sim {
namespace {

// A cubic Bezier timing curve from (0,0) to (1,1) with control points (x1,y1) and (x2,y2): the
// y at the x that equals the time fraction. x(s) rises monotonically, so Newton's method from
// s = t converges in a few steps; bisection finishes where the slope is flat.
double cubicBezier(double x1, double y1, double x2, double y2, double t) {
    const auto coord = [](double a, double b, double s) {
        const double u = 1 - s;
        return 3 * u * u * s * a + 3 * u * s * s * b + s * s * s;
    };
    const auto slope = [](double a, double b, double s) {
        const double u = 1 - s;
        return 3 * u * u * a + 6 * u * s * (b - a) + 3 * s * s * (1 - b);
    };
    double s = t;
    for (int i = 0; i < 8; ++i) {
        const double error = coord(x1, x2, s) - t;
        if (std::fabs(error) < 1e-7) return coord(y1, y2, s);
        const double d = slope(x1, x2, s);
        if (std::fabs(d) < 1e-6) break;
        s = std::clamp(s - error / d, 0.0, 1.0);
    }
    double lo = 0, hi = 1;
    s = t;
    for (int i = 0; i < 40; ++i) {
        if (coord(x1, x2, s) < t) lo = s;
        else hi = s;
        s = (lo + hi) / 2;
    }
    return coord(y1, y2, s);
}

}  // namespace

Transition Transition::make(Kind kind, double start) {
    Transition t;
    t.kind = kind;
    t.start = start;
    switch (kind) {
        case Kind::Push:
        case Kind::Pop:
            t.duration = kNavigationDuration;
            t.curve = Curve::EaseOut;
            break;
        case Kind::Present:
        case Kind::Dismiss:
            t.duration = kModalDuration;
            break;
        case Kind::AlertIn:
            t.duration = kAlertInDuration;
            break;
        case Kind::AlertOut:
            t.duration = kAlertOutDuration;
            break;
        case Kind::KeyboardIn:
        case Kind::KeyboardOut:
            t.duration = kKeyboardDuration;
            break;
        case Kind::Switch:
            t.duration = kSwitchDuration;
            break;
        case Kind::RowFade:
            t.duration = kDeselectDuration;
            t.from = 1;
            t.to = 0;
            break;
    }
    return t;
}

double Transition::timeFraction(double now) const {
    if (duration <= 0 || now >= end()) return 1;
    return std::clamp((now - start) / duration, 0.0, 1.0);
}

double Transition::ease(Curve curve, double t) {
    t = std::clamp(t, 0.0, 1.0);
    switch (curve) {
        case Curve::Linear: return t;
        case Curve::EaseInEaseOut: return cubicBezier(0.42, 0, 0.58, 1, t);
        case Curve::EaseOut: return cubicBezier(0, 0, 0.58, 1, t);
    }
    return t;
}

}  // namespace sim
