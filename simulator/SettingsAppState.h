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
#include "simulator/ScreenColumns.h"
#include "simulator/ScreenScene.h"
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
    // What moves: the screen as last seen, what runs from there, what a finger holds down, and
    // the row a tap pushed from (it stays selected under the pushed page).
    ScreenScene scene;
    Transitions transitions;
    std::optional<PressTarget> press;
    struct {
        std::weak_ptr<UIViewController> page;
        std::weak_ptr<UITableViewCell> cell;
    } pushedFrom;
    bool keyboardShifted = false;
    std::optional<host::SimulatedDevice> device;  // last, so it ends first, before what its listener reaches

    std::shared_ptr<UIViewController> previousPage(const std::shared_ptr<UINavigationController>& nav) const;

    void showNote(std::string text, double seconds) {
        noteText = std::move(text);
        noteUntil = seconds == std::numeric_limits<double>::infinity() ? seconds : host::RunLoop::main().now() + seconds;
    }
};

// Ends every action: what it changed on screen starts to move.
class SettingsApp::Watch {
public:
    explicit Watch(SettingsApp& app) : _app(app) {}
    ~Watch() { _app.noteScreenChanges(); }
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

private:
    SettingsApp& _app;
};

// A page's table, laid out to the part of its column under the bars: the top page in the list's
// column, any other in the pane's (on a phone both are the screen). A new width lays the rows,
// header views and cells out again.
inline void fitToScreen(const std::shared_ptr<UIViewController>& controller, CGSize screen) {
    auto page = std::dynamic_pointer_cast<PSListController>(controller);
    if (!page || !page->table()) return;
    const bool list = ScreenColumns::split() && std::dynamic_pointer_cast<SettingsTopPage>(controller);
    const CGFloat width = (list ? ScreenColumns::listFrame(screen) : ScreenColumns::paneFrame(screen)).width();
    CGRect frame = page->table()->frame();
    const bool widthChanged = frame.size.width != width;
    frame.size.width = width;
    frame.size.height = std::max<CGFloat>(0, screen.height - ScreenLayout::kContentTop);
    page->table()->setFrame(frame);
    if (widthChanged) page->table()->reloadData();
    page->table()->setContentOffset(page->table()->contentOffset());
}

}  // namespace sim
