#include "host/Preferences/PSTableCell.h"

#include "host/Preferences/PSListController.h"
#include "host/Runtime/FailureInjection.h"

std::shared_ptr<PSTableCell> PSTableCell::initWithStyle(NSInteger style, const std::string& reuseIdentifier,
    const std::shared_ptr<PSSpecifier>& specifier) {
    auto cell = std::make_shared<PSTableCell>();
    if (!cell->initialiseBase(style, reuseIdentifier, specifier)) return nullptr;
    return cell;
}

std::shared_ptr<PSTableCell> PSTableCell::initWithStyle(NSInteger style, const std::string& reuseIdentifier) {
    return initWithStyle(style, reuseIdentifier, nullptr);
}

std::shared_ptr<PSTableCell> PSTableCell::initWithFrame(CGRect frame) {
    auto cell = std::make_shared<PSTableCell>();
    if (!cell->initialiseBase(0, "", nullptr)) return nullptr;
    cell->setFrame(frame);
    return cell;
}

bool PSTableCell::initialiseBase(NSInteger style, const std::string& reuseIdentifier,
    const std::shared_ptr<PSSpecifier>& specifier) {
    if (host::FailureInjection::shouldFail("PSTableCell")) return false;
    configure(static_cast<UITableViewCellStyle>(style), reuseIdentifier);
    _specifier = specifier;
    return true;
}

void PSTableCell::setValue(const PlistValue& value) {
    _value = value;
    if (type() == PSLinkListCell && _specifier) {
        detailTextLabel()->setText(_specifier->titleForValue(value).value_or(""));
    }
}

void PSTableCell::refreshCellContentsWithSpecifier(const std::shared_ptr<PSSpecifier>& specifier) {
    if (!specifier) return;
    textLabel()->setText(specifier->name());
    if (specifier->iconImage()) setImage(specifier->iconImage());
    switch (specifier->cellType()) {
        case PSLinkCell:
        case PSLinkListCell:
            if (!specifier->detailControllerClassName().empty()) setAccessoryType(UITableViewCellAccessoryDisclosureIndicator);
            break;
        case PSButtonCell:
            textLabel()->setTextColor(UIColor::systemBlueColor());
            break;
        case PSStaticTextCell:
            // Text only: a tap does not highlight it, and it leads nowhere.
            setSelectionStyle(UITableViewCellSelectionStyleNone);
            setAccessoryType(UITableViewCellAccessoryNone);
            break;
        default:
            break;
    }
}

void PSTableCell::controlChanged(const PlistValue& newValue) {
    _value = newValue;
    if (!_specifier) return;
    if (auto page = std::dynamic_pointer_cast<PSListController>(_specifier->target()))
        page->setPreferenceValue(newValue, _specifier);
}
