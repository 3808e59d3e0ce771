#include "simulator/ComposeTapper.h"

#include "host/MessageUI/MFMailComposeViewController.h"
#include "host/Social/SLComposeViewController.h"
#include "host/UIKit/UITextView.h"
#include "simulator/ComposeLayout.h"
#include "simulator/LettersKeyboard.h"
#include "simulator/ModalLayout.h"
#include "simulator/SettingsApp.h"

namespace sim {

bool ComposeTapper::tap(CGPoint point) {
    const auto presented = _app.presentedController();
    const auto sheet = std::dynamic_pointer_cast<SLComposeViewController>(presented);
    const auto composer = std::dynamic_pointer_cast<MFMailComposeViewController>(presented);
    const auto buttons = _app.presentedButtons();
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (!buttons[i].frame.contains(point)) continue;
        const bool confirms = i == ModalLayout::kConfirmButton;
        return sheet ? _app.finishSheet(confirms) : _app.finishMail(confirms);
    }
    // The keyboard lies over the lower part of the text.
    const CGRect keyboard = LettersKeyboard::frame(_app.screenSize());
    if (_app.composingView() && keyboard.contains(point)) {
        const auto keys = LettersKeyboard::keys(keyboard, _app.keyboardShifted());
        const auto* key = NumberPad::keyAt(keys, point);
        return key && pressKey(*key);
    }
    if (sheet) return ComposeLayout::sheetText(_app.screenSize()).contains(point) && sheet->textView()->becomeFirstResponder();
    if (!composer) return false;
    const auto rows = ComposeLayout::composer(_app.screenSize());
    if (rows.subject.contains(point)) return composer->beginEditing(composer->subjectView());
    if (rows.body.contains(point)) return composer->beginEditing(composer->bodyView());
    return false;
}

bool ComposeTapper::pressKey(const NumberPad::Key& key) {
    switch (key.action) {
        case NumberPad::Action::Type:
        case NumberPad::Action::Return:
            _app.setKeyboardShifted(false);  // shift holds for one letter
            return _app.typeText(key.text);
        case NumberPad::Action::Delete: return _app.deleteBackward();
        case NumberPad::Action::Shift:
            _app.setKeyboardShifted(!_app.keyboardShifted());
            return true;
        case NumberPad::Action::Hide: return _app.composingView()->resignFirstResponder();
        case NumberPad::Action::None: return false;
    }
    return false;
}

}  // namespace sim
