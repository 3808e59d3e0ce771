#pragma once
// The MessageUI mail composer: a mail prepared by the app (subject, recipients, body,
// attachments) that the user sends or cancels. Sending writes the mail as an .eml file into the
// device's outbox and records a "mail" event; either way the delegate is told. While it is on
// screen the user edits the subject and the body, each in its own text view; the body has the
// keyboard first. What they type is in the mail that is sent.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/Foundation/NSError.h"
#include "host/MessageUI/MFMailComposeViewControllerDelegate.h"
#include "host/Runtime/MailMessage.h"
#include "host/UIKit/UITextView.h"
#include "host/UIKit/UIViewController.h"

class MFMailComposeViewController : public UIViewController, public UITextViewDelegate {
public:
    // The device folder that sent mails are written to, as "<n>.eml".
    static constexpr const char* kOutboxPath = "/var/mobile/Library/Mail/Outbox";

    // canSendMail: whether a mail account is set up on the device.
    static bool canSendMail();
    // init: a new, empty composer; nullptr, as on the platform, when no mail account is set up.
    static std::shared_ptr<MFMailComposeViewController> init();

    NS_CLASS(MFMailComposeViewController)

    // setSubject:, setToRecipients:, setMessageBody:isHTML:
    void setSubject(const std::string& subject);
    void setToRecipients(std::vector<std::string> recipients) { _message.toRecipients = std::move(recipients); }
    void setMessageBody(const std::string& body, bool isHTML);
    // addAttachmentData:mimeType:fileName: — attachments keep the order they were added in. Nil
    // data (a file that could not be read) attaches nothing.
    void addAttachmentData(const std::optional<std::string>& data, const std::string& mimeType, const std::string& fileName);

    // setMailComposeDelegate: — held weakly.
    void setMailComposeDelegate(const std::shared_ptr<MFMailComposeViewControllerDelegate>& delegate) {
        _delegate = delegate;
    }
    std::shared_ptr<MFMailComposeViewControllerDelegate> mailComposeDelegate() const { return _delegate.lock(); }

    // The mail as it stands; its sender is the device's mail account.
    const host::MailMessage& message() const { return _message; }

    // The text views the user edits the subject and the body in, and the one that has the
    // keyboard (nullptr when neither has it).
    const std::shared_ptr<UITextView>& subjectView() const { return _subjectView; }
    const std::shared_ptr<UITextView>& bodyView() const { return _bodyView; }
    std::shared_ptr<UITextView> editingView() const;
    // A tap into the subject or the body, on a composer not yet finished: that view takes the
    // keyboard from the other.
    bool beginEditing(const std::shared_ptr<UITextView>& view);

    void viewDidLoad() override;
    // The subject is one line: a line break typed into it is dropped.
    void textViewDidChange(const std::shared_ptr<UITextView>& view) override;

    // The user's two ways out, on a composer that is on screen and not yet finished (false
    // otherwise). send() writes the mail to the outbox (result Sent, or Failed with an error when
    // it cannot be written); cancel() discards it. Then the delegate is told.
    bool send();
    bool cancel();
    // The device path of the written mail, once sent.
    const std::optional<std::string>& sentPath() const { return _sentPath; }

private:
    bool canFinish() const;
    void finish(MFMailComposeResult result, const std::shared_ptr<NSError>& error);
    // Writes the mail as the first free "<n>.eml" of the outbox, n counted from 1; its device
    // path, or nothing and `error`.
    std::optional<std::string> writeToOutbox(std::string* error) const;

    host::MailMessage _message;
    std::shared_ptr<UITextView> _subjectView = std::make_shared<UITextView>();
    std::shared_ptr<UITextView> _bodyView = std::make_shared<UITextView>();
    std::string _givenBody;  // the body as the app set it
    std::weak_ptr<MFMailComposeViewControllerDelegate> _delegate;
    std::optional<std::string> _sentPath;
    bool _finished = false;
};
