#include "host/Preferences/PSSegmentTableCell.h"

#include <algorithm>

namespace {
constexpr CGFloat kInset = 15;

std::vector<std::string> titlesOf(const std::shared_ptr<PSSpecifier>& specifier) {
    std::vector<std::string> titles;
    if (specifier && specifier->titleDictionary())
        for (const auto& [value, title] : *specifier->titleDictionary()) titles.push_back(title);
    return titles;
}

bool sameValue(const PlistValue& a, const PlistValue& b) {
    // A stored number may come back as another numeric type (1 vs 1.0).
    return a == b || (a.number() && b.number() && *a.number() == *b.number());
}
}  // namespace

std::shared_ptr<PSSegmentTableCell> PSSegmentTableCell::initWithStyle(NSInteger style, const std::string& reuseIdentifier,
    const std::shared_ptr<PSSpecifier>& specifier) {
    auto cell = std::make_shared<PSSegmentTableCell>();
    if (!cell->initialiseBase(style, reuseIdentifier, specifier)) return nullptr;
    cell->_control = UISegmentedControl::initWithItems(titlesOf(specifier));
    cell->contentView()->addSubview(cell->_control);
    cell->textLabel()->setHidden(true);
    cell->setSelectionStyle(UITableViewCellSelectionStyleNone);
    cell->exposeSelector("segmentChosen:", [weak = std::weak_ptr<PSSegmentTableCell>(cell)](const id&) {
        if (auto self = weak.lock()) self->segmentChosen();
    });
    cell->_control->addTarget(cell, "segmentChosen:", UIControlEventValueChanged);
    cell->setFrame(cell->frame());
    return cell;
}

void PSSegmentTableCell::setValue(const PlistValue& value) {
    PSTableCell::setValue(value);
    NSInteger index = UISegmentedControlNoSegment;
    if (specifier() && specifier()->titleDictionary()) {
        const auto& titles = *specifier()->titleDictionary();
        const auto found = std::find_if(titles.begin(), titles.end(), [&](const auto& entry) { return sameValue(entry.first, value); });
        if (found != titles.end()) index = NSInteger(found - titles.begin());
    }
    _control->setSelectedSegmentIndex(index);
}

void PSSegmentTableCell::refreshCellContentsWithSpecifier(const std::shared_ptr<PSSpecifier>& specifier) {
    PSTableCell::refreshCellContentsWithSpecifier(specifier);
    if (specifier) _control->setTitles(titlesOf(specifier));
}

void PSSegmentTableCell::setFrame(CGRect frame) {
    PSTableCell::setFrame(frame);
    if (!_control) return;
    const CGFloat height = UISegmentedControl::kHeight;
    _control->setFrame(CGRectMake(kInset, std::max<CGFloat>(0, (frame.size.height - height) / 2),
        std::max<CGFloat>(0, contentView()->frame().width() - 2 * kInset), height));
}

void PSSegmentTableCell::segmentChosen() {
    const NSInteger index = _control->selectedSegmentIndex();
    if (!specifier() || !specifier()->titleDictionary()) return;
    const auto& titles = *specifier()->titleDictionary();
    if (index < 0 || index >= NSInteger(titles.size())) return;
    controlChanged(titles[std::size_t(index)].first);
}
