#pragma once
// The transitions running in the Settings application, each with what it moves: the page that
// leaves, the sheet or alert that comes or goes, the switch or the row. Scripts' actions wait for
// the ones that hold up the screen (everything but a row's selection fading out).
#include <memory>
#include <optional>
#include <vector>

#include "host/UIKit/UITextField.h"
#include "simulator/ModalLayout.h"
#include "simulator/PageFace.h"
#include "simulator/Transition.h"

class UIAlertView;
class UIViewController;

namespace sim {

class Transitions {
public:
    struct Running {
        Transition transition;
        PageFace leaving;                                // Push, Pop: the page that goes
        std::shared_ptr<UIViewController> controller;    // Present, Dismiss
        std::shared_ptr<UIAlertView> alert;              // Alert*, Keyboard*: the alert (with the field)
        UIKeyboardType keyboardType = UIKeyboardTypeDefault;  // Keyboard*
        std::weak_ptr<const void> subject;               // Switch: the switch; RowFade: the cell
        std::optional<ModalLayout::Alert> layout;        // AlertOut, Keyboard*: where the alert and keyboard were
    };

    // Starts `running`; one of the same kind and subject that still runs is replaced.
    void start(Running running);
    // Forgets the transitions that have ended by `now`.
    void prune(double now);

    // The first running transition of this kind (and subject, when given), if any.
    const Running* find(Transition::Kind kind, double now, const void* subject = nullptr) const;
    // When the last transition that holds up actions ends; nothing when none runs.
    std::optional<double> blockingEnd(double now) const;
    bool empty() const { return _running.empty(); }
    const std::vector<Running>& all() const { return _running; }

    static bool holdsUpActions(Transition::Kind kind) { return kind != Transition::Kind::RowFade; }

private:
    std::vector<Running> _running;
};

}  // namespace sim
