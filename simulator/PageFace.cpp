#include "simulator/PageFace.h"

#include "host/Preferences/PSRootController.h"
#include "host/UIKit/UINavigationBar.h"
#include "host/UIKit/UINavigationController.h"
#include "simulator/ScreenColumns.h"
#include "simulator/SettingsApp.h"

namespace sim {

PageFace PageFace::of(const SettingsApp& app) {
    const auto columns = ScreenColumns::of(app);
    return of(app, columns.back());
}

PageFace PageFace::of(const SettingsApp& app, const ScreenColumn& column) {
    PageFace face;
    face.controller = column.controller;
    const auto& bar = column.bar;
    face.barColor = bar ? bar->effectiveBarTintColor() : UINavigationBar::defaultBarTintColor();
    face.tint = bar ? bar->effectiveTintColor() : UINavigationBar::defaultTintColor();
    face.titleColor = bar ? bar->effectiveTitleColor() : UINavigationBar::defaultTitleColor();
    face.back = column.back;
    face.canGoBack = column.back.has_value();
    if (column.role == ScreenColumn::Role::List) return face;
    for (std::shared_ptr<UINavigationController> nav = app.rootController(); nav;
         nav = std::dynamic_pointer_cast<UINavigationController>(nav->topViewController()))
        face.depth += int(nav->viewControllers().size());
    return face;
}

}  // namespace sim
