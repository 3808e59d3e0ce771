#pragma once
// The columns the Settings application shows its pages in. A phone has one, across the screen.
// A pad is a split view in either orientation: the Settings list in a 320-point column on the
// left, a 1-point separator, and the chosen pane on the right, each column under its own bar.
// Drawing, the screen dump and hit-testing all take their columns from here.
#include <memory>
#include <optional>
#include <vector>

#include "host/CoreGraphics/CGGeometry.h"
#include "simulator/BackButton.h"

class UIViewController;
class UINavigationBar;

namespace sim {

class SettingsApp;

struct ScreenColumn {
    enum class Role { Whole, List, Pane };
    Role role = Role::Whole;
    CGRect frame;  // the whole column from the screen's top: its bar reaches up under the status bar
    std::shared_ptr<UIViewController> controller;  // the page shown; null: an empty column
    std::shared_ptr<UINavigationBar> bar;          // whose colours the bar takes; null: the platform's
    std::optional<BackButton> back;

    CGRect content() const;  // under the bars
};

class ScreenColumns {
public:
    static constexpr CGFloat kListWidth = 320;
    static constexpr CGFloat kSeparatorWidth = 1;

    // The running device splits its screen (a pad).
    static bool split();
    // The Settings list's column (zero on a phone) and the pane's (the whole screen on a phone).
    static CGRect listFrame(CGSize screen);
    static CGRect paneFrame(CGSize screen);
    static CGRect separatorFrame(CGSize screen);  // zero on a phone

    // Whether the pane has been chosen: its pages are in the navigation beside the top page.
    static bool paneShown(const SettingsApp& app);
    // What each column shows now, from the left.
    static std::vector<ScreenColumn> of(const SettingsApp& app);
    // The column under a screen point, if any.
    static const ScreenColumn* at(const std::vector<ScreenColumn>& columns, CGPoint point);
};

}  // namespace sim
