#include "cells/KXVelkaroSliderCell.h"

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "host/Preferences/PSClassFactories.h"
#include "host/Runtime/PropertyList.h"
#include "host/Runtime/DeviceProfile.h"
#include "host/Runtime/FailureInjection.h"
#include "host/UIKit/UIBarButtonItem.h"
#include "host/UIKit/UIButton.h"
#include "host/UIKit/UIToolbar.h"
#include "tests/support/DeviceFixture.h"

namespace {

constexpr const char* kPrefsPath = "/var/mobile/Library/Preferences/com.mornvale.velkaro.plist";
constexpr const char* kReload = "com.mornvale.velkaro/ReloadPrefs";
using Keys = std::vector<std::string>;
using Text = std::optional<std::string>;
using Bound = PlistValue;  // missing (nil), a number, or any other plist value

std::shared_ptr<PSSpecifier> sliderRow(Bound min, Bound max) {
    auto row = std::make_shared<PSSpecifier>();
    row->setName("Corner radius");
    row->setCellType(PSSliderCell);
    row->setCellClassName("KXVelkaroSliderCell");
    for (const auto& [key, value] : PlistValue::Dictionary{{"defaults", "com.mornvale.velkaro"}, {"key", "cornerRadius"},
             {"min", min}, {"max", max}, {"PostNotification", kReload}})
        row->setProperty(value, key);
    return row;
}

std::shared_ptr<UIToolbar> toolbarOf(const std::shared_ptr<UITextField>& field) {
    return std::dynamic_pointer_cast<UIToolbar>(field->inputAccessoryView());
}

// Taps the keypad toolbar key titled `title`.
void tapKey(const std::shared_ptr<UITextField>& field, const std::string& title) {
    if (auto toolbar = toolbarOf(field))
        for (const auto& item : toolbar->items())
            if (item->title() == title) return item->tap();
    ADD_FAILURE() << "no key " << title;
}

class KXVelkaroSliderCellTest : public DeviceFixture {
protected:
    // As the host makes a row's cell: by the class name the row gives.
    std::shared_ptr<KXVelkaroSliderCell> makeCell(const std::shared_ptr<PSSpecifier>& row, NSInteger style = 0) {
        return std::dynamic_pointer_cast<KXVelkaroSliderCell>(
            host::createCell(row->cellClassName(), style, "slider", row));
    }
    // What sits under a finger `fromRight` points from the row's right edge.
    static std::shared_ptr<UIButton> buttonAtRightEnd(const std::shared_ptr<KXVelkaroSliderCell>& cell, CGFloat fromRight = 1) {
        const CGSize size = cell->frame().size;
        return std::dynamic_pointer_cast<UIButton>(cell->hitTest({size.width - fromRight, size.height / 2}));
    }
    // A user's tap on the row's right end; returns the pop-up it opened.
    std::shared_ptr<UIAlertView> tapValueButton(const std::shared_ptr<KXVelkaroSliderCell>& cell) {
        auto button = buttonAtRightEnd(cell);
        EXPECT_NE(button, nullptr);
        if (button) button->tap();
        return button ? UIAlertView::topAlert() : nullptr;
    }
    // Opens the entry pop-up, pastes `text` into its field and presses "Enter".
    void enterText(const std::shared_ptr<KXVelkaroSliderCell>& cell, const std::string& text) {
        auto entry = tapValueButton(cell);
        ASSERT_NE(entry, nullptr);
        entry->textFieldAtIndex(0)->setText(text);
        entry->clickButtonAtIndex(1);
    }
    std::optional<PlistValue> storedValue() const {
        auto stored = host::PropertyList::readFile(hostPath(kPrefsPath));
        if (!stored || (*stored)["cornerRadius"].isNil()) return std::nullopt;
        return (*stored)["cornerRadius"];
    }
    // Nothing stored, synchronized or posted, even later.
    void expectNothingStoredOrPosted() {
        advance(1);
        EXPECT_FALSE(storedValue());
        for (const char* kind : {"preference", "synchronize", "notification"}) EXPECT_TRUE(events(kind).empty()) << kind;
    }
    // A fresh entry pop-up of `cell`: empty number field, first responder, "Cancel" and "Enter".
    static void expectEntryPopup(const std::shared_ptr<UIAlertView>& entry, const std::shared_ptr<KXVelkaroSliderCell>& cell) {
        ASSERT_TRUE(entry && entry->textFieldAtIndex(0));
        auto field = entry->textFieldAtIndex(0);
        EXPECT_EQ(std::tuple(entry->title(), entry->alertViewStyle(), entry->buttonTitleAtIndex(0), entry->buttonTitleAtIndex(1),
                      field->text(), field->isFirstResponder()),
            std::tuple(Text("Corner radius"), UIAlertViewStylePlainTextInput, Text("Cancel"), Text("Enter"), std::string(), true));
        EXPECT_EQ(entry->delegate(), std::static_pointer_cast<UIAlertViewDelegate>(cell));
        EXPECT_EQ(field->delegate(), std::static_pointer_cast<UITextFieldDelegate>(cell));
    }
};

// Default style whatever was asked, the track tints, and an untitled value button over the last
// 50 points of the row, also after the host resizes the cell.
TEST_F(KXVelkaroSliderCellTest, CreationColoursTrackAndValueButtonFollowsTheRightEdge) {
    auto cell = makeCell(sliderRow(0, 10), UITableViewCellStyleValue1);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->style(), UITableViewCellStyleDefault);
    EXPECT_EQ(cell->control()->minimumTrackTintColor(), UIColor::colorWithRed(65 / 255.0f, 169 / 255.0f, 214 / 255.0f, 1));
    EXPECT_EQ(cell->control()->maximumTrackTintColor(), UIColor::colorWithRed(22 / 255.0f, 36 / 255.0f, 51 / 255.0f, 1));
    auto button = buttonAtRightEnd(cell);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->titleForState(UIControlStateNormal), "");
    EXPECT_EQ(button->frame(), CGRectMake(cell->frame().size.width - 50, 0, 50, cell->frame().size.height));
    for (CGFloat width : {768.0, 200.0}) {
        cell->setFrame(CGRectMake(0, 0, width, 60));
        EXPECT_TRUE(buttonAtRightEnd(cell, 50) == button && buttonAtRightEnd(cell, 51) != button) << width;
    }
    host::FailureInjection::failNextInitialiser("PSTableCell");
    EXPECT_EQ(makeCell(sliderRow(0, 10)), nullptr);
}

