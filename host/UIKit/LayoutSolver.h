#pragma once
// Solves the constraints a view holds into its subviews' frames. It handles what the pane's views
// use: equalities between one attribute of a subview and an attribute of the container or of a
// sibling (times a multiplier, plus a constant). A subview without a size constraint takes its
// intrinsic content size. Constraints that cannot be satisfied are left unapplied.
class UIView;

namespace host {

class LayoutSolver {
public:
    static void solve(UIView& container);
};

}  // namespace host
