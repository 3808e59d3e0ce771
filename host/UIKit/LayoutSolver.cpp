#include "host/UIKit/LayoutSolver.h"

#include <cmath>
#include <map>
#include <optional>

#include "host/UIKit/UIView.h"

namespace host {
namespace {

bool isHorizontal(NSLayoutAttribute a) {
    return a == NSLayoutAttributeLeft || a == NSLayoutAttributeRight || a == NSLayoutAttributeLeading ||
           a == NSLayoutAttributeTrailing || a == NSLayoutAttributeCenterX || a == NSLayoutAttributeWidth;
}
bool isSize(NSLayoutAttribute a) { return a == NSLayoutAttributeWidth || a == NSLayoutAttributeHeight; }

// One view's frame while solving, with which axes have been placed.
struct Slot {
    CGRect frame;
    bool placedX = false, placedY = false;
};

class Solver {
public:
    explicit Solver(UIView& container) : _container(container) {}

    void run() {
        for (const auto& c : _container.constraints()) {
            for (const auto& view : {c->firstItem(), c->secondItem()}) {
                if (view && view.get() != &_container && !view->translatesAutoresizingMaskIntoConstraints() &&
                    !_slots.count(view.get())) {
                    Slot slot{view->frame()};
                    const CGSize natural = view->intrinsicContentSize();
                    if (natural.width >= 0) slot.frame.size.width = natural.width;
                    if (natural.height >= 0) slot.frame.size.height = natural.height;
                    _slots.emplace(view.get(), slot);
                }
            }
        }
        if (_slots.empty()) return;
        // Sizes first (they do not depend on positions), then positions until nothing changes.
        for (int pass = 0; pass < 2; ++pass) applyAll(true);
        for (std::size_t pass = 0; pass <= _container.constraints().size(); ++pass)
            if (!applyAll(false)) break;
        for (auto& [view, slot] : _slots) view->setFrame(slot.frame);
    }

private:
    // The value of an attribute of a view, in the container's coordinates; nothing while unknown.
    std::optional<CGFloat> valueOf(UIView* view, NSLayoutAttribute a) const {
        if (a == NSLayoutAttributeNotAnAttribute || !view) return 0.0;
        CGRect f;
        if (view == &_container) {
            f = _container.bounds();
        } else if (auto it = _slots.find(view); it != _slots.end()) {
            f = it->second.frame;
            if (!isSize(a) && !(isHorizontal(a) ? it->second.placedX : it->second.placedY)) return std::nullopt;
        } else {
            f = view->frame();  // a frame-based sibling
        }
        switch (a) {
            case NSLayoutAttributeLeft: case NSLayoutAttributeLeading: return f.minX();
            case NSLayoutAttributeRight: case NSLayoutAttributeTrailing: return f.maxX();
            case NSLayoutAttributeTop: return f.minY();
            case NSLayoutAttributeBottom: return f.maxY();
            case NSLayoutAttributeWidth: return f.width();
            case NSLayoutAttributeHeight: return f.height();
            case NSLayoutAttributeCenterX: return f.midX();
            case NSLayoutAttributeCenterY: return f.midY();
            default: return std::nullopt;
        }
    }

    // Places `view` so that its attribute `a` has `value`. Returns whether anything changed.
    bool place(UIView* view, NSLayoutAttribute a, CGFloat value) {
        auto it = _slots.find(view);
        if (it == _slots.end() || !std::isfinite(value)) return false;
        Slot& s = it->second;
        const CGRect before = s.frame;
        switch (a) {
            case NSLayoutAttributeWidth: s.frame.size.width = value; break;
            case NSLayoutAttributeHeight: s.frame.size.height = value; break;
            case NSLayoutAttributeLeft: case NSLayoutAttributeLeading: s.frame.origin.x = value; break;
            case NSLayoutAttributeRight: case NSLayoutAttributeTrailing: s.frame.origin.x = value - s.frame.size.width; break;
            case NSLayoutAttributeCenterX: s.frame.origin.x = value - s.frame.size.width / 2; break;
            case NSLayoutAttributeTop: s.frame.origin.y = value; break;
            case NSLayoutAttributeBottom: s.frame.origin.y = value - s.frame.size.height; break;
            case NSLayoutAttributeCenterY: s.frame.origin.y = value - s.frame.size.height / 2; break;
            default: return false;
        }
        const bool wasPlaced = isHorizontal(a) ? s.placedX : s.placedY;
        if (!isSize(a)) (isHorizontal(a) ? s.placedX : s.placedY) = true;
        return !(before == s.frame) || (!isSize(a) && !wasPlaced);
    }

    bool applyAll(bool sizes) {
        bool changed = false;
        for (const auto& c : _container.constraints()) {
            if (c->relation() != NSLayoutRelationEqual || isSize(c->firstAttribute()) != sizes) continue;
            UIView* first = c->firstItem().get();
            UIView* second = c->secondItem().get();
            if (_slots.count(first)) {
                if (auto other = valueOf(second, c->secondAttribute()))
                    changed |= place(first, c->firstAttribute(), c->multiplier() * *other + c->constant());
            } else if (second && _slots.count(second) && c->multiplier() != 0) {
                if (auto own = valueOf(first, c->firstAttribute()))
                    changed |= place(second, c->secondAttribute(), (*own - c->constant()) / c->multiplier());
            }
        }
        return changed;
    }

    UIView& _container;
    std::map<UIView*, Slot> _slots;
};

}  // namespace

void LayoutSolver::solve(UIView& container) { Solver(container).run(); }

}  // namespace host
