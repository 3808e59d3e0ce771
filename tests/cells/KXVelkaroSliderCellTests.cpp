#include "cells/KXVelkaroSliderCell.h"

#include <cmath>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "host/CoreFoundation/CFNotificationCenter.h"
#include "host/Foundation/ClassRegistry.h"
#include "host/Foundation/PropertyList.h"
#include "host/Foundation/RunLoop.h"
#include "host/System/DeviceProfile.h"
#include "host/System/FailureInjection.h"
#include "host/UIKit/UIBarButtonItem.h"
#include "host/UIKit/UIButton.h"
#include "host/UIKit/UIToolbar.h"
#include "tests/support/DeviceFixture.h"

namespace {

constexpr const char* kPrefsPath = "/var/mobile/Library/Preferences/com.mornvale.velkaro.plist";
constexpr const char* kReload = "com.mornvale.velkaro/ReloadPrefs";

// A bound as a row may give it: missing, a number, or any other plist value.
struct Bound {
    PlistValue value;
    Bound() = default;
    Bound(int v) : value(v) {}
    Bound(double v) : value(v) {}
    Bound(const char* s) : value(s) {}
};

std::shared_ptr<PSSpecifier> sliderRow(Bound min, Bound max) {
    auto row = std::make_shared<PSSpecifier>();
    row->setName("Corner radius");
    row->setCellType(PSSliderCell);
    row->setCellClassName("KXVelkaroSliderCell");
    row->setProperty("com.mornvale.velkaro", "defaults");
    row->setProperty("cornerRadius", "key");
    row->setProperty(min.value, "min");
    row->setProperty(max.value, "max");
    row->setProperty(kReload, "PostNotification");
    return row;
}

std::vector<std::string> itemTitles(const std::shared_ptr<UITextField>& field) {
    std::vector<std::string> titles;
    if (auto toolbar = std::dynamic_pointer_cast<UIToolbar>(field->inputAccessoryView()))
        for (const auto& item : toolbar->items()) titles.push_back(item->title().value_or("?"));
    return titles;
}

class KXVelkaroSliderCellTest : public DeviceFixture {
protected:
    // As the host makes a row's cell: by the class name the row gives.
    std::shared_ptr<KXVelkaroSliderCell> makeCell(const std::shared_ptr<PSSpecifier>& row, NSInteger style = 0) {
        auto cell = host::ClassRegistry::shared().createCell(row->cellClassName(), style, "slider", row);
        return std::dynamic_pointer_cast<KXVelkaroSliderCell>(cell);
    }

    // What sits under a finger at the row's far right.
    static std::shared_ptr<UIButton> buttonAtRightEnd(const std::shared_ptr<KXVelkaroSliderCell>& cell, CGFloat fromRight = 1) {
        const CGSize size = cell->frame().size;
        return std::dynamic_pointer_cast<UIButton>(cell->hitTest({size.width - fromRight, size.height / 2}));
    }

    // A user's tap on the row's right end; returns the pop-up it opened.
    std::shared_ptr<UIAlertView> tapValueButton(const std::shared_ptr<KXVelkaroSliderCell>& cell) {
        auto button = buttonAtRightEnd(cell);
        EXPECT_NE(button, nullptr);
        if (!button) return nullptr;
        button->tap();
        return UIAlertView::topAlert();
    }

    // The keypad toolbar key titled `title` of the entry pop-up's field.
    static std::shared_ptr<UIBarButtonItem> key(const std::shared_ptr<UITextField>& field, const std::string& title) {
        if (auto toolbar = std::dynamic_pointer_cast<UIToolbar>(field->inputAccessoryView()))
            for (const auto& item : toolbar->items())
                if (item->title() == title) return item;
        ADD_FAILURE() << "no key " << title;
        return nullptr;
    }

    // Opens the entry pop-up, puts `text` in its field (as a paste would) and presses "Enter".
    void enterText(const std::shared_ptr<KXVelkaroSliderCell>& cell, const std::string& text) {
        auto entry = tapValueButton(cell);
        ASSERT_NE(entry, nullptr);
        entry->textFieldAtIndex(0)->setText(text);
        entry->clickButtonAtIndex(1);
    }

