#include "simulator/TablePainter.h"

#include <glib.h>

#include <algorithm>

#include "host/Runtime/CHandle.h"
#include "host/UIKit/LayoutDirection.h"
#include "simulator/ViewPainter.h"

namespace sim {
namespace {

constexpr CGFloat kSectionFontSize = 13;
// Views that hang out of their rect (a logo taller than its header) are still drawn when
// their rect is this close to the visible part.
constexpr CGFloat kOverhang = 120;

UIColor mix(const UIColor& a, const UIColor& b, double t) {
    return {a.red + (b.red - a.red) * t, a.green + (b.green - a.green) * t, a.blue + (b.blue - a.blue) * t,
        a.alpha + (b.alpha - a.alpha) * t};
}

std::string uppercase(const std::string& text) {
    const host::CHandle<gchar, g_free> upper(g_utf8_strup(text.c_str(), static_cast<gssize>(text.size())));
    return upper.get();
}

}  // namespace

void TablePainter::draw(const UITableView& table, CGRect viewport) {
    cairo_t* cr = _canvas.cr();
    cairo_save(cr);
    cairo_rectangle(cr, viewport.minX(), viewport.minY(), viewport.width(), viewport.height());
    cairo_clip(cr);
    _canvas.fillRect(viewport, table.backgroundColor().value_or(groupedBackgroundColor()));
    cairo_translate(cr, viewport.minX(), viewport.minY() - table.contentOffset());
    _visibleTop = table.contentOffset();
    _visibleBottom = table.contentOffset() + viewport.height();
    // Header views lie over the cells, as the platform stacks them.
    for (const auto& section : table.sections()) drawRows(section, viewport.width());
    for (const auto& section : table.sections()) {
        drawHeader(section);
        drawFooter(section);
    }
    cairo_restore(cr);
}

void TablePainter::drawRows(const UITableView::Section& section, CGFloat width) {
    if (section.rows.empty()) return;
    ViewPainter views(_canvas, _tint);
    if (_switchPosition) views.setSwitchPosition(_switchPosition);
    for (std::size_t i = 0; i < section.rows.size(); ++i) {
        const auto& row = section.rows[i];
        const CGRect rect = row.rect;
        if (rect.maxY() < _visibleTop || rect.minY() > _visibleBottom) continue;
        const auto& cell = row.cell;
        UIColor background = UIColor::whiteColor();
        if (cell && cell->backgroundColor()) background = *cell->backgroundColor();
        if (cell && cell->selectionStyle() != UITableViewCellSelectionStyleNone) {
            const double amount = cell->isSelected() ? 1 : _selection ? std::clamp(_selection(*cell), 0.0, 1.0) : 0;
            if (amount >= 1) background = selectedCellColor();
            else if (amount > 0) background = mix(background, selectedCellColor(), amount);
        }
        _canvas.fillRect(rect, background);
        if (cell) {
            cairo_save(_canvas.cr());
            // The cell's frame is its rect, so it is drawn at the table's content origin.
            views.draw(*cell);
            cairo_restore(_canvas.cr());
            drawAccessory(*cell, rect);
        }
        const bool last = i + 1 == section.rows.size();
        const CGFloat line = rect.maxY() - 1 / _canvas.scale();
        const CGFloat inset = last ? 0 : kSeparatorInset;
        if (host::LayoutDirection::isRightToLeft()) _canvas.hairline(0, width - inset, line, separatorColor());
        else _canvas.hairline(inset, width, line, separatorColor());
        if (i == 0) _canvas.hairline(0, width, rect.minY(), separatorColor());
    }
}

void TablePainter::drawAccessory(const UITableViewCell& cell, CGRect rect) {
    if (cell.accessoryView()) return;  // drawn with the cell's views
    cairo_t* cr = _canvas.cr();
    cairo_save(cr);
    mirrorForLayoutDirection(rect);
    const CGFloat midY = rect.midY();
    switch (cell.accessoryType()) {
        case UITableViewCellAccessoryDisclosureIndicator: {
            const CGFloat x = rect.maxX() - kSeparatorInset - 8;
            _canvas.setColor(UIColor::colorWithRed(199 / 255.0, 199 / 255.0, 204 / 255.0, 1));
            cairo_set_line_width(cr, 2);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
            cairo_move_to(cr, x, midY - 6.5);
            cairo_line_to(cr, x + 6.5, midY);
            cairo_line_to(cr, x, midY + 6.5);
            cairo_stroke(cr);
            break;
        }
        case UITableViewCellAccessoryCheckmark: {
            const CGFloat x = rect.maxX() - kSeparatorInset - 14;
            _canvas.setColor(_tint);
            cairo_set_line_width(cr, 2);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
            cairo_move_to(cr, x, midY);
            cairo_line_to(cr, x + 4.5, midY + 4.5);
            cairo_line_to(cr, x + 13, midY - 5.5);
            cairo_stroke(cr);
            break;
        }
        default:
            break;
    }
    cairo_restore(cr);
}

void TablePainter::mirrorForLayoutDirection(CGRect rect) {
    // A right-to-left layout draws the same glyph reflected: on the left, pointing left.
    if (!host::LayoutDirection::isRightToLeft()) return;
    cairo_translate(_canvas.cr(), rect.minX() + rect.maxX(), 0);
    cairo_scale(_canvas.cr(), -1, 1);
}

NSTextAlignment TablePainter::sectionTextAlignment() {
    return host::LayoutDirection::isRightToLeft() ? NSTextAlignmentRight : NSTextAlignmentLeft;
}

void TablePainter::drawHeader(const UITableView::Section& section) {
    const CGRect rect = section.headerRect;
    if (rect.maxY() + kOverhang < _visibleTop || rect.minY() - kOverhang > _visibleBottom) return;
    if (section.headerView) {
        ViewPainter views(_canvas, _tint);
        views.draw(*section.headerView);
        return;
    }
    if (!section.headerTitle || section.headerTitle->empty()) return;
    Canvas::TextStyle style;
    style.font = UIFont::systemFontOfSize(kSectionFontSize);
    style.color = sectionTextColor();
    style.alignment = sectionTextAlignment();
    const std::string text = uppercase(*section.headerTitle);
    const CGFloat height = _canvas.measureText(text, style.font).height;
    _canvas.drawText(text, CGRectMake(kSeparatorInset, rect.maxY() - 7 - height, rect.width() - 2 * kSeparatorInset, height),
        style);
}

void TablePainter::drawFooter(const UITableView::Section& section) {
    const CGRect rect = section.footerRect;
    if (!section.footerTitle || section.footerTitle->empty()) return;
    if (rect.maxY() < _visibleTop || rect.minY() > _visibleBottom) return;
    Canvas::TextStyle style;
    style.font = UIFont::systemFontOfSize(UITableView::kFooterFontSize);
    style.color = sectionTextColor();
    style.wrap = true;
    style.centreVertically = false;
    style.alignment = sectionTextAlignment();
    _canvas.drawText(*section.footerTitle,
        CGRectMake(kSeparatorInset, rect.minY() + 7, rect.width() - 2 * kSeparatorInset, rect.height() - 7), style);
}

}  // namespace sim
