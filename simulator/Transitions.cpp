#include "simulator/Transitions.h"

#include <algorithm>

namespace sim {

void Transitions::start(Running running) {
    const void* subject = running.subject.lock().get();
    // One navigation moves at a time: a pop that cuts a push short takes its place.
    const auto navigation = [](Transition::Kind k) { return k == Transition::Kind::Push || k == Transition::Kind::Pop; };
    std::erase_if(_running, [&](const Running& r) {
        if (navigation(r.transition.kind) && navigation(running.transition.kind)) return true;
        return r.transition.kind == running.transition.kind && r.subject.lock().get() == subject;
    });
    _running.push_back(std::move(running));
}

void Transitions::prune(double now) {
    std::erase_if(_running, [now](const Running& r) { return !r.transition.runningAt(now); });
}

const Transitions::Running* Transitions::find(Transition::Kind kind, double now, const void* subject) const {
    for (const auto& r : _running)
        if (r.transition.kind == kind && r.transition.runningAt(now) && (!subject || r.subject.lock().get() == subject))
            return &r;
    return nullptr;
}

std::optional<double> Transitions::blockingEnd(double now) const {
    std::optional<double> end;
    for (const auto& r : _running)
        if (holdsUpActions(r.transition.kind) && r.transition.runningAt(now))
            end = std::max(end.value_or(now), r.transition.end());
    return end;
}

}  // namespace sim
