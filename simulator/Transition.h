#pragma once
// One animation on the app's clock: what moves, when it began, how long it runs, the timing
// curve, and the value it runs from and to. The model already holds the end state; a transition
// only says what the screen shows in between.
namespace sim {

struct Transition {
    enum class Kind {
        Push,          // a page slides in from the right over the one it leaves
        Pop,           // the reverse
        Present,       // a sheet or composer slides up from the bottom
        Dismiss,       // and down again
        AlertIn,       // an alert fades in from a larger scale, the dimming with it
        AlertOut,      // an alert fades out
        KeyboardIn,    // the keyboard slides up
        KeyboardOut,   // and down
        Switch,        // a switch's thumb slides and its on-colour fades
        RowFade,       // a row's selection fades out
    };
    enum class Curve {
        Linear,
        EaseInEaseOut,  // slow at both ends: most of the platform's animations
        EaseOut,        // fast start, long settle: the navigation push and pop
    };

    Kind kind = Kind::Push;
    double start = 0, duration = 0;
    Curve curve = Curve::EaseInEaseOut;
    double from = 0, to = 1;

    // The platform's timings (seconds).
    static constexpr double kNavigationDuration = 0.35;
    static constexpr double kModalDuration = 0.4;
    static constexpr double kAlertInDuration = 0.25;
    static constexpr double kAlertOutDuration = 0.2;
    static constexpr double kKeyboardDuration = 0.25;
    static constexpr double kSwitchDuration = 0.25;
    static constexpr double kDeselectDuration = 0.3;

    static Transition make(Kind kind, double start);

    double end() const { return start + duration; }
    bool runningAt(double now) const { return now < end(); }
    // Linear progress of time, 0 at the start and 1 from the end on.
    double timeFraction(double now) const;
    // The eased progress, 0..1.
    double progress(double now) const { return ease(curve, timeFraction(now)); }
    // from..to along the curve.
    double value(double now) const { return from + (to - from) * progress(now); }

    // The curve at time fraction t (clamped to 0..1).
    static double ease(Curve curve, double t);
};

}  // namespace sim
