#pragma once
// What a finger held on the screen highlights before it lifts: a row (grey selection), a key of
// the keyboard or its toolbar, a bar button, an alert's or a sheet's button (dimmed). Found by
// the same geometry the taps use; the action itself still happens on release.
#include <memory>
#include <optional>

#include "host/CoreGraphics/CGGeometry.h"

class UITableViewCell;

namespace sim {

class SettingsApp;

struct PressTarget {
    enum class Kind { Row, Key, BarButton, AlertButton, ModalButton };
    Kind kind = Kind::Row;
    CGRect frame;                          // screen points
    std::weak_ptr<UITableViewCell> cell;   // Row

    // What a press at `point` highlights; nothing where it highlights nothing (a switch, a
    // slider, empty space).
    static std::optional<PressTarget> at(const SettingsApp& app, CGPoint point);
};

}  // namespace sim