// The entry pop-up states the range and asks for a number; phones get the keys the range needs,
// pads none, unless the device cannot answer the idiom query.
TEST_F(KXVelkaroSliderCellTest, EntryPopupStatesTheRangeAndItsKeypadHoldsTheKeysTheRangeNeeds) {
    // The range as the message states it; the toolbar's keys (none: no toolbar at all).
    const struct { Bound min, max; const char* range; Keys keys; const char* profile = "iphone6s"; bool answersIdiom = true; } cases[] = {
        {-1, 1, "-1.0 and 1.0", {"Negate", "Point"}}, {-100, 100, "-100.0 and 100.0", {"Negate"}}, {0, 10.5, "0.0 and 10.5", {}},
        {0, 10, "0.0 and 10.0", {"Point"}},                // a span of exactly 10 is narrow; 0 is not negative
        {0.1, 10.1, "0.1 and 10.1", {"Point"}},            // the span is 10 in single precision
        {{}, {}, "0.0 and 0.0", {"Point"}},                // missing bounds read as 0
        {"-3", "4", "-3.0 and 4.0", {"Negate", "Point"}},  // numeric strings serve as numbers
        {std::nan(""), 5, "nan and 5.0", {}}, {-3, std::nan(""), "-3.0 and nan", {"Negate"}},  // a NaN bound fails both tests
        {-1, 1, "-1.0 and 1.0", {}, "ipad-air2"}, {0, 10, "0.0 and 10.0", {}, "ipad-air2"},
        {-1, 1, "-1.0 and 1.0", {"Negate", "Point"}, "ipad-air2", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.profile) + " " + c.min.description() + " .. " + c.max.description());
        freshDevice();
        useProfile(c.profile);
        host::DeviceProfile::mutableCurrent().answersIdiomQuery = c.answersIdiom;
        auto cell = makeCell(sliderRow(c.min, c.max));
        auto entry = tapValueButton(cell);
        expectEntryPopup(entry, cell);
        EXPECT_EQ(entry->message(), "Please enter a value between " + std::string(c.range) + ".");
        EXPECT_EQ(entry->textFieldAtIndex(0)->keyboardType(), UIKeyboardTypeNumberPad);
        auto toolbar = toolbarOf(entry->textFieldAtIndex(0));
        ASSERT_EQ(toolbar == nullptr, c.keys.empty());  // the keys themselves are tapped in the tests below
        if (!toolbar) continue;
        Keys titles;
        for (const auto& item : toolbar->items()) titles.push_back(item->title().value_or("?"));
        EXPECT_EQ(titles, c.keys);
        EXPECT_EQ(toolbar->frame(), CGRectMake(0, 0, c.answersIdiom ? 375 : 768, 44));
    }
}

