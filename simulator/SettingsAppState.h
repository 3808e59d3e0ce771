#pragma once
// What the Settings application holds, shared by its files (SettingsApp.cpp: set-up and what is on
// screen; SettingsAppActions.cpp: what a user does). Not for use outside them.
#include <algorithm>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/Preferences/PSListController.h"
#include "host/Preferences/PSRootController.h"
#include "host/Runtime/RunLoop.h"
#include "host/Runtime/SimulatedDevice.h"
#include "simulator/PagePreview.h"
#include "simulator/ScreenLayout.h"
#include "simulator/SettingsApp.h"
#include "simulator/SettingsTopPage.h"

namespace sim {

struct SettingsApp::State {
    Options options;
    std::shared_ptr<PSRootController> root;
    std::shared_ptr<SettingsTopPage> topPage;
    std::string principalClass;
    std::string entryName = "Velkaro";
    std::optional<std::string> loadError;
    std::optional<PagePreview> preview;  // with Options::pageFile: the page shown in place of the bundle
    std::optional<std::string> noteText;
    double noteUntil = 0;
    std::vector<std::function<void(const host::Event&)>> observers;
    bool keyboardShifted = false;
    std::optional<host::SimulatedDevice> device;  // last, so it ends first, before what its listener reaches

    void showNote(std::string text, double seconds) {
        noteText = std::move(text);
        noteUntil = seconds == std::numeric_limits<double>::infinity() ? seconds : host::RunLoop::main().now() + seconds;
    }
};

// A page's table, laid out to the part of the screen under the bars.
inline void fitToScreen(const std::shared_ptr<UIViewController>& controller, CGSize screen) {
    auto page = std::dynamic_pointer_cast<PSListController>(controller);
    if (!page || !page->table()) return;
    CGRect frame = page->table()->frame();
    frame.size.height = std::max<CGFloat>(0, screen.height - ScreenLayout::kContentTop);
    page->table()->setFrame(frame);
    page->table()->setContentOffset(page->table()->contentOffset());
}

}  // namespace sim
