#pragma once
// The host's cell for a row. It shows the row's name in its title label and, for the row types
// that have one, the stored value. Bundle cells derive from it (or from PSSliderTableCell).
#include <memory>
#include <string>

#include "host/Foundation/PlistObject.h"
#include "host/Preferences/PSSpecifier.h"
#include "host/UIKit/UITableViewCell.h"

class PSTableCell : public UITableViewCell {
public:
    // initWithStyle:reuseIdentifier:specifier: — the host's creation call for a row's cell.
    // nullptr when the host was told to fail the next "PSTableCell" initialiser.
    static std::shared_ptr<PSTableCell> initWithStyle(NSInteger style, const std::string& reuseIdentifier,
        const std::shared_ptr<PSSpecifier>& specifier);
    // initWithStyle:reuseIdentifier: — a cell without a row.
    static std::shared_ptr<PSTableCell> initWithStyle(NSInteger style, const std::string& reuseIdentifier);
    // initWithFrame: — a cell used as a plain view.
    static std::shared_ptr<PSTableCell> initWithFrame(CGRect frame);

    NS_CLASS(PSTableCell)

    const std::shared_ptr<PSSpecifier>& specifier() const { return _specifier; }
    void setSpecifier(std::shared_ptr<PSSpecifier> specifier) { _specifier = std::move(specifier); }
    const std::shared_ptr<UILabel>& titleLabel() const { return textLabel(); }
    PSCellType type() const { return _specifier ? _specifier->cellType() : PSStaticTextCell; }

    // The value the cell shows (a switch's state, a slider's position, a list row's title).
    virtual void setValue(const PlistValue& value);
    const PlistValue& value() const { return _value; }
    // Fills the title, accessory and value from the row (the host calls it after creation).
    virtual void refreshCellContentsWithSpecifier(const std::shared_ptr<PSSpecifier>& specifier);

protected:
    // The work of the base initialisers, for subclasses made with make_shared. Returns false when
    // the host was told to fail this class's next base initialiser.
    bool initialiseBase(NSInteger style, const std::string& reuseIdentifier, const std::shared_ptr<PSSpecifier>& specifier);
    // A control changed by the user: the row's target stores the new value.
    void controlChanged(const PlistValue& newValue);

private:
    std::shared_ptr<PSSpecifier> _specifier;
    PlistValue _value;
};