TEST_F(KXVelkaroSliderCellTest, RangeIsClosedAndTextReadsAsSinglePrecisionNumber) {
    const struct { Bound min, max; std::string text; std::optional<float> stored; /* nothing: refused */ } cases[] = {
        {0, 10, "0", 0.0f}, {0, 10, "10", 10.0f}, {0, 10, "10.5", std::nullopt},
        {-50, 50, "-50", -50.0f}, {-50, 50, "-50.01", std::nullopt}, {-50, 50, "50.001", std::nullopt},
        {0, 1, "1.0000001", std::nullopt}, {0, 1, "1.00000001", 1.0f},  // single precision: above 1, and 1
        {0, 10, "0.3", 0.3f}, {0, 10, " 2.5abc", 2.5f},  // text is read as the platform reads it
        {0, 10, "", 0.0f}, {1, 10, "", std::nullopt},    // an empty field reads as 0
        {0, 10, "1e50", std::nullopt},                   // overflows to infinity
        {{}, {}, "0", 0.0f}, {{}, {}, "0.1", std::nullopt}, {"-2", "2", "-2", -2.0f},
        {std::nan(""), 10, "-5", -5.0f},  // a NaN bound refuses nothing on its side
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.min.description() + " .. " + c.max.description() + " \"" + c.text + "\"");
        freshDevice();
        auto cell = makeCell(sliderRow(c.min, c.max));
        const float before = cell->control()->value();
        enterText(cell, c.text);
        auto alert = UIAlertView::topAlert();  // none once accepted, else the error pop-up
        EXPECT_EQ(alert ? alert->tag() : -1, c.stored ? -1 : 85230234);
        EXPECT_EQ(cell->control()->value(), c.stored.value_or(before));
        if (!c.stored) {
            expectNothingStoredOrPosted();
            continue;
        }
        ASSERT_TRUE(storedValue());
        EXPECT_EQ(storedValue()->number(), double{*c.stored});
        EXPECT_TRUE(storedValue()->isReal()) << "stored as <real>, whole numbers too";
    }
}

// 5.5 typed with the keypad keys into a 0..5 row: the error pop-up, then a new, empty entry pop-up,
// which "Cancel" takes away with the keyboard; nothing is stored or posted.
TEST_F(KXVelkaroSliderCellTest, RefusedValueShowsErrorThenFreshEntryPopupAndCancelStoresNothing) {
    auto cell = makeCell(sliderRow(0, 5));
    cell->setValue(PlistValue(2.0));
    auto entry = tapValueButton(cell);
    auto field = entry->textFieldAtIndex(0);
    EXPECT_EQ(field->typeText("5"), 1u);
    tapKey(field, "Point");
    field->typeText("5");
    ASSERT_EQ(field->text(), "5.5");
    entry->clickButtonAtIndex(1);

    auto error = UIAlertView::topAlert();
    ASSERT_NE(error, nullptr);
    EXPECT_FALSE(entry->isVisible() || field->isFirstResponder());
    EXPECT_EQ(std::tuple(error->title(), error->message(), error->alertViewStyle(), error->numberOfButtons(), error->buttonTitleAtIndex(0)),
        std::tuple(Text("Error"), Text("Ensure you enter a valid value."), UIAlertViewStyleDefault, NSInteger(1), Text("OK")));
    EXPECT_EQ(cell->control()->value(), 2.0f);

    error->clickButtonAtIndex(0);
    auto again = UIAlertView::topAlert();
    EXPECT_NE(again, entry);
    expectEntryPopup(again, cell);
    EXPECT_EQ(UIAlertView::visibleAlerts().size(), 1u);
    again->textFieldAtIndex(0)->typeText("3");
    again->clickButtonAtIndex(0);
    EXPECT_FALSE(again->textFieldAtIndex(0)->isFirstResponder() || !UIAlertView::visibleAlerts().empty());
    EXPECT_EQ(cell->control()->value(), 2.0f);
    expectNothingStoredOrPosted();
}

