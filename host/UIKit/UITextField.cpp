#include "host/UIKit/UITextField.h"

#include <string_view>

#include "host/UIKit/UIDevice.h"

bool UITextField::keyboardOffers(UIKeyboardType type, char c) {
    const bool digit = c >= '0' && c <= '9';
    const bool pad = UIDevice::currentDevice()->userInterfaceIdiom() == UIUserInterfaceIdiomPad;
    switch (type) {
        case UIKeyboardTypeNumberPad:
        case UIKeyboardTypePhonePad:
        case UIKeyboardTypeDecimalPad:
            // A pad has no number pads: these open its full keyboard on the numbers page.
            if (pad) return digit || std::string_view(kPadNumbersPage).find(c) != std::string_view::npos;
            if (type == UIKeyboardTypeNumberPad) return digit;
            if (type == UIKeyboardTypePhonePad) return digit || std::string_view("+*#").find(c) != std::string_view::npos;
            return true;
        default: return true;
    }
}

std::string UITextField::displayedText() const {
    if (!_secure) return _text;
    std::string bullets;
    for (unsigned char c : _text)
        if ((c & 0xC0) != 0x80) bullets += "\u2022";  // one per character, not per byte
    return bullets;
}

bool UITextField::becomeFirstResponder() {
    if (_firstResponder) return true;
    _firstResponder = true;
    auto self = sharedAs<UITextField>();
    if (auto d = delegate()) d->textFieldDidBeginEditing(self);
    return true;
}

bool UITextField::resignFirstResponder() {
    if (!_firstResponder) return true;
    _firstResponder = false;
    auto self = sharedAs<UITextField>();
    if (auto d = delegate()) d->textFieldDidEndEditing(self);
    return true;
}

std::size_t UITextField::typeText(const std::string& characters) {
    std::size_t typed = 0;
    for (char c : characters) {
        if (!keyboardOffers(_keyboardType, c)) continue;
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

bool UITextField::pressReturn() {
    auto d = delegate();
    return !d || d->textFieldShouldReturn(sharedAs<UITextField>());
}
