#include "cells/KXVelkaroSliderCell.h"

#include <cmath>
#include <vector>

#include "cells/KXVelkaroDeviceIdiom.h"
#include "host/CoreFoundation/CFNotificationCenter.h"
#include "host/Preferences/PSClassFactories.h"
#include "host/Foundation/NSString.h"
#include "host/Foundation/NSUserDefaults.h"
#include "host/Preferences/PSRootController.h"
#include "host/System/Dispatch.h"
#include "host/UIKit/UIBarButtonItem.h"
#include "host/UIKit/UIButton.h"
#include "host/UIKit/UIScreen.h"
#include "host/UIKit/UIToolbar.h"

namespace {

constexpr NSInteger kEntryPopupTag = 342879;
constexpr NSInteger kErrorPopupTag = 85230234;
constexpr CGFloat kValueButtonWidth = 50;
constexpr CGFloat kKeypadToolbarHeight = 44;
constexpr std::int64_t kNotificationDelay = 200000000;  // nanoseconds
// A span this small or smaller likely needs fractions, so the keypad gets a point key.
constexpr float kNarrowSpan = 10;

}  // namespace

std::shared_ptr<KXVelkaroSliderCell> KXVelkaroSliderCell::initWithStyle(NSInteger, const std::string& reuseIdentifier,
    const std::shared_ptr<PSSpecifier>& specifier) {
    auto cell = std::make_shared<KXVelkaroSliderCell>();
    if (!cell->initialiseSlider(UITableViewCellStyleDefault, reuseIdentifier, specifier)) return nullptr;

    cell->_label = cell->rowProperty("label").text();
    cell->_footerLabel = cell->rowProperty("subtitle").text();

    const auto& slider = cell->control();
    slider->setMinimumTrackTintColor(UIColor::colorWithRed(65 / 255.0f, 169 / 255.0f, 214 / 255.0f, 1.0f));
    slider->setMaximumTrackTintColor(UIColor::colorWithRed(22 / 255.0f, 36 / 255.0f, 51 / 255.0f, 1.0f));

    // The button keeps to the row's right end when the host resizes the cell (flexible left margin).
    const CGRect frame = cell->frame();
    auto button = UIButton::buttonWithType(UIButtonTypeSystem);
    button->setFrame(CGRectMake(frame.size.width - kValueButtonWidth, 0, kValueButtonWidth, frame.size.height));
    button->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin);
    button->setTitle("", UIControlStateNormal);
    button->addTarget(cell, "presentPopup", UIControlEventTouchUpInside);
    cell->addSubview(button);

    cell->exposeSelector("presentPopup", [c = cell.get()](const id&) { c->presentPopup(); });
    cell->exposeSelector("typeMinus", [c = cell.get()](const id&) { c->typeMinus(); });
    cell->exposeSelector("typePoint", [c = cell.get()](const id&) { c->typePoint(); });
    return cell;
}

PlistValue KXVelkaroSliderCell::rowProperty(const std::string& key) const {
    return specifier() ? specifier()->propertyForKey(key) : PlistValue();
}

void KXVelkaroSliderCell::presentPopup() {
    auto self = sharedAs<KXVelkaroSliderCell>();
    const auto title = specifier() ? specifier()->name() : std::nullopt;
    const auto message = NSString::stringWithFormat("Please enter a value between %.01f and %.01f.",
        double{rowProperty("min").floatValue()}, double{rowProperty("max").floatValue()});
    alert = UIAlertView::initWithTitle(title, message, self, "Cancel", {"Enter"});
    alert->setAlertViewStyle(UIAlertViewStylePlainTextInput);
    alert->setTag(kEntryPopupTag);
    alert->show();

    auto field = alert->textFieldAtIndex(0);
    field->setDelegate(self);
    field->resignFirstResponder();
    field->setKeyboardType(UIKeyboardTypeNumberPad);

    // The number pad has digits only; a phone gets the keys the range needs on a toolbar above it.
    // Comparisons with a bound that is not a number are false, so such a bound adds no key.
    const float min = rowProperty("min").floatValue();
    const float max = rowProperty("max").floatValue();
    const bool negative = min < 0;
    const float span = max - min;
    const bool narrow = span <= kNarrowSpan;
    if (!KXVelkaroDeviceIsPad() && (negative || narrow)) {
        auto toolbar = UIToolbar::initWithFrame(
            CGRectMake(0, 0, UIScreen::mainScreen()->bounds().size.width, kKeypadToolbarHeight));
        auto negate = UIBarButtonItem::initWithTitle("Negate", UIBarButtonItemStylePlain, self, "typeMinus");
        auto point = UIBarButtonItem::initWithTitle("Point", UIBarButtonItemStylePlain, self, "typePoint");
        std::vector<std::shared_ptr<UIBarButtonItem>> items;
        if (negative) items.push_back(negate);
        if (narrow) items.push_back(point);
        toolbar->setItems(std::move(items), false);
        field->setInputAccessoryView(toolbar);
    }
    field->becomeFirstResponder();
}

void KXVelkaroSliderCell::typeMinus() {
    if (!alert) return;
    auto field = alert->textFieldAtIndex(0);
    if (!field) return;
    const std::string text = field->text();
    field->setText(NSString::hasPrefix(text, "-") ? NSString::substringFromIndex(text, 1)
                                                   : NSString::stringWithFormat("-%@", text));
}

void KXVelkaroSliderCell::typePoint() {
    if (!alert) return;
    auto field = alert->textFieldAtIndex(0);
    if (!field) return;
    field->setText(NSString::stringWithFormat("%@.", field->text()));
}

void KXVelkaroSliderCell::clickedButtonAtIndex(const std::shared_ptr<UIAlertView>& alertView, NSInteger buttonIndex) {
    if (!alertView) return;
    if (alertView->tag() == kErrorPopupTag) {
        presentPopup();
        return;
    }
    if (alertView->tag() != kEntryPopupTag) return;

    auto field = alertView->textFieldAtIndex(0);
    if (buttonIndex == 1) {
        const float value = NSString::floatValue(field ? field->text() : std::string());
        // max is read, and tested, before min; both bounds belong to the range.
        const bool refused = value > rowProperty("max").floatValue() || value < rowProperty("min").floatValue() ||
                             std::isnan(value);
        if (!refused) {
            setValue(PlistValue(value));
            PSRootController::setPreferenceValue(PlistValue(value), specifier());
            NSUserDefaults::standardUserDefaults()->synchronize();
            // The block keeps the cell alive until it has posted, even if the host lets go of it.
            dispatch_after(dispatch_time(DISPATCH_TIME_NOW, kNotificationDelay), dispatch_get_main_queue(),
                [self = sharedAs<KXVelkaroSliderCell>()] { self->postChangeNotification(); });
        } else {
            auto error = UIAlertView::initWithTitle("Error", "Ensure you enter a valid value.",
                sharedAs<KXVelkaroSliderCell>(), "OK", {});
            error->setTag(kErrorPopupTag);
            error->show();
        }
    }
    if (field) field->resignFirstResponder();
}

void KXVelkaroSliderCell::postChangeNotification() const {
    // A row without a name has nothing to announce: posting a nameless notification is invalid.
    const auto name = rowProperty("PostNotification").text();
    if (!name || name->empty()) return;
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), *name, nullptr, nullptr, true);
}

static host::RegisterCell<KXVelkaroSliderCell> registration;
