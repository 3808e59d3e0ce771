#include "simulator/ModalLayout.h"

#include <algorithm>
#include <cmath>

#include "host/Preferences/HostStrings.h"
#include "host/Runtime/DeviceProfile.h"
#include "host/UIKit/TextMetrics.h"
#include "host/UIKit/UIAlertView.h"
#include "host/UIKit/UIToolbar.h"
#include "simulator/NumberPad.h"
#include "simulator/ScreenLayout.h"

namespace sim {

ModalLayout::Alert ModalLayout::alert(const UIAlertView& view, CGSize screen) {
    Alert a;
    const CGFloat width = ScreenLayout::kAlertWidth;
    const CGFloat textWidth = width - 2 * kAlertPadding;
    CGFloat y = kAlertPadding + 4;
    if (view.title()) {
        const CGSize s = host::TextMetrics::sizeOfText(*view.title(), UIFont::boldSystemFontOfSize(kAlertTitleFontSize), 0, textWidth);
        a.title = CGRectMake(kAlertPadding, y, textWidth, s.height);
        y += s.height + 4;
    }
    if (view.message()) {
        const CGSize s = host::TextMetrics::sizeOfText(*view.message(), UIFont::systemFontOfSize(kAlertMessageFontSize), 0, textWidth);
        a.message = CGRectMake(kAlertPadding, y, textWidth, s.height);
        y += s.height;
    }
    auto field = view.textFieldAtIndex(0);
    if (field) {
        y += 12;
        a.field = CGRectMake(kAlertPadding, y, textWidth, kAlertFieldHeight);
        y += kAlertFieldHeight;
    }
    y += kAlertPadding + 4;
    const NSInteger count = view.numberOfButtons();
    const CGFloat buttonsTop = y;
    if (count == 2) {
        y += ScreenLayout::kAlertButtonHeight;
    } else {
        y += ScreenLayout::kAlertButtonHeight * CGFloat(count);
    }
    const CGFloat height = y;

    // The keyboard, with the keypad toolbar riding on it, while the field is focused.
    CGFloat available = screen.height;
    if (field && field->isFirstResponder()) {
        CGFloat keyboardTop = screen.height - NumberPad::keyboardHeight();
        a.keyboard = CGRectMake(0, keyboardTop, screen.width, NumberPad::keyboardHeight());
        if (std::dynamic_pointer_cast<UIToolbar>(field->inputAccessoryView())) {
            keyboardTop -= kKeypadToolbarHeight;
            a.toolbar = CGRectMake(0, keyboardTop, screen.width, kKeypadToolbarHeight);
            a.keyboard.origin.y = keyboardTop;
            a.keyboard.size.height += kKeypadToolbarHeight;
            CGFloat x = 8;
            for (const auto& item : std::static_pointer_cast<UIToolbar>(field->inputAccessoryView())->items()) {
                const std::string title = item ? item->title().value_or("") : std::string();
                const CGFloat w = host::TextMetrics::sizeOfText(title, UIFont::systemFontOfSize(kKeyFontSize)).width + 20;
                a.keys.push_back({title, CGRectMake(x, keyboardTop, w, kKeypadToolbarHeight)});
                x += w + 8;
            }
        }
        available = keyboardTop;
    }
    const CGFloat top = std::max<CGFloat>(ScreenLayout::kStatusBarHeight, (available - height) / 2);
    a.box = CGRectMake((screen.width - width) / 2, top, width, height);
    auto place = [&](CGRect r) {
        if (r.size.width == 0 && r.size.height == 0) return r;
        r.origin.x += a.box.origin.x;
        r.origin.y += a.box.origin.y;
        return r;
    };
    a.title = place(a.title);
    a.message = place(a.message);
    a.field = place(a.field);
    for (NSInteger i = 0; i < count; ++i) {
        CGRect r = count == 2 ? CGRectMake(i * width / 2, buttonsTop, width / 2, ScreenLayout::kAlertButtonHeight)
                              : CGRectMake(0, buttonsTop + i * ScreenLayout::kAlertButtonHeight, width,
                                    ScreenLayout::kAlertButtonHeight);
        a.buttons.push_back({view.buttonTitleAtIndex(i).value_or(""), place(r)});
    }
    return a;
}

CGRect ModalLayout::sheetCard(CGSize screen) {
    const CGFloat width = std::min<CGFloat>(screen.width - 16, 540);
    return CGRectMake((screen.width - width) / 2, ScreenLayout::kStatusBarHeight + 40, width, 210);
}

namespace {

// A bar's cancel button from `left` and its confirming one ending at `right`, each as wide as
// its text in the device's language (plain and bold) with a margin either side.
std::vector<ModalLayout::Button> barButtons(CGFloat left, CGFloat right, CGFloat top, CGFloat height,
    const std::string& confirmKey) {
    constexpr CGFloat kMargin = 8;
    const std::string cancel = host::HostStrings::localized("Cancel"), confirm = host::HostStrings::localized(confirmKey);
    const CGFloat cancelWidth = host::TextMetrics::sizeOfText(cancel, UIFont::systemFontOfSize(17)).width + 2 * kMargin;
    const CGFloat confirmWidth = host::TextMetrics::sizeOfText(confirm, UIFont::boldSystemFontOfSize(17)).width + 2 * kMargin;
    return {{cancel, CGRectMake(left, top, cancelWidth, height)},
            {confirm, CGRectMake(right - confirmWidth, top, confirmWidth, height)}};
}

}  // namespace

std::vector<ModalLayout::Button> ModalLayout::sheetButtons(CGSize screen) {
    const CGRect card = sheetCard(screen);
    return barButtons(card.minX(), card.maxX(), card.minY(), 44, "Post");
}

bool ModalLayout::composerIsFormSheet() { return host::DeviceProfile::current().userInterfaceIdiom == 1; }

CGRect ModalLayout::composerFrame(CGSize screen) {
    if (!composerIsFormSheet()) return CGRectMake(0, 0, screen.width, screen.height);
    return CGRectMake(std::round((screen.width - kFormSheetWidth) / 2), std::round((screen.height - kFormSheetHeight) / 2),
        kFormSheetWidth, kFormSheetHeight);
}

CGRect ModalLayout::composerPage(CGSize screen) {
    CGRect page = composerFrame(screen);
    if (composerIsFormSheet()) {
        page.origin.y -= ScreenLayout::kStatusBarHeight;
        page.size.height += ScreenLayout::kStatusBarHeight;
    }
    return page;
}

std::vector<ModalLayout::Button> ModalLayout::composerButtons(CGSize page) {
    const CGFloat barTop = ScreenLayout::kStatusBarHeight, barHeight = ScreenLayout::kNavigationBarHeight;
    return barButtons(0, page.width, barTop, barHeight, "Send");
}

std::vector<ModalLayout::Button> ModalLayout::composerButtonsOnScreen(CGSize screen) {
    const CGRect page = composerPage(screen);
    auto buttons = composerButtons(page.size);
    for (auto& b : buttons) {
        b.frame.origin.x += page.minX();
        b.frame.origin.y += page.minY();
    }
    return buttons;
}

}  // namespace sim
