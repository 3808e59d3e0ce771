#include "host/MessageUI/MFMailComposeViewController.h"

#include <glib.h>

#include <algorithm>
#include <cstring>

#include "host/Runtime/AtomicFile.h"
#include "host/Runtime/CHandle.h"
#include "host/Runtime/DeviceProfile.h"
#include "host/Runtime/DeviceRoot.h"
#include "host/Runtime/EventLog.h"

namespace {
constexpr const char* kErrorDomain = "MFMailComposeErrorDomain";
constexpr NSInteger kErrorSendFailed = 1;
}  // namespace

bool MFMailComposeViewController::canSendMail() {
    const bool available = host::DeviceProfile::current().hasMailAccount;
    host::EventLog::shared().record("canSendMail", {{"result", available ? "true" : "false"}});
    return available;
}

std::shared_ptr<MFMailComposeViewController> MFMailComposeViewController::init() {
    if (!canSendMail()) {
        host::EventLog::shared().diagnostic("no mail account is set up: the mail composer is not available");
        return nullptr;
    }
    auto composer = std::make_shared<MFMailComposeViewController>();
    composer->_message.from = host::DeviceProfile::current().mailAccount;
    return composer;
}

void MFMailComposeViewController::setSubject(const std::string& subject) {
    _message.subject = subject;
    _subjectView->setText(subject);
}

void MFMailComposeViewController::setMessageBody(const std::string& body, bool isHTML) {
    _message.body = body;
    _message.bodyIsHTML = isHTML;
    _bodyView->setText(body);
    _givenBody = body;
}

void MFMailComposeViewController::viewDidLoad() {
    UIViewController::viewDidLoad();
    auto self = sharedAs<MFMailComposeViewController>();
    _subjectView->setDelegate(self);
    _bodyView->setDelegate(self);
    _bodyView->becomeFirstResponder();
}

std::shared_ptr<UITextView> MFMailComposeViewController::editingView() const {
    if (_bodyView->isFirstResponder()) return _bodyView;
    if (_subjectView->isFirstResponder()) return _subjectView;
    return nullptr;
}

bool MFMailComposeViewController::beginEditing(const std::shared_ptr<UITextView>& view) {
    if (_finished || (view != _subjectView && view != _bodyView)) return false;
    (view == _bodyView ? _subjectView : _bodyView)->resignFirstResponder();
    return view->becomeFirstResponder();
}

void MFMailComposeViewController::textViewDidChange(const std::shared_ptr<UITextView>& view) {
    if (view == _subjectView) {
        std::string subject = view->text();
        std::erase_if(subject, [](char c) { return c == '\n' || c == '\r'; });
        if (subject != view->text()) view->setText(subject);
        _message.subject = std::move(subject);
    } else if (view == _bodyView) {
        _message.body = view->text();
        if (!_message.bodyIsHTML) return;
        // An HTML body keeps the app's markup as far as the user left it; what the user typed
        // after it is text, not markup.
        const std::string& shown = view->text();
        const auto kept = std::mismatch(shown.begin(), shown.end(), _givenBody.begin(), _givenBody.end()).first - shown.begin();
        const std::string typed = shown.substr(static_cast<std::size_t>(kept));
        const host::CHandle<gchar, g_free> escaped(g_markup_escape_text(typed.c_str(), static_cast<gssize>(typed.size())));
        _message.body = _givenBody.substr(0, static_cast<std::size_t>(kept)) + escaped.get();
    }
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

std::optional<std::string> MFMailComposeViewController::writeToOutbox(std::string* error) const {
    if (!host::DeviceRoot::createFolders(kOutboxPath, error)) return std::nullopt;
    int err = 0;
    host::UniqueFd outbox = host::DeviceRoot::openFolder(kOutboxPath, &err);
    if (!outbox) {
        *error = std::string("cannot open the outbox: ") + std::strerror(err);
        return std::nullopt;
    }
    // The next free number, taken by a rename that never replaces: another composer writing at
    // the same moment gets the number after.
    std::optional<std::string> name;
    const bool written = _message.writeEml([&](std::string_view bytes, std::string* why) {
        name = host::writeNewFileAt(outbox.get(), [](int n) { return std::to_string(n) + ".eml"; }, bytes, why);
        return name.has_value();
    }, error);
    if (!written) return std::nullopt;
    return std::string(kOutboxPath) + "/" + *name;
}

bool MFMailComposeViewController::send() {
    if (!canFinish()) return false;
    std::string why = "no device root to write the mail into";
    if (const auto devicePath = writeToOutbox(&why)) {
        _sentPath = devicePath;
        host::EventLog::shared().record("mail", {{"path", *devicePath}, {"subject", _message.subject},
                                                    {"attachments", std::to_string(_message.attachments.size())}});
        finish(MFMailComposeResultSent, nullptr);
        return true;
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
    _subjectView->setEditable(false);
    _bodyView->setEditable(false);
    auto self = sharedAs<MFMailComposeViewController>();  // the delegate's dismissal lets go of it
    if (auto delegate = _delegate.lock()) delegate->didFinishWithResult(self, result, error);
}
