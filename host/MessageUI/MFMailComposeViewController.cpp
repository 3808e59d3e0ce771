#include "host/MessageUI/MFMailComposeViewController.h"

#include <filesystem>

#include "host/System/DeviceProfile.h"
#include "host/System/DeviceRoot.h"
#include "host/System/EventLog.h"

namespace {
constexpr const char* kErrorDomain = "MFMailComposeErrorDomain";
constexpr NSInteger kErrorSendFailed = 1;
}  // namespace

bool MFMailComposeViewController::canSendMail() { return host::DeviceProfile::current().hasMailAccount; }

std::shared_ptr<MFMailComposeViewController> MFMailComposeViewController::init() {
    if (!canSendMail()) {
        host::EventLog::shared().diagnostic("no mail account is set up: the mail composer is not available");
        return nullptr;
    }
    auto composer = std::make_shared<MFMailComposeViewController>();
    composer->_message.from = host::DeviceProfile::current().mailAccount;
    return composer;
}

void MFMailComposeViewController::setMessageBody(const std::string& body, bool isHTML) {
    _message.body = body;
    _message.bodyIsHTML = isHTML;
}

void MFMailComposeViewController::addAttachmentData(const std::optional<std::string>& data, const std::string& mimeType,
    const std::string& fileName) {
    if (!data) {
        host::EventLog::shared().diagnostic("mail attachment " + fileName + " has no data and is left out");
        return;
    }
    _message.attachments.push_back({*data, mimeType, fileName});
}

bool MFMailComposeViewController::canFinish() const { return !_finished && presentingViewController() != nullptr; }

std::optional<std::string> MFMailComposeViewController::nextOutboxPath() {
    for (int n = 1;; ++n) {
        const std::string devicePath = std::string(kOutboxPath) + "/" + std::to_string(n) + ".eml";
        const auto hostPath = host::DeviceRoot::resolve(devicePath);
        if (!hostPath) return std::nullopt;
        std::error_code ec;
        if (!std::filesystem::exists(*hostPath, ec)) return devicePath;
    }
}

bool MFMailComposeViewController::send() {
    if (!canFinish()) return false;
    std::string why = "no device root to write the mail into";
    if (const auto devicePath = nextOutboxPath()) {
        const auto hostPath = *host::DeviceRoot::resolve(*devicePath);
        std::error_code ec;
        std::filesystem::create_directories(hostPath.parent_path(), ec);
        if (_message.writeEml(hostPath, &why)) {
            _sentPath = devicePath;
            host::EventLog::shared().record("mail", {{"path", *devicePath}, {"subject", _message.subject},
                                                        {"attachments", std::to_string(_message.attachments.size())}});
            finish(MFMailComposeResultSent, nullptr);
            return true;
        }
    }
    host::EventLog::shared().diagnostic("the mail could not be sent: " + why);
    finish(MFMailComposeResultFailed, NSError::errorWithDomain(kErrorDomain, kErrorSendFailed, why));
    return true;
}

bool MFMailComposeViewController::cancel() {
    if (!canFinish()) return false;
    finish(MFMailComposeResultCancelled, nullptr);
    return true;
}

void MFMailComposeViewController::finish(MFMailComposeResult result, const std::shared_ptr<NSError>& error) {
    _finished = true;
    auto self = sharedAs<MFMailComposeViewController>();  // the delegate's dismissal lets go of it
    if (auto delegate = _delegate.lock()) delegate->didFinishWithResult(self, result, error);
}
