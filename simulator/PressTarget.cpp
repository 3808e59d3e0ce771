#include "simulator/PressTarget.h"

#include "host/Preferences/PSEditableTableCell.h"
#include "host/Preferences/PSListController.h"
#include "host/UIKit/UIAlertView.h"
#include "host/UIKit/UIControl.h"
#include "simulator/BackButton.h"
#include "simulator/ModalLayout.h"
#include "simulator/NumberPad.h"
#include "simulator/ScreenLayout.h"
#include "simulator/SettingsApp.h"

namespace sim {
namespace {

std::optional<PressTarget> target(PressTarget::Kind kind, CGRect frame) { return PressTarget{kind, frame, {}}; }

std::optional<PressTarget> inAlert(const UIAlertView& alert, CGSize screen, CGPoint point) {
    const auto layout = ModalLayout::alert(alert, screen);
    for (const auto& b : layout.buttons)
        if (b.frame.contains(point)) return target(PressTarget::Kind::AlertButton, b.frame);
    for (const auto& key : layout.keys)
        if (key.frame.contains(point)) return target(PressTarget::Kind::Key, key.frame);
    auto field = alert.textFieldAtIndex(0);
    if (!field || !layout.keyboard.contains(point)) return std::nullopt;
    const auto keys = NumberPad::keys(NumberPad::padFrame(layout), field->keyboardType());
    if (const auto* key = NumberPad::keyAt(keys, point); key && key->action != NumberPad::Action::None)
        return target(PressTarget::Kind::Key, key->frame);
    return std::nullopt;
}

std::optional<PressTarget> inPage(const SettingsApp& app, CGPoint point) {
    auto page = app.visiblePage();
    auto table = page ? page->table() : nullptr;
    if (!table) return std::nullopt;
    const CGPoint content{point.x, point.y - ScreenLayout::kContentTop + table->contentOffset()};
    const auto indexPath = table->indexPathForRowAtPoint(content);
    auto cell = indexPath ? table->cellForRowAtIndexPath(*indexPath) : nullptr;
    if (!cell || cell->selectionStyle() == UITableViewCellSelectionStyleNone) return std::nullopt;
    if (std::dynamic_pointer_cast<PSEditableTableCell>(cell) || cell->accessoryView()) return std::nullopt;
    // A control in the row answers on its own and leaves the row as it is.
    const CGRect rect = cell->frame();
    for (auto view = cell->hitTest({content.x - rect.minX(), content.y - rect.minY()}); view && view != cell;
         view = view->superview())
        if (std::dynamic_pointer_cast<UIControl>(view)) return std::nullopt;
    const CGRect onScreen = CGRectMake(rect.minX(), rect.minY() + ScreenLayout::kContentTop - table->contentOffset(),
        rect.width(), rect.height());
    return PressTarget{PressTarget::Kind::Row, onScreen, cell};
}

}  // namespace

std::optional<PressTarget> PressTarget::at(const SettingsApp& app, CGPoint point) {
    const CGSize screen = app.screenSize();
    if (auto alert = app.topAlert()) return inAlert(*alert, screen, point);
    if (app.presentedController()) {
        for (const auto& b : app.presentedButtons())
            if (b.frame.contains(point)) return target(Kind::ModalButton, b.frame);
        return std::nullopt;
    }
    if (point.y < ScreenLayout::kStatusBarHeight) return std::nullopt;
    if (point.y < ScreenLayout::kContentTop) {
        const CGFloat top = ScreenLayout::kStatusBarHeight, height = ScreenLayout::kNavigationBarHeight;
        if (auto back = BackButton::of(app); back && point.x < back->width)
            return target(Kind::BarButton, CGRectMake(0, top, back->width, height));
        auto controller = app.visibleController();
        const CGFloat right = screen.width - ScreenLayout::kBarButtonWidth;
        if (controller && controller->navigationItem()->rightBarButtonItem() && point.x >= right)
            return target(Kind::BarButton, CGRectMake(right, top, ScreenLayout::kBarButtonWidth, height));
        return std::nullopt;
    }
    return inPage(app, point);
}

}  // namespace sim
