#include "simulator/LettersKeyboard.h"

#include <cctype>

namespace sim {
namespace {

using A = NumberPad::Action;

// A key in units of the row's key widths: ten on a phone, eleven on a pad.
struct Spec {
    double start, width;
    std::string label;
    A action;
    std::string text;
};

void letters(std::vector<Spec>& row, const char* keys, double start, double width, bool shifted) {
    for (int i = 0; keys[i]; ++i) {
        const char c = keys[i];
        const std::string shown(1, shifted ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c);
        row.push_back({start + i * width, width, shown, A::Type, shown});
    }
}

std::vector<std::vector<Spec>> phoneRows(bool shifted) {
    std::vector<std::vector<Spec>> rows(4);
    letters(rows[0], "qwertyuiop", 0, 1, shifted);
    letters(rows[1], "asdfghjkl", 0.5, 1, shifted);
    rows[2].push_back({0, 1.3, LettersKeyboard::kShift, A::Shift, ""});
    letters(rows[2], "zxcvbnm", 1.5, 1, shifted);
    rows[2].push_back({8.7, 1.3, NumberPad::kDelete, A::Delete, ""});
    rows[3] = {{0, 1.25, "123", A::None, ""}, {1.25, 6.25, NumberPad::kSpace, A::Type, " "},
        {7.5, 2.5, NumberPad::kReturn, A::Return, "\n"}};
    return rows;
}

std::vector<std::vector<Spec>> padRows(bool shifted) {
    std::vector<std::vector<Spec>> rows(4);
    letters(rows[0], "qwertyuiop", 0, 1, shifted);
    rows[0].push_back({10, 1, NumberPad::kDelete, A::Delete, ""});
    letters(rows[1], "asdfghjkl", 0.5, 1, shifted);
    rows[1].push_back({9.5, 1.5, NumberPad::kReturn, A::Return, "\n"});
    rows[2].push_back({0, 1, LettersKeyboard::kShift, A::Shift, ""});
    letters(rows[2], "zxcvbnm", 1, 1, shifted);
    rows[2].push_back({8, 1, shifted ? "!" : ",", A::Type, shifted ? "!" : ","});
    rows[2].push_back({9, 1, shifted ? "?" : ".", A::Type, shifted ? "?" : "."});
    rows[2].push_back({10, 1, LettersKeyboard::kShift, A::Shift, ""});
    rows[3] = {{0, 2, ".?123", A::None, ""}, {2, 6.5, NumberPad::kSpace, A::Type, " "},
        {8.5, 1.5, ".?123", A::None, ""}, {10, 1, NumberPad::kHide, A::Hide, ""}};
    return rows;
}

}  // namespace

CGRect LettersKeyboard::frame(CGSize screen) {
    const CGFloat height = NumberPad::keyboardHeight();
    return CGRectMake(0, screen.height - height, screen.width, height);
}

std::vector<LettersKeyboard::Key> LettersKeyboard::keys(CGRect keyboard, bool shifted) {
    const bool pad = NumberPad::padKeyboard();
    const auto rows = pad ? padRows(shifted) : phoneRows(shifted);
    const CGFloat keyGap = pad ? NumberPad::kPadKeyGap : kPhoneKeyGap, rowGap = pad ? NumberPad::kPadRowGap : kPhoneRowGap;
    const CGFloat unit = keyboard.width() / (pad ? 11 : 10), pitch = (keyboard.height() - rowGap) / CGFloat(rows.size());
    const auto x = [&](double units) { return keyboard.minX() + units * unit; };
    std::vector<Key> keys;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const CGFloat top = keyboard.minY() + rowGap / 2 + CGFloat(r) * pitch;
        // A touch between keys lands on the nearest one, and the outer keys reach the edges.
        const CGFloat areaTop = r == 0 ? keyboard.minY() : top, areaBottom = r + 1 == rows.size() ? keyboard.maxY() : top + pitch;
        for (std::size_t i = 0; i < rows[r].size(); ++i) {
            const Spec& k = rows[r][i];
            const CGFloat left = x(k.start), right = x(k.start + k.width);
            const CGFloat areaLeft = i == 0 ? keyboard.minX() : (x(rows[r][i - 1].start + rows[r][i - 1].width) + left) / 2;
            const CGFloat areaRight = i + 1 == rows[r].size() ? keyboard.maxX() : (right + x(rows[r][i + 1].start)) / 2;
            keys.push_back({k.label, "", CGRectMake(left + keyGap / 2, top + rowGap / 2, right - left - keyGap, pitch - rowGap),
                CGRectMake(areaLeft, areaTop, areaRight - areaLeft, areaBottom - areaTop), k.action, k.text});
        }
    }
    return keys;
}

}  // namespace sim
