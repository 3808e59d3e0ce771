#pragma once
// The host's cell for a slider row: a UISlider across the row with the row's "min" and "max";
// dragging it stores the value. setValue: moves the slider at once. With "showValue" the value
// is written at the right end of the row.
#include <memory>

#include "host/Preferences/PSTableCell.h"
#include "host/UIKit/UISlider.h"

class PSSliderTableCell : public PSTableCell {
public:
    static std::shared_ptr<PSSliderTableCell> initWithStyle(NSInteger style, const std::string& reuseIdentifier,
        const std::shared_ptr<PSSpecifier>& specifier);
    NS_CLASS(PSSliderTableCell)

    // control: the cell's slider.
    const std::shared_ptr<UISlider>& control() const { return _slider; }
    // The value shown at the row's right end when the row has "showValue"; nullptr otherwise.
    const std::shared_ptr<UILabel>& valueLabel() const { return _valueLabel; }
    void setValue(const PlistValue& value) override;
    void refreshCellContentsWithSpecifier(const std::shared_ptr<PSSpecifier>& specifier) override;
    void setFrame(CGRect frame) override;  // the slider spans the row

protected:
    // For subclasses created with make_shared: the base initialiser's work.
    bool initialiseSlider(NSInteger style, const std::string& reuseIdentifier, const std::shared_ptr<PSSpecifier>& specifier);

private:
    void updateValueLabel();

    std::shared_ptr<UISlider> _slider;
    std::shared_ptr<UILabel> _valueLabel;
};
