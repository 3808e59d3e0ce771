#pragma once
// A text field: its text, a delegate (the platform's defaults apply where it implements
// nothing), a keyboard type, an accessory view over the keyboard, and first-responder state.
#include <memory>
#include <string>

#include "host/UIKit/UIControl.h"

enum UIKeyboardType : NSInteger { UIKeyboardTypeDefault = 0, UIKeyboardTypeNumberPad = 4, UIKeyboardTypeDecimalPad = 8 };

class UITextFieldDelegate {
public:
    virtual ~UITextFieldDelegate() = default;
};

class UITextField : public UIControl {
public:
    NS_CLASS(UITextField)

    const std::string& text() const { return _text; }
    void setText(std::string text) { _text = std::move(text); }
    std::shared_ptr<UITextFieldDelegate> delegate() const { return _delegate.lock(); }
    void setDelegate(const std::shared_ptr<UITextFieldDelegate>& delegate) { _delegate = delegate; }
    UIKeyboardType keyboardType() const { return _keyboardType; }
    void setKeyboardType(UIKeyboardType type) { _keyboardType = type; }
    const std::shared_ptr<UIView>& inputAccessoryView() const { return _inputAccessoryView; }
    void setInputAccessoryView(std::shared_ptr<UIView> view) { _inputAccessoryView = std::move(view); }

    bool isFirstResponder() const { return _firstResponder; }
    bool becomeFirstResponder();
    bool resignFirstResponder();

    // A user's typing: each character is inserted at the end. The number pad offers digits only,
    // so other characters are not typed on it (a paste would still put them in; see pasteText).
    // Returns the number of characters typed.
    std::size_t typeText(const std::string& characters);
    // A paste: any text, unfiltered (the delegate implements no filter).
    void pasteText(const std::string& characters) { _text += characters; }
    void deleteBackward();

private:
    std::string _text;
    std::weak_ptr<UITextFieldDelegate> _delegate;
    UIKeyboardType _keyboardType = UIKeyboardTypeDefault;
    std::shared_ptr<UIView> _inputAccessoryView;
    bool _firstResponder = false;
};