    std::optional<PlistValue> storedValue() const {
        auto stored = PropertyList::readFile(hostPath(kPrefsPath));
        if (!stored) return std::nullopt;
        const PlistValue& value = (*stored)["cornerRadius"];
        if (value.isNil()) return std::nullopt;
        return value;
    }

    // Forgets what earlier rows of a table left behind.
    void freshState() {
        host::EventLog::shared().clear();
        UIAlertView::dismissAll();
        host::RunLoop::main().reset(0);
        std::filesystem::remove(hostPath(kPrefsPath));
    }
};

// The host's creation call: the default style whatever was asked, the track tints, and the
// untitled value button over the last 50 points of the row.
TEST_F(KXVelkaroSliderCellTest, CreationColoursTrackAndLaysValueButton) {
    auto cell = makeCell(sliderRow(0, 10), UITableViewCellStyleValue1);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->style(), UITableViewCellStyleDefault);
    EXPECT_EQ(cell->control()->minimumTrackTintColor(), UIColor::colorWithRed(65 / 255.0f, 169 / 255.0f, 214 / 255.0f, 1));
    EXPECT_EQ(cell->control()->maximumTrackTintColor(), UIColor::colorWithRed(22 / 255.0f, 36 / 255.0f, 51 / 255.0f, 1));

    auto button = buttonAtRightEnd(cell);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->superview(), cell);
    EXPECT_EQ(button->buttonType(), UIButtonTypeSystem);
    EXPECT_EQ(button->frame(), CGRectMake(cell->frame().size.width - 50, 0, 50, cell->frame().size.height));
    EXPECT_EQ(button->titleForState(UIControlStateNormal), "");
    EXPECT_TRUE(UIAlertView::visibleAlerts().empty());

    // The base giving nil gives no cell.
    host::FailureInjection::failNextInitialiser("PSTableCell");
    EXPECT_EQ(makeCell(sliderRow(0, 10)), nullptr);
}

// The host resizes cells after creation; the button must follow the right edge.
TEST_F(KXVelkaroSliderCellTest, ValueButtonCoversLastFiftyPointsAfterResize) {
    for (CGFloat width : {768.0, 200.0, 375.0}) {
        SCOPED_TRACE(width);
        auto cell = makeCell(sliderRow(0, 10));
        cell->setFrame(CGRectMake(0, 0, width, 60));
        auto button = buttonAtRightEnd(cell);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->frame().origin.x, width - 50);
        EXPECT_EQ(button->frame().size.width, 50);
        EXPECT_EQ(buttonAtRightEnd(cell, 50), button);
        EXPECT_NE(buttonAtRightEnd(cell, 51), button);
    }
}

TEST_F(KXVelkaroSliderCellTest, EntryPopupStatesRangeAndAsksForNumber) {
    struct Case {
        Bound min, max;
        std::string message;
    };
    const std::vector<Case> cases = {
        {-5, 5, "Please enter a value between -5.0 and 5.0."},
        {{}, {}, "Please enter a value between 0.0 and 0.0."},
        {0.1, 10.1, "Please enter a value between 0.1 and 10.1."},
        {"2.5", "abc", "Please enter a value between 2.5 and 0.0."},
        {-50, 1000, "Please enter a value between -50.0 and 1000.0."},
        {std::nan(""), 1, "Please enter a value between nan and 1.0."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        freshState();
        auto cell = makeCell(sliderRow(c.min, c.max));
        auto entry = tapValueButton(cell);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->title(), "Corner radius");
        EXPECT_EQ(entry->message(), c.message);
        EXPECT_EQ(entry->tag(), 342879);
        EXPECT_EQ(entry->alertViewStyle(), UIAlertViewStylePlainTextInput);
        EXPECT_EQ(entry->numberOfButtons(), 2);
        EXPECT_EQ(entry->buttonTitleAtIndex(0), "Cancel");
        EXPECT_EQ(entry->buttonTitleAtIndex(1), "Enter");
        EXPECT_EQ(entry->delegate(), std::static_pointer_cast<UIAlertViewDelegate>(cell));
        auto field = entry->textFieldAtIndex(0);
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->text(), "");
        EXPECT_EQ(field->keyboardType(), UIKeyboardTypeNumberPad);
        EXPECT_EQ(field->delegate(), std::static_pointer_cast<UITextFieldDelegate>(cell));
        EXPECT_TRUE(field->isFirstResponder());
    }
}

