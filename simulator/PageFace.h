#pragma once
// A page as the screen shows it with its bar: the controller, the bar's colours and its back
// button. Kept by a push or pop for the page that leaves, whose bar may already have changed.
#include <memory>
#include <optional>

#include "host/UIKit/UIColor.h"
#include "simulator/BackButton.h"

class UIViewController;
class UINavigationBar;

namespace sim {

class SettingsApp;
struct ScreenColumn;

struct PageFace {
    std::shared_ptr<UIViewController> controller;
    UIColor barColor, tint, titleColor;
    std::optional<BackButton> back;
    bool canGoBack = false;
    int depth = 0;  // pages under it, across nested navigation controllers

    // The visible page now (on a pad, the pane's).
    static PageFace of(const SettingsApp& app);
    // What a column shows now.
    static PageFace of(const SettingsApp& app, const ScreenColumn& column);
};

}  // namespace sim
