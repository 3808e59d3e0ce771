#pragma once
// The host's cell for a segmented row: a UISegmentedControl filling the row, one segment per
// title of the row ("validTitles"), the segment of the stored value selected. Choosing a segment
// stores its value ("validValues") through the row's page. The row's name is not shown.
#include <memory>

#include "host/Preferences/PSTableCell.h"
#include "host/UIKit/UISegmentedControl.h"

class PSSegmentTableCell : public PSTableCell {
public:
    static std::shared_ptr<PSSegmentTableCell> initWithStyle(NSInteger style, const std::string& reuseIdentifier,
        const std::shared_ptr<PSSpecifier>& specifier);
    NS_CLASS(PSSegmentTableCell)

    const std::shared_ptr<UISegmentedControl>& control() const { return _control; }
    // Selects the segment whose value is `value`; none when no segment has it.
    void setValue(const PlistValue& value) override;
    void refreshCellContentsWithSpecifier(const std::shared_ptr<PSSpecifier>& specifier) override;
    void setFrame(CGRect frame) override;  // the control spans the row

private:
    void segmentChosen();

    std::shared_ptr<UISegmentedControl> _control;
};
