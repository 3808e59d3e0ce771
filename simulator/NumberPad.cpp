#include "simulator/NumberPad.h"

namespace sim {

CGRect NumberPad::padFrame(const ModalLayout::Alert& layout) {
    CGRect pad = layout.keyboard;
    if (pad.size.height <= 0) return CGRectZero;
    if (layout.toolbar.size.height > 0) {
        pad.origin.y = layout.toolbar.maxY();
        pad.size.height = layout.keyboard.maxY() - layout.toolbar.maxY();
    }
    return pad;
}

std::vector<NumberPad::Key> NumberPad::keys(CGRect pad, UIKeyboardType type) {
    static const char* const labels[12] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "", "0", ""};
    static const char* const letters[12] = {"", "ABC", "DEF", "GHI", "JKL", "MNO", "PQRS", "TUV", "WXYZ", "", "", ""};
    std::vector<Key> keys;
    if (pad.size.height <= 0) return keys;
    const CGFloat w = pad.width() / 3, h = pad.height() / 4;
    for (int i = 0; i < 12; ++i) {
        // Chosen before the string is made: assigning into it trips a false -Wrestrict in GCC 12.
        const char* label = i == 11 ? kDelete.c_str() : (i == 9 && type == UIKeyboardTypeDecimalPad) ? "." : labels[i];
        keys.push_back({label, letters[i], CGRectMake(pad.minX() + (i % 3) * w, pad.minY() + (i / 3) * h, w, h)});
    }
    return keys;
}

const NumberPad::Key* NumberPad::keyAt(const std::vector<Key>& keys, CGPoint point) {
    for (const auto& key : keys)
        if (key.frame.contains(point)) return &key;
    return nullptr;
}

}  // namespace sim
