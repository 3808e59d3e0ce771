#pragma once
// What the screen holds at one moment, as far as anything on it can move: the visible page, a
// presented sheet or composer, the front alert and whether its keyboard is up, and the visible
// page's switches. Two scenes, before and after something happened, tell which transitions
// begin; whatever changed it (a tap, a timer of the pane's), the screen animates the same way.
#include <memory>
#include <utility>
#include <vector>

#include "simulator/PageFace.h"
#include "simulator/Transitions.h"

class UIAlertView;
class UISwitch;
class UIViewController;

namespace sim {

class SettingsApp;

struct ScreenScene {
    PageFace page;
    std::shared_ptr<UIViewController> presented;
    std::shared_ptr<UIAlertView> alert;
    ModalLayout::Alert alertLayout;
    bool keyboardUp = false;
    UIKeyboardType keyboardType = UIKeyboardTypeDefault;
    std::vector<std::pair<std::weak_ptr<UISwitch>, bool>> switches;

    static ScreenScene capture(const SettingsApp& app);
    // Starts, at `now`, the transitions that lead from `before` to this scene.
    void startTransitionsFrom(const ScreenScene& before, Transitions& transitions, double now) const;
};

}  // namespace sim
