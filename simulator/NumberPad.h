#pragma once
// The keyboard an alert's number field opens, under any keypad toolbar. On a phone: the number
// pad, four rows of three keys (the decimal pad has "." in its blank corner). On a pad, which has
// no number pad: the full keyboard on its numbers page, digits and delete, punctuation and
// return, ".,?!'\"" between the symbol keys, then ABC, the space bar and hide-keyboard. Drawing
// and the window's clicks share it.
#include <string>
#include <vector>

#include "host/CoreGraphics/CGGeometry.h"
#include "host/UIKit/UITextField.h"
#include "simulator/ModalLayout.h"

namespace sim {

class NumberPad {
public:
    enum class Action {
        Type,    // inserts its text
        Delete,  // deletes a character
        Return,  // the Return key of the pad's keyboard
        Hide,    // hides the keyboard: editing ends
        Shift,   // the letters keyboard's shift: the next letter is a capital
        None,    // a blank key, or one that leads to pages not simulated (ABC, #+=)
    };
    struct Key {
        std::string label;    // "0"-"9", "-", "."; "" for the blank key; kDelete, kReturn, kHide, "ABC"
        std::string letters;  // the small letters under a phone's digit ("ABC")
        CGRect frame;         // the key as drawn
        CGRect area;          // where a touch lands on it: on a pad also half the gap around it
        Action action = Action::Type;
        std::string text;     // what Type inserts
    };
    static inline const std::string kDelete = "delete";
    static inline const std::string kReturn = "return";
    static inline const std::string kHide = "hide keyboard";
    static inline const std::string kSpace = "space";

    static constexpr CGFloat kPadKeyboardHeight = 264;
    static constexpr CGFloat kPadKeyGap = 12;     // between keys of a row
    static constexpr CGFloat kPadRowGap = 8;      // between rows, and above and below them
    static constexpr CGFloat kPadKeyRadius = 5;

    // Whether the device's keyboard is the pad's (the numbers page) rather than a phone's pad.
    static bool padKeyboard();
    // The keyboard's height on this device, without any toolbar.
    static CGFloat keyboardHeight();

    // The part of an alert's keyboard below its toolbar; zero while no keyboard is up.
    static CGRect padFrame(const ModalLayout::Alert& layout);
    // The keys laid out in `pad`, left to right, top to bottom, for this device.
    static std::vector<Key> keys(CGRect pad, UIKeyboardType type);
    // The key whose touch area holds `point`, if any.
    static const Key* keyAt(const std::vector<Key>& keys, CGPoint point);

private:
    static std::vector<Key> phoneKeys(CGRect pad, UIKeyboardType type);
    static std::vector<Key> padKeys(CGRect pad);
};

}  // namespace sim
