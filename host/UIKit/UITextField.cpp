#include "host/UIKit/UITextField.h"

bool UITextField::becomeFirstResponder() {
    _firstResponder = true;
    return true;
}

bool UITextField::resignFirstResponder() {
    _firstResponder = false;
    return true;
}

std::size_t UITextField::typeText(const std::string& characters) {
    std::size_t typed = 0;
    for (char c : characters) {
        if (_keyboardType == UIKeyboardTypeNumberPad && !(c >= '0' && c <= '9')) continue;
        _text.push_back(c);
        ++typed;
    }
    return typed;
}

void UITextField::deleteBackward() {
    if (_text.empty()) return;
    // Remove one whole UTF-8 character.
    std::size_t n = _text.size() - 1;
    while (n > 0 && (static_cast<unsigned char>(_text[n]) & 0xC0) == 0x80) --n;
    _text.erase(n);
}