// The range is read from the row at each use, not kept from creation.
TEST_F(KXVelkaroSliderCellTest, RangeIsReadAfreshAtEachUse) {
    auto row = sliderRow(0, 10);
    auto cell = makeCell(row);
    row->setProperty(20.0, "max");
    auto entry = tapValueButton(cell);
    EXPECT_EQ(entry->message(), "Please enter a value between 0.0 and 20.0.");
    entry->textFieldAtIndex(0)->setText("15");
    row->setProperty(12.0, "max");
    entry->clickButtonAtIndex(1);
    EXPECT_EQ(UIAlertView::topAlert()->tag(), 85230234);
    EXPECT_FALSE(storedValue());
}

TEST_F(KXVelkaroSliderCellTest, PhoneKeypadToolbarHoldsTheKeysTheRangeNeeds) {
    struct Case {
        Bound min, max;
        std::vector<std::string> keys;  // empty: no toolbar at all
    };
    const std::vector<Case> cases = {
        {-1, 1, {"Negate", "Point"}},
        {-100, 100, {"Negate"}},
        {0, 10, {"Point"}},                   // a span of exactly 10 is narrow; 0 is not negative
        {0, 10.5, {}},
        {0, 100, {}},
        {-0.5, 100, {"Negate"}},
        {0.1, 10.1, {"Point"}},               // the span is 10 in single precision
        {{}, {}, {"Point"}},                  // missing bounds read as 0
        {"abc", 5, {"Point"}},                // a non-numeric text reads as 0
        {"-3", "4", {"Negate", "Point"}},     // numeric strings serve as numbers
        {std::nan(""), 5, {}},                // a bound that is not a number fails both tests
        {-3, std::nan(""), {"Negate"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.min.value.description() + " .. " + c.max.value.description());
        freshState();
        auto cell = makeCell(sliderRow(c.min, c.max));
        auto field = tapValueButton(cell)->textFieldAtIndex(0);
        EXPECT_EQ(itemTitles(field), c.keys);
        if (c.keys.empty()) {
            EXPECT_EQ(field->inputAccessoryView(), nullptr);
            continue;
        }
        auto toolbar = std::dynamic_pointer_cast<UIToolbar>(field->inputAccessoryView());
        ASSERT_NE(toolbar, nullptr);
        EXPECT_EQ(toolbar->frame(), CGRectMake(0, 0, 375, 44));
        for (const auto& item : toolbar->items()) {
            EXPECT_EQ(item->style(), UIBarButtonItemStylePlain);
            EXPECT_EQ(item->target(), cell);
            EXPECT_EQ(item->action(), item->title() == "Negate" ? "typeMinus" : "typePoint");
        }
    }
}

TEST_F(KXVelkaroSliderCellTest, PadHasNoKeypadToolbarUnlessItDoesNotAnswerTheIdiomQuery) {
    useProfile("ipad-air2");
    const std::vector<std::pair<Bound, Bound>> ranges = {{-1, 1}, {-100, 100}, {0, 10}, {{}, {}}};
    for (const auto& [min, max] : ranges) {
        freshState();
        auto field = tapValueButton(makeCell(sliderRow(min, max)))->textFieldAtIndex(0);
        EXPECT_EQ(field->inputAccessoryView(), nullptr) << min.value.description();
        EXPECT_EQ(field->keyboardType(), UIKeyboardTypeNumberPad);
    }
    // A device that cannot say its idiom counts as a phone.
    host::DeviceProfile::mutableCurrent().answersIdiomQuery = false;
    auto field = tapValueButton(makeCell(sliderRow(-1, 1)))->textFieldAtIndex(0);
    EXPECT_EQ(itemTitles(field), (std::vector<std::string>{"Negate", "Point"}));
    EXPECT_EQ(field->inputAccessoryView()->frame(), CGRectMake(0, 0, 768, 44));
}

TEST_F(KXVelkaroSliderCellTest, RangeIsClosedAndTextReadsAsSinglePrecisionNumber) {
    struct Case {
        Bound min, max;
        std::string text;
        std::optional<float> stored;  // nothing: refused
    };
    const std::vector<Case> cases = {
        {0, 10, "0", 0.0f},
        {0, 10, "10", 10.0f},
        {0, 10, "10.5", std::nullopt},
        {-50, 50, "-50", -50.0f},
        {-50, 50, "-50.01", std::nullopt},
        {-50, 50, "50.001", std::nullopt},
        {0, 1, "1.0000001", std::nullopt},    // rounds to the float just above 1
        {0, 1, "1.00000001", 1.0f},           // rounds to 1 in single precision
        {0, 10, "0.3", 0.3f},
        {0, 10, "7..", 7.0f},
        {0, 10, " 2.5abc", 2.5f},
        {0, 10, "", 0.0f},                    // an empty field reads as 0
        {1, 10, "", std::nullopt},
        {0, 10, "-", 0.0f},
        {0, 10, "nan", 0.0f},                 // the platform reads no NaN from text: 0
        {1, 10, "nan", std::nullopt},
        {0, 10, "inf", 0.0f},
        {0, 10, "1e50", std::nullopt},        // overflows to infinity
        {-10, 0, "-1e50", std::nullopt},
        {{}, {}, "0", 0.0f},
        {{}, {}, "0.1", std::nullopt},
        {"-2", "2", "-2", -2.0f},
        {std::nan(""), 10, "-5", -5.0f},      // a NaN bound refuses nothing on its side
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.min.value.description() + " .. " + c.max.value.description() + " \"" + c.text + "\"");
        freshState();
        auto cell = makeCell(sliderRow(c.min, c.max));
        const float before = cell->control()->value();
        enterText(cell, c.text);
        if (c.stored) {
            EXPECT_EQ(UIAlertView::topAlert(), nullptr);
            EXPECT_EQ(cell->control()->value(), *c.stored);
            auto stored = storedValue();
            ASSERT_TRUE(stored);
            EXPECT_EQ(stored->number(), double{*c.stored});
            EXPECT_EQ(events("synchronize").size(), 1u);
        } else {
            ASSERT_NE(UIAlertView::topAlert(), nullptr);
            EXPECT_EQ(UIAlertView::topAlert()->tag(), 85230234);
            EXPECT_EQ(cell->control()->value(), before);
            EXPECT_FALSE(storedValue());
            EXPECT_TRUE(events("preference").empty());
            EXPECT_TRUE(events("synchronize").empty());
        }
        advance(1);
        EXPECT_EQ(events("notification").size(), c.stored ? 1u : 0u);
    }
}

