#include "simulator/ScreenColumns.h"

#include "host/Preferences/PSRootController.h"
#include "host/Runtime/DeviceProfile.h"
#include "simulator/ScreenLayout.h"
#include "simulator/SettingsApp.h"
#include "simulator/SettingsTopPage.h"

namespace sim {

CGRect ScreenColumn::content() const {
    return CGRectMake(frame.minX(), ScreenLayout::kContentTop, frame.width(), std::max<CGFloat>(0, frame.height() - ScreenLayout::kContentTop));
}

bool ScreenColumns::split() { return host::DeviceProfile::current().userInterfaceIdiom == 1; }

CGRect ScreenColumns::listFrame(CGSize screen) {
    return split() ? CGRectMake(0, 0, kListWidth, screen.height) : CGRectZero;
}

CGRect ScreenColumns::separatorFrame(CGSize screen) {
    return split() ? CGRectMake(kListWidth, 0, kSeparatorWidth, screen.height) : CGRectZero;
}

CGRect ScreenColumns::paneFrame(CGSize screen) {
    if (!split()) return CGRectMake(0, 0, screen.width, screen.height);
    const CGFloat left = kListWidth + kSeparatorWidth;
    return CGRectMake(left, 0, std::max<CGFloat>(0, screen.width - left), screen.height);
}

bool ScreenColumns::paneShown(const SettingsApp& app) {
    auto root = app.rootController();
    return root && root->viewControllers().size() > 1;
}

std::vector<ScreenColumn> ScreenColumns::of(const SettingsApp& app) {
    const CGSize screen = app.screenSize();
    if (!split())
        return {{ScreenColumn::Role::Whole, paneFrame(screen), app.visibleController(), app.visibleBar(), BackButton::of(app)}};
    // The list keeps the platform's bar whatever the pane does to the bar of the navigation it is in.
    ScreenColumn list{ScreenColumn::Role::List, listFrame(screen), app.topPage(), nullptr, std::nullopt};
    ScreenColumn pane{ScreenColumn::Role::Pane, paneFrame(screen), nullptr, nullptr, std::nullopt};
    if (paneShown(app)) {
        pane.controller = app.visibleController();
        pane.bar = app.visibleBar();
        pane.back = BackButton::of(app);
    }
    return {list, pane};
}

const ScreenColumn* ScreenColumns::at(const std::vector<ScreenColumn>& columns, CGPoint point) {
    for (const auto& column : columns)
        if (column.frame.contains(point)) return &column;
    return nullptr;
}

}  // namespace sim
