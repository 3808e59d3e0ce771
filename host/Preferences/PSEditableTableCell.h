#pragma once
// The host's cell for a text row (plain or secure): the row's name on the left, a text field on
// the right with the stored text, or the row's "placeholder" while empty. The row's "keyboard"
// ("numbers", "phone") picks the keyboard, "autoCaps" ("sentences", "words", "all") and
// "autoCorrection" are kept on the field. The cell is the field's delegate: the text is stored
// when editing ends (Return, or the keyboard leaving), as the platform's cell does, not per key.
#include <memory>

#include "host/Preferences/PSTableCell.h"
#include "host/UIKit/UITextField.h"

class PSEditableTableCell : public PSTableCell, public UITextFieldDelegate {
public:
    static std::shared_ptr<PSEditableTableCell> initWithStyle(NSInteger style, const std::string& reuseIdentifier,
        const std::shared_ptr<PSSpecifier>& specifier);
    NS_CLASS(PSEditableTableCell)

    const std::shared_ptr<UITextField>& textField() const { return _field; }
    // Shows the value's text (numbers as written); editing in progress is not overwritten.
    void setValue(const PlistValue& value) override;
    void refreshCellContentsWithSpecifier(const std::shared_ptr<PSSpecifier>& specifier) override;
    void setFrame(CGRect frame) override;  // the field takes the row right of the name

    // UITextFieldDelegate: Return ends editing; the end of editing stores the text.
    bool textFieldShouldReturn(const std::shared_ptr<UITextField>& field) override;
    void textFieldDidEndEditing(const std::shared_ptr<UITextField>& field) override;

    // The keyboard a row asks for by its "keyboard" value.
    static UIKeyboardType keyboardTypeForName(const std::string& name);

private:
    void configureField(const PSSpecifier& specifier);
    void layoutField();

    std::shared_ptr<UITextField> _field;
    std::string _shownText;  // the stored text the field was last given
};
