#include "simulator/ComposeLayout.h"

#include <algorithm>

#include "simulator/ModalLayout.h"

namespace sim {

ComposeLayout::Composer ComposeLayout::composer(CGSize screen) {
    const CGRect frame = ModalLayout::composerFrame(screen);
    const auto buttons = ModalLayout::composerButtons(screen);
    CGFloat y = buttons.empty() ? frame.minY() : buttons.front().frame.maxY();
    auto row = [&] {
        const CGRect r = CGRectMake(frame.minX(), y, frame.width(), kRowHeight);
        y += kRowHeight;
        return r;
    };
    Composer c;
    c.to = row();
    c.ccFrom = row();
    c.subject = row();
    c.body = CGRectMake(frame.minX(), y, frame.width(), std::max<CGFloat>(0, frame.maxY() - y));
    return c;
}

CGRect ComposeLayout::sheetText(CGSize screen) {
    const CGRect card = ModalLayout::sheetCard(screen);
    const CGFloat top = card.minY() + 44 + 12;
    return CGRectMake(card.minX() + kInset, top, card.width() - 2 * kInset, card.maxY() - 34 - top);
}

}  // namespace sim
