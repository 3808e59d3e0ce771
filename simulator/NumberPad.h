#pragma once
// The number pad the keyboard shows for a field of keyboard type 4 (and the decimal pad, 8):
// four rows of three keys under any keypad toolbar. Drawing and the window's clicks share it.
#include <string>
#include <vector>

#include "host/CoreGraphics/CGGeometry.h"
#include "host/UIKit/UITextField.h"
#include "simulator/ModalLayout.h"

namespace sim {

class NumberPad {
public:
    struct Key {
        std::string label;    // "0"-"9"; "." on the decimal pad; "" for the blank key; kDelete
        std::string letters;  // the small letters under a digit ("ABC")
        CGRect frame;
    };
    static inline const std::string kDelete = "delete";

    // The part of an alert's keyboard below its toolbar; zero while no keyboard is up.
    static CGRect padFrame(const ModalLayout::Alert& layout);
    // The keys laid out in `pad`, left to right, top to bottom.
    static std::vector<Key> keys(CGRect pad, UIKeyboardType type);
    // The key under `point`, if any.
    static const Key* keyAt(const std::vector<Key>& keys, CGPoint point);
};

}  // namespace sim
