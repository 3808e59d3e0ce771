#include "host/UIKit/UIAlertView.h"

#include <algorithm>

#include "host/Runtime/EventLog.h"
#include "host/Runtime/SimulatedDevice.h"

namespace {
std::vector<std::shared_ptr<UIAlertView>>& shown() {
    static std::vector<std::shared_ptr<UIAlertView>> alerts;
    return alerts;
}
const host::SimulatedDevice::ResetStep forgetShownAlerts{[] { shown().clear(); }};
}  // namespace

std::shared_ptr<UIAlertView> UIAlertView::initWithTitle(std::optional<std::string> title,
    std::optional<std::string> message, const std::shared_ptr<UIAlertViewDelegate>& delegate,
    std::optional<std::string> cancelButtonTitle, std::vector<std::string> otherButtonTitles) {
    auto alert = std::make_shared<UIAlertView>();
    alert->_title = std::move(title);
    alert->_message = std::move(message);
    alert->_delegate = delegate;
    if (cancelButtonTitle) {
        alert->_buttonTitles.push_back(*cancelButtonTitle);
        alert->_cancelButtonIndex = 0;
    }
    for (auto& t : otherButtonTitles) alert->_buttonTitles.push_back(std::move(t));
    return alert;
}

std::optional<std::string> UIAlertView::buttonTitleAtIndex(NSInteger index) const {
    if (index < 0 || index >= numberOfButtons()) return std::nullopt;
    return _buttonTitles[index];
}

void UIAlertView::setAlertViewStyle(UIAlertViewStyle style) {
    _style = style;
    if (style != UIAlertViewStyleDefault && !_textField) _textField = std::make_shared<UITextField>();
    if (style == UIAlertViewStyleDefault) _textField.reset();
}

std::shared_ptr<UITextField> UIAlertView::textFieldAtIndex(NSInteger index) const {
    return index == 0 ? _textField : nullptr;
}

void UIAlertView::show() {
    if (_visible) return;
    _visible = true;
    shown().push_back(std::static_pointer_cast<UIAlertView>(shared_from_this()));
    host::EventLog::shared().record("alert", {{"title", _title.value_or("")}, {"message", _message.value_or("")},
                                                 {"tag", std::to_string(tag())}});
}

void UIAlertView::dismissWithClickedButtonIndex(NSInteger, bool) {
    if (!_visible) return;
    _visible = false;
    auto& alerts = shown();
    alerts.erase(std::remove_if(alerts.begin(), alerts.end(), [this](const auto& a) { return a.get() == this; }), alerts.end());
}

void UIAlertView::clickButtonAtIndex(NSInteger index) {
    if (!_visible || index < 0 || index >= numberOfButtons()) return;
    auto self = std::static_pointer_cast<UIAlertView>(shared_from_this());  // alive through the callback
    dismissWithClickedButtonIndex(index, true);
    if (auto d = _delegate.lock()) d->clickedButtonAtIndex(self, index);
}

const std::vector<std::shared_ptr<UIAlertView>>& UIAlertView::visibleAlerts() { return shown(); }

std::shared_ptr<UIAlertView> UIAlertView::topAlert() { return shown().empty() ? nullptr : shown().back(); }
