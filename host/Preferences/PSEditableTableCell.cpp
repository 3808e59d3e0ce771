#include "host/Preferences/PSEditableTableCell.h"

#include <algorithm>

#include "host/UIKit/TextMetrics.h"

namespace {
constexpr CGFloat kInset = 15;
constexpr CGFloat kGap = 15;            // between the name and the field
constexpr CGFloat kMinimumField = 80;   // a long name is cut before the field is

UITextAutocapitalizationType autocapitalizationForName(const std::string& name) {
    if (name == "words") return UITextAutocapitalizationTypeWords;
    if (name == "all") return UITextAutocapitalizationTypeAllCharacters;
    if (name == "sentences") return UITextAutocapitalizationTypeSentences;
    return UITextAutocapitalizationTypeNone;
}
}  // namespace

std::shared_ptr<PSEditableTableCell> PSEditableTableCell::initWithStyle(NSInteger style, const std::string& reuseIdentifier,
    const std::shared_ptr<PSSpecifier>& specifier) {
    auto cell = std::make_shared<PSEditableTableCell>();
    if (!cell->initialiseBase(style, reuseIdentifier, specifier)) return nullptr;
    cell->_field = std::make_shared<UITextField>();
    cell->_field->setDelegate(cell);
    cell->contentView()->addSubview(cell->_field);
    cell->setSelectionStyle(UITableViewCellSelectionStyleNone);
    if (specifier) cell->configureField(*specifier);
    cell->setFrame(cell->frame());
    return cell;
}

UIKeyboardType PSEditableTableCell::keyboardTypeForName(const std::string& name) {
    if (name == "numbers") return UIKeyboardTypeNumbersAndPunctuation;
    if (name == "phone") return UIKeyboardTypePhonePad;
    return UIKeyboardTypeDefault;
}

void PSEditableTableCell::configureField(const PSSpecifier& specifier) {
    _field->setSecureTextEntry(specifier.cellType() == PSSecureEditTextCell);
    _field->setPlaceholder(specifier.propertyForKey("placeholder").text().value_or(""));
    _field->setKeyboardType(keyboardTypeForName(specifier.propertyForKey("keyboard").text().value_or("")));
    if (auto caps = specifier.propertyForKey("autoCaps").text()) _field->setAutocapitalizationType(autocapitalizationForName(*caps));
    const auto& correction = specifier.propertyForKey("autoCorrection");
    if (!correction.isNil())
        _field->setAutocorrectionType(correction.boolValue() ? UITextAutocorrectionTypeYes : UITextAutocorrectionTypeNo);
}

void PSEditableTableCell::setValue(const PlistValue& value) {
    PSTableCell::setValue(value);
    if (_field->isFirstResponder()) return;
    if (auto text = value.text()) _shownText = *text;
    else if (value.number() && !value.isBool()) _shownText = value.description();
    else _shownText.clear();
    _field->setText(_shownText);
}

void PSEditableTableCell::refreshCellContentsWithSpecifier(const std::shared_ptr<PSSpecifier>& specifier) {
    PSTableCell::refreshCellContentsWithSpecifier(specifier);
    if (specifier) configureField(*specifier);
    layoutField();
}

void PSEditableTableCell::setFrame(CGRect frame) {
    PSTableCell::setFrame(frame);
    layoutField();
}

void PSEditableTableCell::layoutField() {
    if (!_field) return;
    const CGFloat width = contentView()->frame().width(), height = frame().height();
    const auto& name = textLabel()->text();
    CGFloat fieldX = kInset;
    if (name && !name->empty()) {
        const CGFloat nameWidth = host::TextMetrics::sizeOfText(*name, textLabel()->font()).width;
        fieldX = std::min(kInset + nameWidth + kGap, std::max(kInset, width - kInset - kMinimumField));
        textLabel()->setFrame(CGRectMake(kInset, 0, std::max<CGFloat>(0, fieldX - kGap - kInset), height));
    }
    _field->setFrame(CGRectMake(fieldX, 0, std::max<CGFloat>(0, width - kInset - fieldX), height));
}

bool PSEditableTableCell::textFieldShouldReturn(const std::shared_ptr<UITextField>& field) {
    if (field) field->resignFirstResponder();
    return true;
}

void PSEditableTableCell::textFieldDidEndEditing(const std::shared_ptr<UITextField>& field) {
    // Leaving a field unchanged stores nothing (and posts nothing).
    if (field != _field || _field->text() == _shownText) return;
    _shownText = _field->text();
    controlChanged(PlistValue(_shownText));
}
