#pragma once
// The main run loop: one clock, and the tasks due on it (one-shot timers, blocks sent to the main
// queue with a delay, the end of view animations). Tests drive a manual clock and advance it;
// the simulator follows the steady clock.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <utility>

namespace host {

class RunLoop {
public:
    static RunLoop& main();

    // Seconds since the loop started (manual clock: since its start value).
    double now() const;

    void useManualClock(double start = 0);
    void useSteadyClock();
    bool usesManualClock() const { return _manual; }

    // Runs `task` once, `delaySeconds` from now (a negative delay means now). Tasks due at the
    // same time run in the order they were scheduled. Returns a handle for cancel().
    std::uint64_t schedule(double delaySeconds, std::function<void()> task);
    void cancel(std::uint64_t handle);

    // Manual clock: moves time forward by `seconds`, running every task that falls due on the
    // way at its own time (tasks scheduled by those tasks included).
    void advance(double seconds);
    // Runs the tasks that are due now (steady clock: the simulator calls this from its loop).
    void runDueTasks();

    std::optional<double> nextDueTime() const;
    std::size_t pendingTaskCount() const { return _tasks.size(); }

private:
    friend class SimulatedDevice;
    // Drops every pending task and sets the manual clock back to `start` (a fresh device).
    void reset(double start = 0);

    bool runOneDueTask(double until);

    bool _manual = true;
    double _manualNow = 0;
    double _steadyOrigin = 0;
    std::uint64_t _nextSequence = 1;
    // (due time, sequence) -> task; the sequence is also the handle.
    std::map<std::pair<double, std::uint64_t>, std::function<void()>> _tasks;
};

}  // namespace host
