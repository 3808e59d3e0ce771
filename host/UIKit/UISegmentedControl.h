#pragma once
// A segmented control: a row of equally wide segments with titles, at most one selected. A user's
// tap on a segment selects it and sends value-changed.
#include <string>
#include <vector>

#include "host/UIKit/UIControl.h"

inline constexpr NSInteger UISegmentedControlNoSegment = -1;

class UISegmentedControl : public UIControl {
public:
    NS_CLASS(UISegmentedControl)

    // initWithItems: — one segment per title, none selected.
    static std::shared_ptr<UISegmentedControl> initWithItems(std::vector<std::string> titles);

    NSInteger numberOfSegments() const { return NSInteger(_titles.size()); }
    const std::vector<std::string>& titles() const { return _titles; }
    std::string titleForSegmentAtIndex(NSInteger index) const;
    void setTitles(std::vector<std::string> titles);

    NSInteger selectedSegmentIndex() const { return _selected; }
    // Out-of-range indexes select nothing (UISegmentedControlNoSegment).
    void setSelectedSegmentIndex(NSInteger index);

    // The segment under `point` (in the control's bounds); UISegmentedControlNoSegment outside.
    NSInteger segmentAtPoint(CGPoint point) const;
    // The rect of a segment in the control's bounds.
    CGRect segmentRect(NSInteger index) const;

    // A user's tap on a segment: selects it and sends value-changed when the selection changed.
    void tapSegment(NSInteger index);

    static constexpr CGFloat kHeight = 29;

private:
    std::vector<std::string> _titles;
    NSInteger _selected = UISegmentedControlNoSegment;
};
