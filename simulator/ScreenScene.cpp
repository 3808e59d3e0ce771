#include "simulator/ScreenScene.h"

#include "host/Preferences/PSListController.h"
#include "host/UIKit/UIAlertView.h"
#include "host/UIKit/UISwitch.h"
#include "simulator/ModalLayout.h"
#include "simulator/SettingsApp.h"

namespace sim {
namespace {

void collectSwitches(const std::shared_ptr<UIView>& view, std::vector<std::pair<std::weak_ptr<UISwitch>, bool>>& out) {
    if (!view) return;
    if (auto control = std::dynamic_pointer_cast<UISwitch>(view)) out.emplace_back(control, control->isOn());
    for (const auto& sub : view->subviews()) collectSwitches(sub, out);
}

using Kind = Transition::Kind;

Transitions::Running running(Kind kind, double now) { return {Transition::make(kind, now), {}, nullptr, nullptr, {}, {}, std::nullopt}; }

}  // namespace

ScreenScene ScreenScene::capture(const SettingsApp& app) {
    ScreenScene scene;
    scene.page = PageFace::of(app);
    scene.presented = app.presentedController();
    scene.alert = app.topAlert();
    if (scene.alert) {
        auto field = scene.alert->textFieldAtIndex(0);
        scene.alertLayout = ModalLayout::alert(*scene.alert, app.screenSize());
        scene.keyboardUp = field && scene.alertLayout.keyboard.size.height > 0;
        if (field) scene.keyboardType = field->keyboardType();
    }
    if (auto page = app.visiblePage(); page && page->table())
        for (const auto& section : page->table()->sections())
            for (const auto& row : section.rows) {
                if (!row.cell) continue;
                collectSwitches(row.cell->accessoryView(), scene.switches);
                collectSwitches(row.cell, scene.switches);
            }
    return scene;
}

void ScreenScene::startTransitionsFrom(const ScreenScene& before, Transitions& transitions, double now) const {
    if (page.controller != before.page.controller && before.page.controller && page.controller &&
        page.depth != before.page.depth) {
        auto r = running(page.depth > before.page.depth ? Kind::Push : Kind::Pop, now);
        r.leaving = before.page;
        transitions.start(std::move(r));
    }
    if (presented != before.presented) {
        if (before.presented) {
            auto r = running(Kind::Dismiss, now);
            r.controller = before.presented;
            transitions.start(std::move(r));
        }
        if (presented) {
            auto r = running(Kind::Present, now);
            r.controller = presented;
            transitions.start(std::move(r));
        }
    }
    if (alert != before.alert) {
        if (before.alert) {
            auto r = running(Kind::AlertOut, now);
            r.alert = before.alert;
            r.layout = before.alertLayout;
            transitions.start(std::move(r));
        }
        if (alert) {
            auto r = running(Kind::AlertIn, now);
            r.alert = alert;
            transitions.start(std::move(r));
        }
    }
    // The keyboard comes and goes with a field's focus; from one alert's field to the next it
    // goes down and comes up again.
    const bool sameField = alert == before.alert;
    if (before.keyboardUp && (!keyboardUp || !sameField)) {
        auto r = running(Kind::KeyboardOut, now);
        r.alert = before.alert;
        r.keyboardType = before.keyboardType;
        r.layout = before.alertLayout;
        transitions.start(std::move(r));
    }
    if (keyboardUp && (!before.keyboardUp || !sameField)) {
        auto r = running(Kind::KeyboardIn, now);
        r.alert = alert;
        r.keyboardType = keyboardType;
        r.layout = alertLayout;
        transitions.start(std::move(r));
    }
    if (page.controller != before.page.controller) return;
    for (const auto& [control, on] : switches) {
        auto live = control.lock();
        for (const auto& [old, wasOn] : before.switches) {
            if (old.lock() != live || wasOn == on) continue;
            auto r = running(Kind::Switch, now);
            r.transition.from = wasOn ? 1 : 0;
            r.transition.to = on ? 1 : 0;
            r.subject = live;
            transitions.start(std::move(r));
        }
    }
}

}  // namespace sim
