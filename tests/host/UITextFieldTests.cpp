// Typing keeps what the device's keyboard has keys for: a phone's number and phone pads are
// narrow, while a pad opens its full keyboard's numbers page for them.
#include "host/UIKit/UITextField.h"

#include "host/Runtime/DeviceProfile.h"
#include "tests/support/DeviceFixture.h"

namespace {

class UITextFieldTest : public DeviceFixture {};

TEST_F(UITextFieldTest, TypingKeepsWhatTheKeyboardHasKeysFor) {
    const struct { const char* profile; bool answersIdiom; UIKeyboardType type; const char *typed, *kept; } cases[] = {
        {"iphone6s", true, UIKeyboardTypeNumberPad, "-12.5", "125"},
        {"iphone6s", true, UIKeyboardTypePhonePad, "+1-2#", "+12#"},
        {"ipad-air2", true, UIKeyboardTypeNumberPad, "-12.5", "-12.5"},
        {"ipad-air2", true, UIKeyboardTypeNumberPad, "1/2:3;(4)$&@\".,?!' x+*#=_", "1/2:3;(4)$&@\".,?!' "},
        {"ipad-air2", true, UIKeyboardTypePhonePad, "+1-2", "1-2"},
        {"ipad-air2", true, UIKeyboardTypeDecimalPad, "-0.5e", "-0.5"},
        {"ipad-air2", true, UIKeyboardTypeDefault, "x+*", "x+*"},
        // The keyboard is the system's: still the pad's where the pane cannot ask the idiom.
        {"ipad-air2", false, UIKeyboardTypeNumberPad, "-1.5", "-1.5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.profile) + " type " + std::to_string(c.type) + " \"" + c.typed + "\"");
        useProfile(c.profile);
        host::DeviceProfile::mutableCurrent().answersIdiomQuery = c.answersIdiom;
        auto field = std::make_shared<UITextField>();
        field->setKeyboardType(c.type);
        EXPECT_EQ(field->typeText(c.typed), std::string(c.kept).size());
        EXPECT_EQ(field->text(), c.kept);
    }
}

}  // namespace
