#pragma once
// The host's cell for a spinner row: the row's name, if any, and a grey activity indicator,
// spinning, at the row's right end. Not selectable.
#include <memory>

#include "host/Preferences/PSTableCell.h"
#include "host/UIKit/UIActivityIndicatorView.h"

class PSSpinnerTableCell : public PSTableCell {
public:
    static std::shared_ptr<PSSpinnerTableCell> initWithStyle(NSInteger style, const std::string& reuseIdentifier,
        const std::shared_ptr<PSSpecifier>& specifier);
    NS_CLASS(PSSpinnerTableCell)

    const std::shared_ptr<UIActivityIndicatorView>& spinner() const { return _spinner; }

private:
    std::shared_ptr<UIActivityIndicatorView> _spinner;
};
