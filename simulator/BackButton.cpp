#include "simulator/BackButton.h"

#include <algorithm>

#include "host/Preferences/HostStrings.h"
#include "host/UIKit/TextMetrics.h"
#include "host/UIKit/UIFont.h"
#include "host/UIKit/UIView.h"
#include "host/UIKit/UIViewController.h"
#include "simulator/ScreenColumns.h"
#include "simulator/SettingsApp.h"

namespace sim {
namespace {

constexpr CGFloat kTitleGap = 8;   // between the back text and the centred title
constexpr CGFloat kTextEnd = 6;    // after the back text, to the button's end

}  // namespace

BackButton BackButton::choose(const std::string& previousTitle, CGFloat room,
    const std::function<CGFloat(const std::string&)>& measure) {
    BackButton button;
    for (const std::string& candidate : {previousTitle, host::HostStrings::localized("Back")}) {
        if (candidate.empty()) continue;
        if (const CGFloat width = measure(candidate); width <= room) {
            button.text = candidate;
            button.width = kTextX + width + kTextEnd;
            return button;
        }
    }
    button.width = kTextX;
    return button;
}

std::optional<BackButton> BackButton::of(const SettingsApp& app) {
    if (!app.canGoBack()) return std::nullopt;
    // The bar is the pane's column's: the whole screen on a phone, the right column on a pad.
    const CGFloat screenWidth = ScreenColumns::paneFrame(app.screenSize()).width();
    // The title in the middle of the bar keeps its room; the back text has what is left of its half.
    CGFloat titleWidth = 0;
    if (auto controller = app.visibleController()) {
        auto item = controller->navigationItem();
        std::optional<std::string> title = item->title();
        if (!title) title = controller->title();
        if (const auto& view = item->titleView()) titleWidth = view->frame().width();
        else if (title && !title->empty())
            titleWidth = host::TextMetrics::sizeOfText(*title, UIFont::boldSystemFontOfSize(kFontSize)).width;
    }
    const CGFloat room = std::max<CGFloat>(0, (screenWidth - titleWidth) / 2 - kTitleGap - kTextX);
    const UIFont font = UIFont::systemFontOfSize(kFontSize);
    auto button = choose(app.backTitle().value_or(""), room,
        [&](const std::string& text) { return host::TextMetrics::sizeOfText(text, font).width; });
    button.width = std::max(button.width, kMinimumTapWidth);
    return button;
}

}  // namespace sim