// -12.5 typed on the keypad with its keys, confirmed at t = 1.
TEST_F(KXVelkaroSliderCellTest, AcceptedValueMovesSliderStoresSynchronizesThenPostsAfterDelay) {
    auto cell = makeCell(sliderRow(-50, 50));
    advance(1);
    auto entry = tapValueButton(cell);
    auto field = entry->textFieldAtIndex(0);
    field->typeText("12");
    tapKey(field, "Negate");
    field->pasteText(".5");  // a wide range has no point key
    ASSERT_EQ(field->text(), "-12.5");
    entry->clickButtonAtIndex(1);

    EXPECT_EQ(std::tuple(cell->control()->value(), field->isFirstResponder(), storedValue()), std::tuple(-12.5f, false, PlistValue(-12.5)));
    Keys kinds;
    for (const auto& e : host::EventLog::shared().events())
        if (e.kind != "alert") kinds.push_back(e.kind);
    EXPECT_EQ(kinds, (Keys{"preference", "synchronize"}));

    advance(0.19);
    EXPECT_TRUE(events("notification").empty());
    advance(0.02);
    auto posts = events("notification");
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0].field("name"), kReload);
    EXPECT_DOUBLE_EQ(posts[0].time, 1.2);
}

// The row is read at each use, not kept from creation: the range when the value is entered, the
// name when the post runs. Two quick acceptances post twice, even once the host has let go of the
// cell, and a row without a name posts nothing and complains nowhere.
TEST_F(KXVelkaroSliderCellTest, RangeAndNotificationNameAreReadFromTheRowAtEachUse) {
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
    freshDevice();
    row->setProperty(10.0, "max");
    cell = makeCell(row);
    std::weak_ptr<KXVelkaroSliderCell> watch = cell;
    enterText(cell, "3");
    advance(0.1);
    enterText(cell, "4");
    row->setProperty("com.mornvale.velkaro/Other", "PostNotification");
    cell.reset();
    EXPECT_FALSE(watch.expired());
    advance(1);
    EXPECT_TRUE(watch.expired());  // nothing else keeps it
    auto posts = events("notification");
    ASSERT_EQ(posts.size(), 2u);
    EXPECT_DOUBLE_EQ(posts[0].time, 0.2);
    EXPECT_DOUBLE_EQ(posts[1].time, 0.3);
    EXPECT_EQ(posts[1].field("name"), "com.mornvale.velkaro/Other");
    EXPECT_EQ(storedValue()->number(), 4.0);

    freshDevice();
    cell = makeCell(row);
    enterText(cell, "3");
    row->setProperty(PlistValue(), "PostNotification");
    advance(1);
    EXPECT_EQ(storedValue()->number(), 3.0);
    EXPECT_TRUE(events("notification").empty() && diagnostics().empty());
}

// The keys edit the latest entry pop-up's field; before any pop-up they have nothing to edit.
TEST_F(KXVelkaroSliderCellTest, NegateAndPointKeysEditTheLatestField) {
    const std::tuple<std::string, std::string, std::string> cases[] = {  // text, keys, text afterwards
        {"7", "-", "-7"}, {"7", "--", "7"}, {"", "-", "-"}, {"--3", "-", "-3"},
        {"7", ".", "7."}, {"7", "..", "7.."}, {"1.5", ".", "1.5."}, {"2", ".-", "-2."},
    };
    for (const auto& [text, keys, expected] : cases) {
        freshDevice();
        auto cell = makeCell(sliderRow(-1, 1));  // the keys hold their target weakly
        auto field = tapValueButton(cell)->textFieldAtIndex(0);
        field->setText(text);
        for (char k : keys) tapKey(field, k == '-' ? "Negate" : "Point");
        EXPECT_EQ(field->text(), expected) << text << " + " << keys;
    }
    auto cell = makeCell(sliderRow(-1, 1));
    EXPECT_TRUE(cell->performSelector("typeMinus") && cell->performSelector("typePoint"));
    auto first = tapValueButton(cell);
    EXPECT_EQ(first->textFieldAtIndex(0)->text(), "");
    first->clickButtonAtIndex(0);
    auto second = tapValueButton(cell);
    second->textFieldAtIndex(0)->setText("4");
    tapKey(first->textFieldAtIndex(0), "Negate");
    EXPECT_EQ(second->textFieldAtIndex(0)->text(), "-4");
    EXPECT_EQ(first->textFieldAtIndex(0)->text(), "");
}

}  // namespace
