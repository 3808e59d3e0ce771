#pragma once
// An editable, scrolling text view: its text, first-responder state (the keyboard is up while it
// has it) and the keyboard's input, each character inserted at the end. Its delegate hears of every
// change a user makes; setting the text in code tells nobody, as on the platform.
#include <memory>
#include <string>

#include "host/UIKit/UIView.h"

class UITextView;

class UITextViewDelegate {
public:
    virtual ~UITextViewDelegate() = default;
    virtual void textViewDidChange(const std::shared_ptr<UITextView>&) {}
};

class UITextView : public UIView {
public:
    NS_CLASS(UITextView)

    const std::string& text() const { return _text; }
    void setText(std::string text) { _text = std::move(text); }
    bool isEditable() const { return _editable; }
    // A view that stops being editable gives up the keyboard.
    void setEditable(bool editable);

    std::shared_ptr<UITextViewDelegate> delegate() const { return _delegate.lock(); }
    void setDelegate(const std::shared_ptr<UITextViewDelegate>& delegate) { _delegate = delegate; }

    // Only an editable view takes the keyboard.
    bool isFirstResponder() const { return _firstResponder; }
    bool becomeFirstResponder();
    bool resignFirstResponder();

    // The keyboard's input (UIKeyInput), taken only while the view has the keyboard.
    bool hasText() const { return !_text.empty(); }
    void insertText(const std::string& text);
    // Removes the last whole character, however many bytes it takes.
    void deleteBackward();

private:
    void changed();

    std::string _text;
    bool _editable = true;
    bool _firstResponder = false;
    std::weak_ptr<UITextViewDelegate> _delegate;
};