// 5.5 typed with the keypad keys into a 0..5 row: the error pop-up, then a new, empty entry pop-up.
TEST_F(KXVelkaroSliderCellTest, RefusedValueShowsErrorThenFreshEntryPopup) {
    auto cell = makeCell(sliderRow(0, 5));
    cell->setValue(PlistValue(2.0));
    auto entry = tapValueButton(cell);
    auto field = entry->textFieldAtIndex(0);
    EXPECT_EQ(field->typeText("5"), 1u);
    key(field, "Point")->tap();
    field->typeText("5");
    ASSERT_EQ(field->text(), "5.5");
    entry->clickButtonAtIndex(1);

    auto error = UIAlertView::topAlert();
    ASSERT_NE(error, nullptr);
    EXPECT_NE(error, entry);
    EXPECT_FALSE(entry->isVisible());
    EXPECT_FALSE(field->isFirstResponder());
    EXPECT_EQ(error->title(), "Error");
    EXPECT_EQ(error->message(), "Ensure you enter a valid value.");
    EXPECT_EQ(error->tag(), 85230234);
    EXPECT_EQ(error->numberOfButtons(), 1);
    EXPECT_EQ(error->buttonTitleAtIndex(0), "OK");
    EXPECT_EQ(error->alertViewStyle(), UIAlertViewStyleDefault);
    EXPECT_EQ(cell->control()->value(), 2.0f);

    error->clickButtonAtIndex(0);
    auto again = UIAlertView::topAlert();
    ASSERT_NE(again, nullptr);
    EXPECT_NE(again, entry);
    EXPECT_EQ(again->tag(), 342879);
    EXPECT_EQ(again->textFieldAtIndex(0)->text(), "");
    EXPECT_TRUE(again->textFieldAtIndex(0)->isFirstResponder());
    EXPECT_EQ(UIAlertView::visibleAlerts().size(), 1u);

    advance(1);
    EXPECT_FALSE(storedValue());
    EXPECT_TRUE(events("preference").empty());
    EXPECT_TRUE(events("notification").empty());
}

