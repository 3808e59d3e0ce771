#pragma once
// The host's cell for a switch row: a UISwitch as accessory; toggling it stores the value.
#include <memory>

#include "host/Preferences/PSTableCell.h"
#include "host/UIKit/UISwitch.h"

class PSSwitchTableCell : public PSTableCell {
public:
    static std::shared_ptr<PSSwitchTableCell> initWithStyle(NSInteger style, const std::string& reuseIdentifier,
        const std::shared_ptr<PSSpecifier>& specifier);
    NS_CLASS(PSSwitchTableCell)

    const std::shared_ptr<UISwitch>& control() const { return _switch; }
    void setValue(const PlistValue& value) override;

private:
    std::shared_ptr<UISwitch> _switch;
};
