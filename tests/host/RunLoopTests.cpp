// The main run loop: timers, the main queue with a delay, and animations on one clock.
#include <gtest/gtest.h>

#include "host/Foundation/NSTimer.h"
#include "host/Runtime/RunLoop.h"
#include "host/System/Dispatch.h"
#include "host/UIKit/UIView.h"
#include "tests/support/DeviceFixture.h"

namespace {

using RunLoopTest = DeviceFixture;

TEST_F(RunLoopTest, TasksRunAtTheirTimesInOrder) {
    auto& loop = host::RunLoop::main();
    std::vector<std::pair<std::string, double>> ran;
    loop.schedule(0.5, [&] { ran.emplace_back("b", loop.now()); });
    loop.schedule(0.25, [&] {
        ran.emplace_back("a", loop.now());
        loop.schedule(0.125, [&] { ran.emplace_back("a2", loop.now()); });  // scheduled by a task
    });
    loop.schedule(0.5, [&] { ran.emplace_back("c", loop.now()); });  // same time: in scheduling order
    loop.cancel(loop.schedule(0.4, [&] { ran.emplace_back("x", loop.now()); }));
    advance(1.25);
    EXPECT_EQ(ran, (std::vector<std::pair<std::string, double>>{{"a", 0.25}, {"a2", 0.375}, {"b", 0.5}, {"c", 0.5}}));
    EXPECT_EQ(loop.now(), 1.25);
}

class Counter : public NSObject {
public:
    Counter() { exposeSelector("tick", [this](const id&) { ++ticks; }); }
    int ticks = 0;
};

// A one-shot timer holds its target until it fires, then lets go; a repeating one ticks until
// it is invalidated.
TEST_F(RunLoopTest, TimersHoldTheirTargetAndRepeatUntilInvalidated) {
    auto counter = std::make_shared<Counter>();
    std::weak_ptr<Counter> weak = counter;
    NSTimer::scheduledTimerWithTimeInterval(0.5, counter, "tick", nullptr, false);
    counter.reset();
    advance(0.4);
    ASSERT_FALSE(weak.expired());
    EXPECT_EQ(weak.lock()->ticks, 0);
    advance(0.2);
    EXPECT_TRUE(weak.expired());

    counter = std::make_shared<Counter>();
    auto timer = NSTimer::scheduledTimerWithTimeInterval(0.1, counter, "tick", nullptr, true);
    advance(0.35);
    EXPECT_EQ(counter->ticks, 3);
    timer->invalidate();
    advance(1);
    EXPECT_EQ(counter->ticks, 3);
}

// Also past 2^63 ns (292 years), where the time saturates instead of wrapping.
TEST_F(RunLoopTest, DispatchAfterCountsFromNow) {
    for (double start : {1.0, 1e10}) {
        advance(start);
        double ranAt = -1;
        dispatch_after(dispatch_time(DISPATCH_TIME_NOW, 200000000), dispatch_get_main_queue(), [&] { ranAt = host::RunLoop::main().now(); });
        advance(0.19);
        EXPECT_EQ(ranAt, -1) << start;
        advance(0.02);
        EXPECT_NEAR(ranAt, host::RunLoop::main().now() - 0.01, 1e-4) << start;
    }
    EXPECT_EQ(dispatch_time(UINT64_MAX - 10, 1000), UINT64_MAX);
    EXPECT_EQ(dispatch_time(5, -1000), 1u);
}

// The model value changes at once; the drawn value follows the clock; the blocks stay alive
// until the animation has ended.
TEST_F(RunLoopTest, AnimationSetsModelAtOncePresentationOverTime) {
    auto view = std::make_shared<UIView>();
    view->setAlpha(0);
    auto keep = std::make_shared<int>(0);
    std::weak_ptr<int> kept = keep;
    bool completed = false;
    UIView::animateWithDuration(0.5, [view, keep] { view->setAlpha(1); }, [&](bool) { completed = true; });
    keep.reset();
    EXPECT_EQ(std::tuple(view->alpha(), view->presentationAlpha()), std::tuple(1.0, 0.0));
    advance(0.25);
    EXPECT_NEAR(view->presentationAlpha(), 0.5, 1e-9);
    EXPECT_FALSE(kept.expired() || completed);
    advance(0.25);
    EXPECT_EQ(view->presentationAlpha(), 1);
    EXPECT_TRUE(completed && kept.expired());
}

}  // namespace