TEST_F(KXVelkaroSliderCellTest, CancelStoresNothingPostsNothingAndDismissesKeyboard) {
    auto cell = makeCell(sliderRow(0, 10));
    auto entry = tapValueButton(cell);
    auto field = entry->textFieldAtIndex(0);
    field->typeText("3");
    entry->clickButtonAtIndex(0);
    EXPECT_FALSE(field->isFirstResponder());
    EXPECT_TRUE(UIAlertView::visibleAlerts().empty());
    advance(1);
    EXPECT_FALSE(storedValue());
    EXPECT_EQ(cell->control()->value(), 0.0f);
    EXPECT_TRUE(events("preference").empty());
    EXPECT_TRUE(events("synchronize").empty());
    EXPECT_TRUE(events("notification").empty());
}

// -12.5 typed on the keypad with its keys, confirmed at t = 1.
TEST_F(KXVelkaroSliderCellTest, AcceptedValueMovesSliderStoresSynchronizesThenPostsAfterDelay) {
    std::vector<std::pair<std::string, double>> delivered;
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), kReload,
        [&](const std::string& name) { delivered.emplace_back(name, host::RunLoop::main().now()); });
    auto cell = makeCell(sliderRow(-50, 50));
    advance(1);
    auto entry = tapValueButton(cell);
    auto field = entry->textFieldAtIndex(0);
    field->typeText("12");
    key(field, "Negate")->tap();
    ASSERT_EQ(itemTitles(field), (std::vector<std::string>{"Negate"}));
    field->pasteText(".5");  // a wide range has no point key
    ASSERT_EQ(field->text(), "-12.5");
    entry->clickButtonAtIndex(1);

    EXPECT_EQ(cell->control()->value(), -12.5f);
    EXPECT_FALSE(field->isFirstResponder());
    EXPECT_TRUE(UIAlertView::visibleAlerts().empty());
    auto stored = storedValue();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->number(), -12.5);

    const auto& log = host::EventLog::shared().events();
    std::vector<std::string> kinds;
    for (const auto& e : log)
        if (e.kind != "alert") kinds.push_back(e.kind);
    EXPECT_EQ(kinds, (std::vector<std::string>{"preference", "synchronize"}));

    advance(0.19);
    EXPECT_TRUE(events("notification").empty());
    advance(0.02);
    auto posts = events("notification");
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0].field("name"), kReload);
    EXPECT_DOUBLE_EQ(posts[0].time, 1.2);
    ASSERT_EQ(delivered.size(), 1u);
    EXPECT_EQ(delivered[0].first, kReload);
}

