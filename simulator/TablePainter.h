#pragma once
// Draws a grouped table as the Settings application shows it: the grey background, each
// section's custom header view or header title, white cells with their views, the selection
// highlight, disclosure indicators and checkmarks, hairline separators, and the footers.
#include <functional>

#include "host/UIKit/UITableView.h"
#include "simulator/Canvas.h"

class UISwitch;

namespace sim {

class TablePainter {
public:
    TablePainter(Canvas& canvas, UIColor tint) : _canvas(canvas), _tint(tint) {}

    // Draws `table` into `viewport` (screen points), scrolled by its content offset.
    void draw(const UITableView& table, CGRect viewport);

    // How much grey selection a row shows (0..1) besides its own selected state: held down,
    // fading out. And where switches' thumbs are (0 off, 1 on). Both optional.
    void setSelection(std::function<double(const UITableViewCell&)> selection) { _selection = std::move(selection); }
    void setSwitchPosition(std::function<double(const UISwitch&)> position) { _switchPosition = std::move(position); }

    static UIColor groupedBackgroundColor() { return UIColor::colorWithRed(239 / 255.0, 239 / 255.0, 244 / 255.0, 1); }
    static UIColor separatorColor() { return UIColor::colorWithRed(200 / 255.0, 199 / 255.0, 204 / 255.0, 1); }
    static UIColor sectionTextColor() { return UIColor::colorWithRed(109 / 255.0, 109 / 255.0, 114 / 255.0, 1); }
    static UIColor selectedCellColor() { return UIColor::colorWithRed(217 / 255.0, 217 / 255.0, 217 / 255.0, 1); }
    static constexpr CGFloat kSeparatorInset = 15;

private:
    void drawRows(const UITableView::Section& section, CGFloat width);
    void drawAccessory(const UITableViewCell& cell, CGRect rect);
    void drawHeader(const UITableView::Section& section);
    void drawFooter(const UITableView::Section& section);
    // Reflects what is drawn next across `rect` when the layout runs right to left.
    void mirrorForLayoutDirection(CGRect rect);
    static NSTextAlignment sectionTextAlignment();

    Canvas& _canvas;
    UIColor _tint;
    CGFloat _visibleTop = 0, _visibleBottom = 0;  // content coordinates
    std::function<double(const UITableViewCell&)> _selection;
    std::function<double(const UISwitch&)> _switchPosition;
};

}  // namespace sim
