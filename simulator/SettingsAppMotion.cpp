// What moves in the Settings application: the transitions its screen changes start, the clock
// running through them, and what a finger holds down.
#include <algorithm>

#include "host/Runtime/RunLoop.h"
#include "host/UIKit/UISwitch.h"
#include "simulator/SettingsApp.h"
#include "simulator/SettingsAppState.h"

namespace sim {

const Transitions& SettingsApp::transitions() const { return _state->transitions; }

bool SettingsApp::isTransitioning() const { return _state->transitions.blockingEnd(now()).has_value(); }

void SettingsApp::noteScreenChanges() {
    auto& s = *_state;
    if (!s.root) return;
    const double t = now();
    s.transitions.prune(t);
    auto scene = ScreenScene::capture(*this);
    scene.startTransitionsFrom(s.scene, s.transitions, t);
    // Back on the page a tap pushed from: its row's selection fades out with the pop.
    if (auto page = s.pushedFrom.page.lock(); page && scene.page.controller == page && s.scene.page.controller != page) {
        if (auto cell = s.pushedFrom.cell.lock()) {
            auto fade = Transition::make(Transition::Kind::RowFade, t);
            fade.duration = Transition::kNavigationDuration;
            s.transitions.start({fade, {}, nullptr, nullptr, {}, cell, std::nullopt});
        }
        s.pushedFrom = {};
    }
    s.scene = std::move(scene);
}

void SettingsApp::advance(double seconds) {
    auto& clock = host::RunLoop::main();
    if (!clock.usesManualClock()) {
        clock.runDueTasks();
        noteScreenChanges();
        return;
    }
    // Task by task, so what a timer changes starts moving at the timer's own time.
    // Times reached along different sums (a post 0.2 s after a press, a wait of 0.2 s) may differ
    // in their last bits: a task due within this slack of the end is due.
    constexpr double kSlack = 1e-9;
    const double until = clock.now() + std::max(0.0, seconds);
    while (auto due = clock.nextDueTime()) {
        if (*due > until + kSlack) break;
        clock.advance(std::max(0.0, *due - clock.now()));
        if (clock.nextDueTime() == due && clock.now() < *due) clock.advance(*due + kSlack - clock.now());
        noteScreenChanges();
    }
    clock.advance(std::max(0.0, until - clock.now()));
    noteScreenChanges();
}

void SettingsApp::finishTransitions() {
    if (!host::RunLoop::main().usesManualClock()) return;
    // What ends may start more (a timer that shows an alert); a few rounds settle it.
    for (int round = 0; round < 8; ++round) {
        const auto end = _state->transitions.blockingEnd(now());
        if (!end) return;
        advance(*end - now());
    }
}

double SettingsApp::rowSelection(const UITableViewCell& cell) const {
    const auto& s = *_state;
    if (s.press && s.press->kind == PressTarget::Kind::Row && s.press->cell.lock().get() == &cell) return 1;
    if (const auto* fade = s.transitions.find(Transition::Kind::RowFade, now(), &cell)) return fade->transition.value(now());
    // Under the page it opened (and in the push that covers it) the tapped row stays selected.
    if (s.pushedFrom.cell.lock().get() == &cell && s.pushedFrom.page.lock() != visibleController()) return 1;
    return 0;
}

double SettingsApp::switchPosition(const UISwitch& control) const {
    if (const auto* slide = _state->transitions.find(Transition::Kind::Switch, now(), &control))
        return slide->transition.value(now());
    return control.isOn() ? 1 : 0;
}

void SettingsApp::pressAt(CGPoint point) {
    // While the screen moves, a touch waits for it as the platform's does.
    _state->press = isTransitioning() ? std::nullopt : PressTarget::at(*this, point);
}

void SettingsApp::endPress() { _state->press.reset(); }

const std::optional<PressTarget>& SettingsApp::press() const { return _state->press; }

}  // namespace sim
