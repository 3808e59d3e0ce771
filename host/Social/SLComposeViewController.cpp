#include "host/Social/SLComposeViewController.h"

#include "host/Runtime/DeviceProfile.h"
#include "host/Runtime/EventLog.h"

bool SLComposeViewController::isAvailableForServiceType(const std::string& serviceType) {
    const bool available = serviceType == SLServiceTypeTwitter && host::DeviceProfile::current().hasTwitterAccount;
    host::EventLog::shared().record("isAvailableForServiceType", {{"service", serviceType}, {"result", available ? "true" : "false"}});
    return available;
}

std::shared_ptr<SLComposeViewController> SLComposeViewController::composeViewControllerForServiceType(
    const std::string& serviceType) {
    if (serviceType != SLServiceTypeTwitter) {
        host::EventLog::shared().diagnostic("no share sheet for the service " + serviceType);
        return nullptr;
    }
    auto sheet = std::make_shared<SLComposeViewController>();
    sheet->_serviceType = serviceType;
    return sheet;
}

bool SLComposeViewController::setInitialText(const std::string& text) {
    if (_shown) return false;
    _textView->setText(text);
    return true;
}

void SLComposeViewController::viewDidLoad() {
    UIViewController::viewDidLoad();
    _shown = true;
    _textView->becomeFirstResponder();
    host::EventLog::shared().record("sheet", {{"service", _serviceType}, {"state", "shown"}, {"text", text()}});
}

void SLComposeViewController::userEditText(const std::string& text) {
    if (_shown && !_finished) _textView->setText(text);
}

bool SLComposeViewController::finish(SLComposeViewControllerResult result) {
    if (!presentingViewController() || _finished) return false;
    _finished = true;
    _textView->setEditable(false);
    const bool done = result == SLComposeViewControllerResultDone;
    host::EventLog::shared().record("sheet",
        {{"service", _serviceType}, {"state", done ? "sent" : "cancelled"}, {"text", text()}});
    auto keepAlive = std::static_pointer_cast<SLComposeViewController>(shared_from_this());
    if (auto handler = std::move(_completionHandler)) {
        _completionHandler = nullptr;
        handler(result);
    } else {
        dismissViewControllerAnimated(true, nullptr);
    }
    return true;
}
