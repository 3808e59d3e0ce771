#include "host/Preferences/PSSwitchTableCell.h"

std::shared_ptr<PSSwitchTableCell> PSSwitchTableCell::initWithStyle(NSInteger style, const std::string& reuseIdentifier,
    const std::shared_ptr<PSSpecifier>& specifier) {
    auto cell = std::make_shared<PSSwitchTableCell>();
    if (!cell->initialiseBase(style, reuseIdentifier, specifier)) return nullptr;
    cell->_switch = std::make_shared<UISwitch>();
    cell->_switch->setFrame(CGRectMake(0, 0, 51, 31));
    cell->setAccessoryView(cell->_switch);
    cell->exposeSelector("controlChanged:", [weak = std::weak_ptr<PSSwitchTableCell>(cell)](const id&) {
        if (auto self = weak.lock()) self->controlChanged(PlistValue(self->_switch->isOn()));
    });
    cell->_switch->addTarget(cell, "controlChanged:", UIControlEventValueChanged);
    return cell;
}

void PSSwitchTableCell::setValue(const PlistValue& value) {
    PSTableCell::setValue(value);
    _switch->setOn(value.boolValue());
}
