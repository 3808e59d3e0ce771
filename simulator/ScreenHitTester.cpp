#include "simulator/ScreenHitTester.h"

#include "host/Preferences/PSListController.h"
#include "host/UIKit/UIAlertView.h"
#include "host/UIKit/LayoutDirection.h"
#include "host/UIKit/UIButton.h"
#include "host/UIKit/UISegmentedControl.h"
#include "host/UIKit/UISlider.h"
#include "host/UIKit/UISwitch.h"
#include "simulator/BackButton.h"
#include "simulator/ComposeTapper.h"
#include "simulator/ModalLayout.h"
#include "simulator/NumberPad.h"
#include "simulator/ScreenColumns.h"
#include "simulator/ScreenLayout.h"
#include "simulator/SettingsTopPage.h"
#include "simulator/SettingsApp.h"

namespace sim {
namespace {

// A switch also takes taps this close beside it, as a finger's width.
constexpr CGFloat kSwitchSlop = 8;

}  // namespace

bool ScreenHitTester::tap(CGPoint point) {
    // An alert is modal: only its buttons and its field answer; then a sheet or composer.
    if (auto alert = _app.topAlert()) return tapAlert(alert, point);
    if (_app.presentedController()) return tapPresented(point);
    if (point.y < ScreenLayout::kStatusBarHeight) return false;
    const auto columns = ScreenColumns::of(_app);
    const ScreenColumn* column = ScreenColumns::at(columns, point);
    if (!column || !column->controller) return false;
    const CGPoint inColumn{point.x - column->frame.minX(), point.y - column->frame.minY()};
    if (column->role == ScreenColumn::Role::List && ScreenColumns::paneShown(_app)) return tapList(inColumn);
    // A mirrored bar is the same bar reflected, so the reflected point finds its button.
    if (inColumn.y < ScreenLayout::kContentTop)
        return tapBar(*column, host::LayoutDirection::isRightToLeft() ? CGPoint{column->frame.width() - inColumn.x, inColumn.y} : inColumn);
    return tapPage(inColumn);
}

// The list beside the pane: its row takes the pane back to its first page, as choosing it again
// does; nothing else there answers.
bool ScreenHitTester::tapList(CGPoint point) {
    auto top = std::dynamic_pointer_cast<SettingsTopPage>(_app.topPage());
    if (point.y < ScreenLayout::kContentTop || !top || !top->table()) return false;
    const auto table = top->table();
    const auto indexPath = table->indexPathForRowAtPoint({point.x, point.y - ScreenLayout::kContentTop + table->contentOffset()});
    if (!indexPath || top->specifierAtIndexPath(*indexPath) != top->entry()) return false;
    while (_app.canGoBack())
        if (!_app.goBack()) break;
    return true;
}

bool ScreenHitTester::tapAlert(const std::shared_ptr<UIAlertView>& alert, CGPoint point) {
    const auto layout = ModalLayout::alert(*alert, _app.screenSize());
    for (const auto& b : layout.buttons)
        if (b.frame.contains(point)) return _app.pressAlertButton(b.title);
    if (layout.field.contains(point)) {
        if (auto field = alert->textFieldAtIndex(0)) return field->becomeFirstResponder();
    }
    for (const auto& key : layout.keys)
        if (key.frame.contains(point)) return _app.pressKeypadKey(key.title);
    if (auto field = alert->textFieldAtIndex(0); field && layout.keyboard.contains(point)) {
        const auto keys = NumberPad::keys(NumberPad::padFrame(layout), field->keyboardType());
        const auto* key = NumberPad::keyAt(keys, point);
        switch (key ? key->action : NumberPad::Action::None) {
            case NumberPad::Action::Type: return _app.typeText(key->text);
            case NumberPad::Action::Delete: return _app.deleteBackward();
            case NumberPad::Action::Hide: return field->resignFirstResponder();
            case NumberPad::Action::Return:
                // As the window's Return key: the first button that is not the cancel button.
                for (NSInteger i = 0; i < alert->numberOfButtons(); ++i)
                    if (i != alert->cancelButtonIndex()) return _app.pressAlertButton(alert->buttonTitleAtIndex(i).value_or(""));
                return false;
            case NumberPad::Action::None:
            case NumberPad::Action::Shift: return false;
        }
    }
    return false;
}

bool ScreenHitTester::tapPresented(CGPoint point) { return ComposeTapper(_app).tap(point); }

bool ScreenHitTester::tapBar(const ScreenColumn& column, CGPoint point) {
    if (column.back && point.x < column.back->width) return _app.goBack();
    if (point.x >= column.frame.width() - ScreenLayout::kBarButtonWidth) return _app.tapRightBarButton();
    return false;
}

bool ScreenHitTester::tapPage(CGPoint point) {
    auto page = _app.visiblePage();
    if (!page || !page->table()) return false;
    const auto table = page->table();
    const CGPoint content{point.x, point.y - ScreenLayout::kContentTop + table->contentOffset()};
    const auto indexPath = table->indexPathForRowAtPoint(content);
    if (!indexPath) return false;
    auto cell = table->cellForRowAtIndexPath(*indexPath);
    if (!cell) return false;
    const CGRect rect = cell->frame();
    return tapCell(*cell, *indexPath, {content.x - rect.minX(), content.y - rect.minY()});
}

// Inside a row the view under the point decides: a button takes the tap, a segment is chosen, a
// slider does not answer (it is dragged), anything else taps the row. A switch answers on its own
// area only. A text row's field starts editing wherever the row is tapped; a tap anywhere else
// ends the editing first.
bool ScreenHitTester::tapCell(UITableViewCell& cell, NSIndexPath indexPath, CGPoint inCell) {
    auto hit = cell.hitTest(inCell);
    for (auto view = hit; view && view.get() != &cell; view = view->superview()) {
        if (auto segments = std::dynamic_pointer_cast<UISegmentedControl>(view)) {
            _app.endEditing();
            const CGPoint origin = segments->convertPointToAncestor({0, 0}, &cell);
            const NSInteger segment = segments->segmentAtPoint({inCell.x - origin.x, inCell.y - origin.y});
            return segment != UISegmentedControlNoSegment && _app.chooseSegment(indexPath, segment);
        }
    }
    if (_app.beginEditing(indexPath)) return true;
    _app.endEditing();
    if (auto control = std::dynamic_pointer_cast<UISwitch>(cell.accessoryView())) {
        const CGRect f = control->frame();
        if (inCell.x >= f.minX() - kSwitchSlop && inCell.x < f.maxX() + kSwitchSlop) return _app.toggleSwitch(indexPath);
        return false;  // a switch row itself does nothing when tapped
    }
    for (auto view = hit; view && view.get() != &cell; view = view->superview()) {
        if (auto button = std::dynamic_pointer_cast<UIButton>(view)) {
            button->tap();
            return true;
        }
        if (std::dynamic_pointer_cast<UISlider>(view)) return false;
    }
    return _app.tapRow(indexPath);
}

}  // namespace sim
