#include "simulator/NumberPad.h"

#include "host/UIKit/UIDevice.h"
#include "simulator/ScreenLayout.h"

namespace sim {
namespace {

// A key of the pad's numbers page, in units of the row's eleven key widths.
struct PadKey {
    double start, width;
    const char* label;
    NumberPad::Action action;
    const char* text;
};

std::vector<std::vector<PadKey>> padRows() {
    using A = NumberPad::Action;
    std::vector<std::vector<PadKey>> rows(4);
    static const char* const digits[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"};
    for (int i = 0; i < 10; ++i) rows[0].push_back({double(i), 1, digits[i], A::Type, digits[i]});
    rows[0].push_back({10, 1, NumberPad::kDelete.c_str(), A::Delete, ""});
    static const char* const symbols[] = {"-", "/", ":", ";", "(", ")", "$", "&", "@"};
    for (int i = 0; i < 9; ++i) rows[1].push_back({0.5 + i, 1, symbols[i], A::Type, symbols[i]});
    rows[1].push_back({9.5, 1.5, NumberPad::kReturn.c_str(), A::Return, ""});
    static const char* const punctuation[] = {".", ",", "?", "!", "'", "\""};
    rows[2].push_back({0, 1.5, "#+=", A::None, ""});
    for (int i = 0; i < 6; ++i) rows[2].push_back({1.5 + i * 4.0 / 3, 4.0 / 3, punctuation[i], A::Type, punctuation[i]});
    rows[2].push_back({9.5, 1.5, "#+=", A::None, ""});
    rows[3] = {{0, 2, "ABC", A::None, ""}, {2, 6.5, NumberPad::kSpace.c_str(), A::Type, " "},
        {8.5, 1.5, "ABC", A::None, ""}, {10, 1, NumberPad::kHide.c_str(), A::Hide, ""}};
    return rows;
}

}  // namespace

bool NumberPad::padKeyboard() {
    // The keyboard is the system's: a pad's even where the pane was not told the idiom.
    return UIDevice::currentDevice()->userInterfaceIdiom() == UIUserInterfaceIdiomPad;
}

CGFloat NumberPad::keyboardHeight() { return padKeyboard() ? kPadKeyboardHeight : ScreenLayout::kKeyboardHeight; }

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
    if (pad.size.height <= 0) return {};
    return padKeyboard() ? padKeys(pad) : phoneKeys(pad, type);
}

std::vector<NumberPad::Key> NumberPad::phoneKeys(CGRect pad, UIKeyboardType type) {
    static const char* const labels[12] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "", "0", ""};
    static const char* const letters[12] = {"", "ABC", "DEF", "GHI", "JKL", "MNO", "PQRS", "TUV", "WXYZ", "", "", ""};
    std::vector<Key> keys;
    const CGFloat w = pad.width() / 3, h = pad.height() / 4;
    for (int i = 0; i < 12; ++i) {
        // Chosen before the string is made: assigning into it trips a false -Wrestrict in GCC 12.
        const char* label = i == 11 ? kDelete.c_str() : (i == 9 && type == UIKeyboardTypeDecimalPad) ? "." : labels[i];
        const Action action = i == 11 ? Action::Delete : *label ? Action::Type : Action::None;
        const CGRect frame = CGRectMake(pad.minX() + (i % 3) * w, pad.minY() + (i / 3) * h, w, h);
        keys.push_back({label, letters[i], frame, frame, action, action == Action::Type ? label : ""});
    }
    return keys;
}

std::vector<NumberPad::Key> NumberPad::padKeys(CGRect pad) {
    std::vector<Key> keys;
    const CGFloat unit = pad.width() / 11, pitch = (pad.height() - kPadRowGap) / 4;
    const auto rows = padRows();
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const CGFloat top = pad.minY() + kPadRowGap / 2 + CGFloat(r) * pitch;
        // Touches between rows and at the keyboard's edges land on the nearest key.
        const CGFloat areaTop = r == 0 ? pad.minY() : top, areaBottom = r + 1 == rows.size() ? pad.maxY() : top + pitch;
        for (std::size_t i = 0; i < rows[r].size(); ++i) {
            const PadKey& k = rows[r][i];
            const CGFloat left = pad.minX() + k.start * unit, right = left + k.width * unit;
            const CGFloat areaLeft = i == 0 ? pad.minX() : left, areaRight = i + 1 == rows[r].size() ? pad.maxX() : right;
            keys.push_back({k.label, "",
                CGRectMake(left + kPadKeyGap / 2, top + kPadRowGap / 2, right - left - kPadKeyGap, pitch - kPadRowGap),
                CGRectMake(areaLeft, areaTop, areaRight - areaLeft, areaBottom - areaTop), k.action, k.text});
        }
    }
    return keys;
}

const NumberPad::Key* NumberPad::keyAt(const std::vector<Key>& keys, CGPoint point) {
    for (const auto& key : keys)
        if (key.area.contains(point)) return &key;
    return nullptr;
}

}  // namespace sim
