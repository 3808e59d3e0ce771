// Motion on the app's clock: the curves, the in-between frame of a push, scripts' actions waiting
// for transitions, and what a finger held down shows.
#include <gtest/gtest.h>

#include "simulator/Transition.h"
#include "tests/simulator/SimulatorFixture.h"

namespace {

using sim::ScreenLayout;
using sim::Transition;
using simtest::Rgb;
using simtest::ScreenImage;

const Rgb kSelectedRow{217, 217, 217}, kWhite{255, 255, 255};

// The curves at a few points, and a transition's value running from its start to its end.
TEST(TransitionCurve, EasesAndInterpolatesOnTheClock) {
    using enum Transition::Curve;
    const struct { Transition::Curve curve; double t, expected; } cases[] = {
        {Linear, 0.3, 0.3}, {EaseInEaseOut, 0, 0}, {EaseInEaseOut, 0.25, 0.12916}, {EaseInEaseOut, 0.5, 0.5},
        {EaseInEaseOut, 0.75, 0.87084}, {EaseInEaseOut, 1, 1}, {EaseOut, 0.25, 0.37814}, {EaseOut, 0.5, 0.68464},
        {EaseOut, 0.75, 0.90654}, {EaseOut, -1, 0}, {EaseOut, 2, 1},
    };
    for (const auto& c : cases) EXPECT_NEAR(Transition::ease(c.curve, c.t), c.expected, 1e-4) << int(c.curve) << " at " << c.t;

    auto fade = Transition::make(Transition::Kind::RowFade, 10);  // 1 to 0, ease in and out
    fade.duration = 0.4;
    const struct { double now, value; bool running; } times[] = {
        {9, 1, true}, {10, 1, true}, {10.2, 0.5, true}, {10.3, 1 - 0.87084, true}, {10.4, 0, false}, {11, 0, false}};
    for (const auto& at : times) {
        EXPECT_NEAR(fade.value(at.now), at.value, 1e-4) << at.now;
        EXPECT_EQ(fade.runningAt(at.now), at.running) << at.now;
    }
    const auto push = Transition::make(Transition::Kind::Push, 0);
    EXPECT_EQ(push.curve, EaseOut);
    EXPECT_NEAR(push.duration, 0.35, 1e-9);
}

class TransitionTest : public SimulatorFixture {
protected:
    // The share of pixels in `strip` (points) of `a` that equal those of `b` shifted right by `dx` points.
    static double sameShare(const ScreenImage& a, const ScreenImage& b, CGRect strip, CGFloat dx) {
        int same = 0, all = 0;
        const double s = a.scale();
        for (int y = int(strip.minY() * s); y < int(strip.maxY() * s); y += 3)
            for (int x = int(strip.minX() * s); x < int(strip.maxX() * s); ++x, ++all)
                same += a.pixel(x, y) == b.pixel(x - int(std::lround(dx * s)), y);
        return all ? double(same) / all : 0;
    }
    Rgb pixelAt(CGPoint p) const { return ScreenImage(*app).at(p); }
};

// A snapshot 0.1 s into a push shows the incoming page sliding in at the right over the page it
// leaves; an action given during the push acts once it has ended.
TEST_F(TransitionTest, ScriptActionsWaitWhileWaitAndSnapshotsShowTheFrameInBetween) {
    open();
    advance(1.2);
    ScreenImage root(*app);
    auto run = runScript("tap @label=Configuration\nwait 0.1\n");
    ASSERT_EQ(run.failures, 0) << run.err;
    ScreenImage mid(*app);
    app->finishTransitions();
    ScreenImage configuration(*app);

    const CGSize screen = app->screenSize();
    const double p = Transition::ease(Transition::Curve::EaseOut, 0.1 / Transition::kNavigationDuration);
    const CGFloat edge = std::round(screen.width * (1 - p) * mid.scale()) / mid.scale();
    const CGFloat top = ScreenLayout::kContentTop, height = screen.height - 10 - top;
    // Right of the edge: the configuration page, shifted by the edge; left of it: not that page.
    const CGRect right = CGRectMake(edge + 2, top, screen.width - edge - 2, height), left = CGRectMake(0, top, edge - 12, height);
    EXPECT_GT(sameShare(mid, configuration, right, edge), 0.97);
    EXPECT_LT(sameShare(mid, root, right, 0), 0.9);
    EXPECT_LT(sameShare(mid, configuration, left, 0), 0.9);
    EXPECT_TRUE(edge > 20 && edge < screen.width - 20) << edge;

    // Back, given while a push runs, pops only after it.
    const double before = app->now();
    advance(1);
    run = runScript("tap @key=artworkStyle\nback\n");
    ASSERT_EQ(run.failures, 0) << run.err;
    const auto* pop = app->transitions().find(Transition::Kind::Pop, app->now());
    ASSERT_NE(pop, nullptr);
    EXPECT_NEAR(pop->transition.start, before + 1 + Transition::kNavigationDuration, 1e-6);
}

// Held down, a row shows the grey selection and a bar button dims; let go, both are as before. A
// row that pushed a page stays selected under it and fades out when the user comes back.
TEST_F(TransitionTest, PressedThingsShowPressedUntilLetGo) {
    open();
    advance(1.2);
    auto table = app->visiblePage()->table();
    const auto path = rowOf("Configuration");
    auto cell = table->cellForRowAtIndexPath(path);
    ASSERT_TRUE(cell);
    const CGPoint inRow{app->screenSize().width * 0.6, ScreenLayout::kContentTop + cell->frame().midY() - table->contentOffset()};
    // On the back chevron of the configuration page.
    const CGPoint onBack{14, ScreenLayout::kStatusBarHeight + ScreenLayout::kNavigationBarHeight / 2 - 5.25};

    const Rgb idle = pixelAt(inRow);
    app->pressAt(inRow);
    const Rgb held = pixelAt(inRow);
    app->endPress();
    EXPECT_EQ((std::vector{idle, held, pixelAt(inRow)}), (std::vector{kWhite, kSelectedRow, kWhite})) << "idle, held, let go";

    ASSERT_TRUE(app->tapRow(path));
    app->finishTransitions();
    EXPECT_DOUBLE_EQ(app->rowSelection(*cell), 1) << "the row that pushed stays selected underneath";
    const Rgb chevron = pixelAt(onBack);
    app->pressAt(onBack);
    EXPECT_NE(pixelAt(onBack), chevron);
    app->endPress();
    EXPECT_EQ(pixelAt(onBack), chevron);

    ASSERT_TRUE(app->goBack());
    EXPECT_DOUBLE_EQ(app->rowSelection(*cell), 1);
    advance(Transition::kNavigationDuration / 2);
    EXPECT_NEAR(app->rowSelection(*cell), 0.5, 0.45) << "half way";
    advance(Transition::kNavigationDuration / 2);
    EXPECT_DOUBLE_EQ(app->rowSelection(*cell), 0);
    EXPECT_EQ(pixelAt(inRow), kWhite);
}

}  // namespace
