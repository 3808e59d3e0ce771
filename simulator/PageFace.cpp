#include "simulator/PageFace.h"

#include "host/Preferences/PSRootController.h"
#include "host/UIKit/UINavigationBar.h"
#include "host/UIKit/UINavigationController.h"
#include "simulator/SettingsApp.h"

namespace sim {

PageFace PageFace::of(const SettingsApp& app) {
    PageFace face;
    face.controller = app.visibleController();
    auto bar = app.visibleBar();
    face.barColor = bar ? bar->effectiveBarTintColor() : UINavigationBar::defaultBarTintColor();
    face.tint = bar ? bar->effectiveTintColor() : UINavigationBar::defaultTintColor();
    face.titleColor = bar ? bar->effectiveTitleColor() : UINavigationBar::defaultTitleColor();
    face.back = BackButton::of(app);
    face.canGoBack = app.canGoBack();
    for (std::shared_ptr<UINavigationController> nav = app.rootController(); nav;
         nav = std::dynamic_pointer_cast<UINavigationController>(nav->topViewController()))
        face.depth += int(nav->viewControllers().size());
    return face;
}

}  // namespace sim
