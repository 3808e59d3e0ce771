#include "host/Preferences/PSSpinnerTableCell.h"

std::shared_ptr<PSSpinnerTableCell> PSSpinnerTableCell::initWithStyle(NSInteger style, const std::string& reuseIdentifier,
    const std::shared_ptr<PSSpecifier>& specifier) {
    auto cell = std::make_shared<PSSpinnerTableCell>();
    if (!cell->initialiseBase(style, reuseIdentifier, specifier)) return nullptr;
    cell->_spinner = UIActivityIndicatorView::initWithActivityIndicatorStyle(UIActivityIndicatorViewStyleGray);
    cell->_spinner->startAnimating();
    cell->setAccessoryView(cell->_spinner);
    cell->setSelectionStyle(UITableViewCellSelectionStyleNone);
    return cell;
}
