#include "host/UIKit/UITableView.h"

#include <algorithm>

#include "host/UIKit/TextMetrics.h"

namespace {
constexpr CGFloat kFirstHeaderHeight = 35;
constexpr CGFloat kHeaderHeight = 18;
constexpr CGFloat kTitledHeaderHeight = 44;
constexpr CGFloat kFooterPadding = 14;
constexpr CGFloat kTextInset = 15;
}  // namespace

void UITableView::reloadData() {
    auto source = _dataSource.lock();
    auto delegate = _delegate.lock();
    auto self = std::static_pointer_cast<UITableView>(shared_from_this());
    for (const auto& section : _sections) {
        if (section.headerView) section.headerView->removeFromSuperview();
        for (const auto& row : section.rows)
            if (row.cell) row.cell->removeFromSuperview();
    }
    _sections.clear();
    CGFloat y = 0;
    const CGFloat width = frame().size.width;
    const NSInteger count = source ? source->numberOfSectionsInTableView(self) : 0;
    for (NSInteger s = 0; s < count; ++s) {
        Section section;
        section.headerView = delegate ? delegate->viewForHeaderInSection(self, s) : nullptr;
        section.headerTitle = source->titleForHeaderInSection(self, s);
        CGFloat headerHeight = delegate ? delegate->heightForHeaderInSection(self, s) : -1;
        if (headerHeight < 0)
            headerHeight = section.headerTitle ? kTitledHeaderHeight : (s == 0 ? kFirstHeaderHeight : kHeaderHeight);
        section.headerRect = CGRectMake(0, y, width, headerHeight);
        if (section.headerView) {
            section.headerView->setFrame(section.headerRect);
            addSubview(section.headerView);
            section.headerView->layoutIfNeeded();
        }
        y += headerHeight;
        const NSInteger rows = source->numberOfRowsInSection(self, s);
        for (NSInteger r = 0; r < rows; ++r) {
            const NSIndexPath path{s, r};
            auto cell = source->cellForRowAtIndexPath(self, path);
            CGFloat h = delegate ? delegate->heightForRowAtIndexPath(self, path) : -1;
            if (h < 0) h = kDefaultRowHeight;
            const CGRect rect = CGRectMake(0, y, width, h);
            if (cell) {
                cell->setFrame(rect);
                addSubview(cell);
                cell->layoutIfNeeded();
            }
            section.rows.push_back({path, cell, rect});
            y += h;
        }
        section.footerTitle = source->titleForFooterInSection(self, s);
        CGFloat footerHeight = kHeaderHeight;
        if (section.footerTitle && !section.footerTitle->empty()) {
            const CGSize text = host::TextMetrics::sizeOfText(*section.footerTitle,
                UIFont::systemFontOfSize(kFooterFontSize), 0, std::max<CGFloat>(1, width - 2 * kTextInset));
            footerHeight = text.height + kFooterPadding;
        }
        section.footerRect = CGRectMake(0, y, width, footerHeight);
        y += footerHeight;
        _sections.push_back(std::move(section));
    }
    _contentHeight = y;
    setContentOffset(_contentOffset);
}

void UITableView::setContentOffset(CGFloat offset) {
    const CGFloat maxOffset = std::max<CGFloat>(0, _contentHeight - frame().size.height);
    _contentOffset = std::clamp<CGFloat>(offset, 0, maxOffset);
}

std::optional<NSIndexPath> UITableView::indexPathForRowAtPoint(CGPoint point) const {
    for (const auto& section : _sections)
        for (const auto& row : section.rows)
            if (row.rect.contains(point)) return row.indexPath;
    return std::nullopt;
}

std::shared_ptr<UITableViewCell> UITableView::cellForRowAtIndexPath(NSIndexPath indexPath) const {
    if (indexPath.section < 0 || indexPath.section >= NSInteger(_sections.size())) return nullptr;
    const auto& rows = _sections[indexPath.section].rows;
    if (indexPath.row < 0 || indexPath.row >= NSInteger(rows.size())) return nullptr;
    return rows[indexPath.row].cell;
}

void UITableView::selectRowAtIndexPath(NSIndexPath indexPath) {
    auto cell = cellForRowAtIndexPath(indexPath);
    if (!cell) return;
    auto self = std::static_pointer_cast<UITableView>(shared_from_this());
    auto keep = cell;
    cell->setSelected(true, false);
    if (auto delegate = _delegate.lock()) delegate->didSelectRowAtIndexPath(self, indexPath);
}

void UITableView::deselectRowAtIndexPath(NSIndexPath indexPath, bool animated) {
    if (auto cell = cellForRowAtIndexPath(indexPath)) cell->setSelected(false, animated);
}
