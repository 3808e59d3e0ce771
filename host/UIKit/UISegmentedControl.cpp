#include "host/UIKit/UISegmentedControl.h"

std::shared_ptr<UISegmentedControl> UISegmentedControl::initWithItems(std::vector<std::string> titles) {
    auto control = std::make_shared<UISegmentedControl>();
    control->_titles = std::move(titles);
    control->setFrame(CGRectMake(0, 0, 0, kHeight));
    return control;
}

std::string UISegmentedControl::titleForSegmentAtIndex(NSInteger index) const {
    return index >= 0 && index < numberOfSegments() ? _titles[std::size_t(index)] : std::string();
}

void UISegmentedControl::setTitles(std::vector<std::string> titles) {
    _titles = std::move(titles);
    if (_selected >= numberOfSegments()) _selected = UISegmentedControlNoSegment;
}

void UISegmentedControl::setSelectedSegmentIndex(NSInteger index) {
    _selected = index >= 0 && index < numberOfSegments() ? index : UISegmentedControlNoSegment;
}

CGRect UISegmentedControl::segmentRect(NSInteger index) const {
    if (index < 0 || index >= numberOfSegments()) return CGRectZero;
    const CGFloat width = frame().width() / CGFloat(numberOfSegments());
    return CGRectMake(width * CGFloat(index), 0, width, frame().height());
}

NSInteger UISegmentedControl::segmentAtPoint(CGPoint point) const {
    if (numberOfSegments() == 0 || !bounds().contains(point)) return UISegmentedControlNoSegment;
    const CGFloat width = frame().width() / CGFloat(numberOfSegments());
    const auto index = NSInteger(point.x / width);
    return index < numberOfSegments() ? index : numberOfSegments() - 1;
}

void UISegmentedControl::tapSegment(NSInteger index) {
    if (!isEnabled() || index < 0 || index >= numberOfSegments() || index == _selected) return;
    _selected = index;
    sendActionsForControlEvents(UIControlEventValueChanged);
}
