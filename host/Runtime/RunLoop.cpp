#include "host/Runtime/RunLoop.h"

#include <chrono>

namespace host {
namespace {

double steadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

RunLoop& RunLoop::main() {
    static RunLoop loop;
    return loop;
}

double RunLoop::now() const { return _manual ? _manualNow : steadySeconds() - _steadyOrigin; }

void RunLoop::useManualClock(double start) {
    _manual = true;
    _manualNow = start;
}

void RunLoop::useSteadyClock() {
    const double current = now();
    _manual = false;
    _steadyOrigin = steadySeconds() - current;  // time keeps running from where it was
}

std::uint64_t RunLoop::schedule(double delaySeconds, std::function<void()> task) {
    const std::uint64_t sequence = _nextSequence++;
    _tasks.emplace(std::make_pair(now() + (delaySeconds > 0 ? delaySeconds : 0), sequence), std::move(task));
    return sequence;
}

void RunLoop::cancel(std::uint64_t handle) {
    for (auto it = _tasks.begin(); it != _tasks.end(); ++it) {
        if (it->first.second == handle) {
            _tasks.erase(it);
            return;
        }
    }
}

bool RunLoop::runOneDueTask(double until) {
    if (_tasks.empty() || _tasks.begin()->first.first > until) return false;
    auto node = _tasks.extract(_tasks.begin());
    if (_manual && node.key().first > _manualNow) _manualNow = node.key().first;
    node.mapped()();  // the task may schedule more
    return true;
}

void RunLoop::advance(double seconds) {
    if (!_manual) {
        runDueTasks();
        return;
    }
    const double target = _manualNow + (seconds > 0 ? seconds : 0);
    while (runOneDueTask(target)) {
    }
    _manualNow = target;
}

void RunLoop::runDueTasks() {
    const double until = now();
    while (runOneDueTask(until)) {
    }
}

std::optional<double> RunLoop::nextDueTime() const {
    if (_tasks.empty()) return std::nullopt;
    return _tasks.begin()->first.first;
}

void RunLoop::reset(double start) {
    _tasks.clear();
    _manual = true;
    _manualNow = start;
}

}  // namespace host
