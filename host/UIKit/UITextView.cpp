#include "host/UIKit/UITextView.h"

#include <glib.h>

void UITextView::setEditable(bool editable) {
    _editable = editable;
    if (!editable) resignFirstResponder();
}

bool UITextView::becomeFirstResponder() {
    if (!_editable) return false;
    _firstResponder = true;
    return true;
}

bool UITextView::resignFirstResponder() {
    _firstResponder = false;
    return true;
}

void UITextView::insertText(const std::string& text) {
    if (!_firstResponder || text.empty()) return;
    _text += text;
    changed();
}

void UITextView::deleteBackward() {
    if (!_firstResponder || _text.empty()) return;
    // Back to the last character's lead byte.
    const char* end = _text.c_str() + _text.size();
    const char* last = g_utf8_find_prev_char(_text.c_str(), end);
    _text.erase(last ? static_cast<std::size_t>(last - _text.c_str()) : 0);
    changed();
}

void UITextView::changed() {
    if (auto d = delegate()) d->textViewDidChange(sharedAs<UITextView>());
}
