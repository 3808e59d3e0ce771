// What a user does in the Settings application: taps, typing, going back, waiting. An action
// returns false when it reaches nothing, as when something modal is in front of its target.
#include <cctype>

#include "host/MessageUI/MFMailComposeViewController.h"
#include "host/Preferences/PSEditableTableCell.h"
#include "host/Preferences/PSSegmentTableCell.h"
#include "host/Preferences/PSSliderTableCell.h"
#include "host/Runtime/RunLoop.h"
#include "host/Social/SLComposeViewController.h"
#include "host/UIKit/UIAlertView.h"
#include "host/UIKit/UIButton.h"
#include "host/UIKit/UINavigationController.h"
#include "host/UIKit/UISlider.h"
#include "host/UIKit/UISwitch.h"
#include "host/UIKit/UITextView.h"
#include "host/UIKit/UIToolbar.h"
#include "simulator/ScreenHitTester.h"
#include "simulator/SettingsApp.h"
#include "simulator/SettingsAppState.h"

namespace sim {
namespace {

template <class T> std::shared_ptr<T> findSubview(const std::shared_ptr<UIView>& view) {
    if (!view) return nullptr;
    for (const auto& sub : view->subviews()) {
        if (auto hit = std::dynamic_pointer_cast<T>(sub)) return hit;
        if (auto hit = findSubview<T>(sub)) return hit;
    }
    return nullptr;
}

bool sameTitle(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

// Every label text shown in a cell, title label first.
void collectLabelTexts(const std::shared_ptr<UIView>& view, std::vector<std::string>& out) {
    if (!view) return;
    for (const auto& sub : view->subviews()) {
        if (auto label = std::dynamic_pointer_cast<UILabel>(sub); label && label->text() && !label->text()->empty())
            out.push_back(*label->text());
        collectLabelTexts(sub, out);
    }
}

std::shared_ptr<UITableViewCell> cellAt(const std::shared_ptr<PSListController>& page, NSIndexPath indexPath) {
    if (!page || !page->table()) return nullptr;
    return page->table()->cellForRowAtIndexPath(indexPath);
}

std::shared_ptr<UITextField> rowField(const std::shared_ptr<UITableViewCell>& cell) {
    auto editable = std::dynamic_pointer_cast<PSEditableTableCell>(cell);
    return editable ? editable->textField() : nullptr;
}

}  // namespace

bool SettingsApp::tapRow(NSIndexPath indexPath) {
    const Watch watch(*this);
    if (topAlert() || presentedController()) return false;
    auto page = visiblePage();
    auto cell = cellAt(page, indexPath);
    if (!cell) return false;
    if (rowField(cell)) return beginEditing(indexPath);  // a text row takes the tap into its field
    endEditing();
    const auto before = visibleController();
    page->table()->selectRowAtIndexPath(indexPath);
    if (visibleController() != before) {
        fitToScreen(visibleController(), screenSize());
        // The row stays selected under the page it opened, and fades when the user comes back.
        _state->pushedFrom = {page, cell};
    } else if (cell->selectionStyle() != UITableViewCellSelectionStyleNone && !cell->accessoryView()) {
        Transitions::Running fade{Transition::make(Transition::Kind::RowFade, now()), {}, nullptr, nullptr, {}, cell, std::nullopt};
        _state->transitions.start(std::move(fade));
    }
    return true;
}

std::optional<NSIndexPath> SettingsApp::rowTitled(const std::string& title) const {
    auto page = visiblePage();
    if (!page || !page->table()) return std::nullopt;
    const auto& sections = page->table()->sections();
    // Exact title labels first, then the row's name or any label of the cell (a maker's name),
    // then the same ignoring case.
    for (int pass = 0; pass < 3; ++pass) {
        for (const auto& section : sections) {
            for (const auto& row : section.rows) {
                if (!row.cell) continue;
                std::vector<std::string> texts;
                if (const auto& t = row.cell->textLabel()->text(); t && !t->empty()) texts.push_back(*t);
                if (pass > 0) {
                    // A row that shows no title (a slider row) is still known by its name.
                    if (auto spec = page->specifierAtIndexPath(row.indexPath); spec && spec->name()) texts.push_back(*spec->name());
                    collectLabelTexts(row.cell, texts);
                }
                for (const auto& text : texts)
                    if (pass < 2 ? text == title : sameTitle(text, title)) return row.indexPath;
            }
        }
    }
    return std::nullopt;
}

bool SettingsApp::tapValueButton(NSIndexPath indexPath) {
    const Watch watch(*this);
    if (topAlert() || presentedController()) return false;
    auto cell = cellAt(visiblePage(), indexPath);
    // The slider cell's value button lies directly on the cell, over the row's right end.
    std::shared_ptr<UIButton> button;
    if (cell)
        for (const auto& sub : cell->subviews())
            if (auto b = std::dynamic_pointer_cast<UIButton>(sub)) button = b;
    if (!button) button = findSubview<UIButton>(cell);
    if (!button) return false;
    button->tap();
    return true;
}

bool SettingsApp::toggleSwitch(NSIndexPath indexPath) {
    const Watch watch(*this);
    if (topAlert() || presentedController()) return false;
    auto cell = cellAt(visiblePage(), indexPath);
    if (!cell) return false;
    auto control = std::dynamic_pointer_cast<UISwitch>(cell->accessoryView());
    if (!control) control = findSubview<UISwitch>(cell);
    if (!control || !control->isEnabled()) return false;
    control->toggle();
    return true;
}

bool SettingsApp::slide(NSIndexPath indexPath, float value) {
    const Watch watch(*this);
    if (topAlert() || presentedController()) return false;
    auto cell = cellAt(visiblePage(), indexPath);
    std::shared_ptr<UISlider> slider;
    if (auto sliderCell = std::dynamic_pointer_cast<PSSliderTableCell>(cell)) slider = sliderCell->control();
    if (!slider) slider = findSubview<UISlider>(cell);
    if (!slider || !slider->isEnabled()) return false;
    slider->slideTo(value);
    return true;
}

bool SettingsApp::tapRightBarButton() {
    const Watch watch(*this);
    if (topAlert() || presentedController()) return false;
    auto controller = visibleController();
    auto item = controller ? controller->navigationItem()->rightBarButtonItem() : nullptr;
    if (!item) return false;
    item->tap();
    return true;
}

bool SettingsApp::goBack() {
    const Watch watch(*this);
    if (topAlert() || presentedController()) return false;
    auto nav = innermostNavigationController();
    if (!nav || !canGoBack()) return false;
    endEditing();  // a page that goes keeps what was typed into it
    if (nav->viewControllers().size() > 1) {
        nav->popViewControllerAnimated(true);
    } else if (nav != _state->root) {
        // Only the bundle's root page is left in its own navigation controller: leave it whole.
        auto outer = nav->navigationController();
        if (!outer || !outer->popViewControllerAnimated(true)) return false;
    } else {
        return false;
    }
    fitToScreen(visibleController(), screenSize());
    return true;
}

bool SettingsApp::pressAlertButton(const std::string& title) {
    const Watch watch(*this);
    auto alert = topAlert();
    if (!alert) return false;
    for (int pass = 0; pass < 2; ++pass)
        for (NSInteger i = 0; i < alert->numberOfButtons(); ++i) {
            const auto t = alert->buttonTitleAtIndex(i).value_or("");
            if (pass == 0 ? t == title : sameTitle(t, title)) {
                alert->clickButtonAtIndex(i);
                return true;
            }
        }
    return false;
}

bool SettingsApp::chooseSegment(NSIndexPath indexPath, NSInteger segment) {
    const Watch watch(*this);
    if (topAlert() || presentedController()) return false;
    auto cell = std::dynamic_pointer_cast<PSSegmentTableCell>(cellAt(visiblePage(), indexPath));
    auto control = cell ? cell->control() : nullptr;
    if (!control || !control->isEnabled() || segment < 0 || segment >= control->numberOfSegments()) return false;
    control->tapSegment(segment);
    return true;
}

bool SettingsApp::beginEditing(NSIndexPath indexPath) {
    const Watch watch(*this);
    if (topAlert() || presentedController()) return false;
    auto field = rowField(cellAt(visiblePage(), indexPath));
    if (!field || !field->isEnabled()) return false;
    // One field has the keyboard at a time: another row's editing ends (and stores) first.
    if (auto editing = editingField(); editing && editing != field) endEditing();
    return field->becomeFirstResponder();
}

bool SettingsApp::endEditing() {
    const Watch watch(*this);
    auto field = editingField();
    if (!field) return false;
    // Return asks the field's delegate; the host's cell then gives up the keyboard.
    field->pressReturn();
    if (field->isFirstResponder()) field->resignFirstResponder();
    return true;
}

std::shared_ptr<UITextField> SettingsApp::editingField() const {
    auto page = visiblePage();
    if (!page || !page->table()) return nullptr;
    for (const auto& section : page->table()->sections())
        for (const auto& row : section.rows)
            if (auto field = rowField(row.cell); field && field->isFirstResponder()) return field;
    return nullptr;
}

std::shared_ptr<UITextField> SettingsApp::typingField() const {
    if (auto alert = topAlert()) return alert->textFieldAtIndex(0);
    return presentedController() ? nullptr : editingField();
}

std::shared_ptr<UITextView> SettingsApp::composingView() const {
    if (topAlert()) return nullptr;
    const auto presented = presentedController();
    if (auto sheet = std::dynamic_pointer_cast<SLComposeViewController>(presented))
        return sheet->textView()->isFirstResponder() ? sheet->textView() : nullptr;
    if (auto composer = std::dynamic_pointer_cast<MFMailComposeViewController>(presented)) return composer->editingView();
    return nullptr;
}

bool SettingsApp::keyboardShifted() const { return _state->keyboardShifted; }
void SettingsApp::setKeyboardShifted(bool shifted) { _state->keyboardShifted = shifted; }

bool SettingsApp::typeText(const std::string& text) {
    const Watch watch(*this);
    if (auto view = composingView()) {
        view->insertText(text);
        return true;
    }
    auto field = typingField();
    if (!field) return false;
    if (!field->isFirstResponder()) field->becomeFirstResponder();  // a tap into the field
    field->typeText(text);
    return true;
}

bool SettingsApp::pressKeypadKey(const std::string& title) {
    const Watch watch(*this);
    auto alert = topAlert();
    auto field = alert ? alert->textFieldAtIndex(0) : nullptr;
    if (!field || !field->isFirstResponder()) return false;
    auto toolbar = std::dynamic_pointer_cast<UIToolbar>(field->inputAccessoryView());
    if (!toolbar) return false;
    for (int pass = 0; pass < 2; ++pass)
        for (const auto& item : toolbar->items()) {
            const auto t = item ? item->title().value_or("") : std::string();
            if (item && (pass == 0 ? t == title : sameTitle(t, title))) {
                item->tap();
                return true;
            }
        }
    return false;
}

bool SettingsApp::deleteBackward() {
    const Watch watch(*this);
    if (auto view = composingView()) {
        view->deleteBackward();
        return true;
    }
    auto field = typingField();
    if (!field || !field->isFirstResponder()) return false;
    field->deleteBackward();
    return true;
}

bool SettingsApp::finishSheet(bool done) {
    const Watch watch(*this);
    auto sheet = std::dynamic_pointer_cast<SLComposeViewController>(presentedController());
    if (!sheet) return false;
    return sheet->finish(done ? SLComposeViewControllerResultDone : SLComposeViewControllerResultCancelled);
}

bool SettingsApp::finishMail(bool send) {
    const Watch watch(*this);
    auto composer = std::dynamic_pointer_cast<MFMailComposeViewController>(presentedController());
    if (!composer) return false;
    return send ? composer->send() : composer->cancel();
}



bool SettingsApp::tapAt(CGPoint point) {
    const Watch watch(*this);
    return ScreenHitTester(*this).tap(point);
}

void SettingsApp::scroll(CGFloat dy) {
    const Watch watch(*this);
    auto page = visiblePage();
    if (page && page->table()) page->table()->setContentOffset(page->table()->contentOffset() + dy);
}


}  // namespace sim
