#pragma once
// A text field: its text (or a placeholder while empty), a delegate (the platform's defaults
// apply where it implements nothing), a keyboard type, an accessory view over the keyboard, and
// first-responder state. A secure field shows its text as bullets.
#include <memory>
#include <string>

#include "host/UIKit/UIControl.h"
#include "host/UIKit/UILabel.h"

enum UIKeyboardType : NSInteger {
    UIKeyboardTypeDefault = 0,
    UIKeyboardTypeNumbersAndPunctuation = 2,
    UIKeyboardTypeURL = 3,
    UIKeyboardTypeNumberPad = 4,
    UIKeyboardTypePhonePad = 5,
    UIKeyboardTypeEmailAddress = 7,
    UIKeyboardTypeDecimalPad = 8,
};
enum UITextAutocapitalizationType : NSInteger {
    UITextAutocapitalizationTypeNone = 0,
    UITextAutocapitalizationTypeWords = 1,
    UITextAutocapitalizationTypeSentences = 2,
    UITextAutocapitalizationTypeAllCharacters = 3,
};
enum UITextAutocorrectionType : NSInteger {
    UITextAutocorrectionTypeDefault = 0,
    UITextAutocorrectionTypeNo = 1,
    UITextAutocorrectionTypeYes = 2,
};
enum UITextBorderStyle : NSInteger { UITextBorderStyleNone = 0, UITextBorderStyleRoundedRect = 3 };

class UITextField;

class UITextFieldDelegate {
public:
    virtual ~UITextFieldDelegate() = default;
    // Return was pressed; the platform's default does nothing more.
    virtual bool textFieldShouldReturn(const std::shared_ptr<UITextField>&) { return true; }
    virtual void textFieldDidBeginEditing(const std::shared_ptr<UITextField>&) {}
    virtual void textFieldDidEndEditing(const std::shared_ptr<UITextField>&) {}
};

class UITextField : public UIControl {
public:
    NS_CLASS(UITextField)

    const std::string& text() const { return _text; }
    void setText(std::string text) { _text = std::move(text); }
    const std::string& placeholder() const { return _placeholder; }
    void setPlaceholder(std::string placeholder) { _placeholder = std::move(placeholder); }
    // What the field shows of its text: the text, or a bullet per character when secure.
    std::string displayedText() const;
    bool isSecureTextEntry() const { return _secure; }
    void setSecureTextEntry(bool secure) { _secure = secure; }
    UITextBorderStyle borderStyle() const { return _borderStyle; }
    void setBorderStyle(UITextBorderStyle style) { _borderStyle = style; }
    NSTextAlignment textAlignment() const { return _alignment; }
    void setTextAlignment(NSTextAlignment alignment) { _alignment = alignment; }

    std::shared_ptr<UITextFieldDelegate> delegate() const { return _delegate.lock(); }
    void setDelegate(const std::shared_ptr<UITextFieldDelegate>& delegate) { _delegate = delegate; }
    UIKeyboardType keyboardType() const { return _keyboardType; }
    void setKeyboardType(UIKeyboardType type) { _keyboardType = type; }
    UITextAutocapitalizationType autocapitalizationType() const { return _autocapitalization; }
    void setAutocapitalizationType(UITextAutocapitalizationType type) { _autocapitalization = type; }
    UITextAutocorrectionType autocorrectionType() const { return _autocorrection; }
    void setAutocorrectionType(UITextAutocorrectionType type) { _autocorrection = type; }
    const std::shared_ptr<UIView>& inputAccessoryView() const { return _inputAccessoryView; }
    void setInputAccessoryView(std::shared_ptr<UIView> view) { _inputAccessoryView = std::move(view); }

    // Taking and giving up the keyboard tell the delegate that editing began or ended.
    bool isFirstResponder() const { return _firstResponder; }
    bool becomeFirstResponder();
    bool resignFirstResponder();

    // Whether the keyboard this device opens for `type` has a key for `c`. A phone's number pad
    // offers digits only, its phone pad digits and "+*#". A pad has no such pads: the number and
    // phone kinds open its full keyboard on the numbers page: digits, this punctuation and space.
    static bool keyboardOffers(UIKeyboardType type, char c);
    static constexpr const char* kPadNumbersPage = "-/:;()$&@\".,?!' ";

    // A user's typing: each character is inserted at the end, unless the keyboard has no key for
    // it (a paste would still put it in; see pasteText). Returns the number of characters typed.
    std::size_t typeText(const std::string& characters);
    // A paste: any text, unfiltered (the delegate implements no filter).
    void pasteText(const std::string& characters) { _text += characters; }
    void deleteBackward();
    // A user's Return key: asks the delegate, whose answer is returned.
    bool pressReturn();

private:
    std::string _text, _placeholder;
    bool _secure = false;
    UITextBorderStyle _borderStyle = UITextBorderStyleNone;
    NSTextAlignment _alignment = NSTextAlignmentLeft;
    std::weak_ptr<UITextFieldDelegate> _delegate;
    UIKeyboardType _keyboardType = UIKeyboardTypeDefault;
    UITextAutocapitalizationType _autocapitalization = UITextAutocapitalizationTypeSentences;
    UITextAutocorrectionType _autocorrection = UITextAutocorrectionTypeDefault;
    std::shared_ptr<UIView> _inputAccessoryView;
    bool _firstResponder = false;
};