TEST_F(KXVelkaroSliderCellTest, TwoQuickAcceptancesPostTwice) {
    auto cell = makeCell(sliderRow(0, 10));
    enterText(cell, "3");
    advance(0.1);
    enterText(cell, "4");
    advance(1);
    auto posts = events("notification");
    ASSERT_EQ(posts.size(), 2u);
    EXPECT_DOUBLE_EQ(posts[0].time, 0.2);
    EXPECT_DOUBLE_EQ(posts[1].time, 0.3);
    EXPECT_EQ(storedValue()->number(), 4.0);
    EXPECT_EQ(events("preference").size(), 2u);
}

TEST_F(KXVelkaroSliderCellTest, PostHappensAfterHostLetGoOfCell) {
    auto cell = makeCell(sliderRow(0, 10));
    std::weak_ptr<KXVelkaroSliderCell> watch = cell;
    enterText(cell, "6");
    cell.reset();
    EXPECT_FALSE(watch.expired());
    advance(0.2);
    auto posts = events("notification");
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0].field("name"), kReload);
    EXPECT_TRUE(watch.expired());  // nothing else keeps it
}

// The name is read when the post runs; a row without one posts nothing and complains nowhere.
TEST_F(KXVelkaroSliderCellTest, NotificationNameIsReadWhenPosting) {
    auto row = sliderRow(0, 10);
    auto cell = makeCell(row);
    enterText(cell, "2");
    row->setProperty("com.mornvale.velkaro/Other", "PostNotification");
    advance(0.2);
    ASSERT_EQ(events("notification").size(), 1u);
    EXPECT_EQ(events("notification")[0].field("name"), "com.mornvale.velkaro/Other");

    freshState();
    enterText(cell, "3");
    row->setProperty(PlistValue(), "PostNotification");
    advance(1);
    EXPECT_EQ(storedValue()->number(), 3.0);
    EXPECT_TRUE(events("notification").empty());
    EXPECT_TRUE(diagnostics().empty());
}

TEST_F(KXVelkaroSliderCellTest, NegateAndPointKeysEditTheField) {
    struct Case {
        std::string text, keys, expected;
    };
    const std::vector<Case> cases = {
        {"7", "-", "-7"},
        {"7", "--", "7"},
        {"", "-", "-"},
        {"--3", "-", "-3"},
        {"7", ".", "7."},
        {"7", "..", "7.."},
        {"1.5", ".", "1.5."},
        {"2", ".-", "-2."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text + " + " + c.keys);
        freshState();
        auto cell = makeCell(sliderRow(-1, 1));
        auto field = tapValueButton(cell)->textFieldAtIndex(0);
        field->setText(c.text);
        for (char k : c.keys) {
            if (k == '-') key(field, "Negate")->tap();
            else if (k == '.') key(field, "Point")->tap();
        }
        EXPECT_EQ(field->text(), c.expected);
    }
}

// Before any pop-up the keys have no field to edit; the first pop-up starts empty.
TEST_F(KXVelkaroSliderCellTest, KeysBeforeFirstPopupDoNothing) {
    auto cell = makeCell(sliderRow(-1, 1));
    EXPECT_TRUE(cell->performSelector("typeMinus"));
    EXPECT_TRUE(cell->performSelector("typePoint"));
    EXPECT_TRUE(UIAlertView::visibleAlerts().empty());
    EXPECT_TRUE(cell->performSelector("presentPopup"));
    EXPECT_EQ(UIAlertView::topAlert()->textFieldAtIndex(0)->text(), "");
}

// A later entry pop-up replaces the earlier one as the keys' target.
TEST_F(KXVelkaroSliderCellTest, KeysEditTheLatestEntryPopup) {
    auto cell = makeCell(sliderRow(-1, 1));
    auto first = tapValueButton(cell);
    first->clickButtonAtIndex(0);
    auto second = tapValueButton(cell);
    second->textFieldAtIndex(0)->setText("4");
    key(first->textFieldAtIndex(0), "Negate")->tap();
    EXPECT_EQ(second->textFieldAtIndex(0)->text(), "-4");
    EXPECT_EQ(first->textFieldAtIndex(0)->text(), "");
}

}  // namespace
