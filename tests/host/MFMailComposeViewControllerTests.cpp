// The mail composer stand-in: the user's send and cancel, the outbox, and what the delegate hears.
// (How a message is written as an .eml is checked with the message.)
#include "host/MessageUI/MFMailComposeViewController.h"

#include "tests/support/DeviceFixture.h"
#include "tests/support/GMimeReader.h"

namespace {

struct RecordingDelegate : MFMailComposeViewControllerDelegate {
    struct Call { std::shared_ptr<MFMailComposeViewController> controller; MFMailComposeResult result; std::shared_ptr<NSError> error; };
    void didFinishWithResult(const std::shared_ptr<MFMailComposeViewController>& controller, MFMailComposeResult result,
        const std::shared_ptr<NSError>& error) override {
        calls.push_back({controller, result, error});
    }
    std::vector<Call> calls;
};

class MailComposerTest : public DeviceFixture {
protected:
    // A composer on screen, presented from a plain controller, reporting to `delegate`.
    std::shared_ptr<MFMailComposeViewController> presentedComposer() {
        auto composer = MFMailComposeViewController::init();
        EXPECT_NE(composer, nullptr);
        if (!composer) return nullptr;
        composer->setSubject("Hello");
        composer->setToRecipients({"Someone <someone@example.org>"});
        composer->setMessageBody("<b>hi</b>", true);
        composer->addAttachmentData(std::string("a\0\xff", 3), "application/xml", "prefs.plist");
        presenter->presentViewController(composer, true, nullptr);
        composer->setMailComposeDelegate(delegate);
        return composer;
    }

    std::shared_ptr<UIViewController> presenter = std::make_shared<UIViewController>();
    std::shared_ptr<RecordingDelegate> delegate = std::make_shared<RecordingDelegate>();
};

// Each sent mail is the composer's message, written under the next free outbox number.
TEST_F(MailComposerTest, EachSentMailTakesTheNextOutboxNumber) {
    for (int n = 1; n <= 3; ++n) {
        auto composer = presentedComposer();
        ASSERT_TRUE(composer->send());
        const std::string expected = "/var/mobile/Library/Mail/Outbox/" + std::to_string(n) + ".eml";
        EXPECT_EQ(composer->sentPath(), expected);
        const auto written = gmime_reader::readMessage(hostPath(expected));
        ASSERT_TRUE(written);
        EXPECT_STREQ(g_mime_message_get_subject(written.get()), "Hello");
        EXPECT_EQ(events("mail").back().field("path"), expected);
        ASSERT_EQ(delegate->calls.size(), std::size_t(n));
        const auto& call = delegate->calls.back();
        EXPECT_EQ(std::tuple(call.controller, call.result, call.error),
            std::tuple(composer, MFMailComposeResultSent, std::shared_ptr<NSError>()));
        EXPECT_FALSE(composer->send()) << "a finished composer cannot send again";
        presenter->dismissViewControllerAnimated(false, nullptr);
    }
}

// Cancelling, or an outbox that cannot be written, tells the delegate so and writes no mail.
TEST_F(MailComposerTest, CancelledOrFailedMailWritesNothing) {
    for (const bool cancel : {true, false}) {
        SCOPED_TRACE(cancel ? "cancelled" : "outbox is a file");
        if (!cancel) writeFile(MFMailComposeViewController::kOutboxPath, "a file where the folder should be");
        delegate = std::make_shared<RecordingDelegate>();
        auto composer = presentedComposer();
        ASSERT_TRUE(cancel ? composer->cancel() : composer->send());
        ASSERT_EQ(delegate->calls.size(), 1u);
        EXPECT_EQ(delegate->calls[0].result, cancel ? MFMailComposeResultCancelled : MFMailComposeResultFailed);
        const auto& error = delegate->calls[0].error;
        EXPECT_EQ(error && !error->localizedDescription().empty(), !cancel) << "an error that says what went wrong";
        EXPECT_FALSE(composer->sentPath().has_value());
        EXPECT_TRUE(events("mail").empty());
        EXPECT_EQ(diagnostics().empty(), cancel);
        EXPECT_FALSE(std::filesystem::is_directory(hostPath(MFMailComposeViewController::kOutboxPath))) << "an outbox was made";
        presenter->dismissViewControllerAnimated(false, nullptr);
    }
}

// What the user types is text: after an HTML body's markup it is escaped; a line break typed
// into the subject is dropped, as a header holds none.
TEST_F(MailComposerTest, TypedTextIsTextInTheMail) {
    const struct { const char* name; bool intoSubject; std::string typed, subject, body; } cases[] = {
        {"markup typed into an HTML body", false, "<i>&", "Hello", "<b>hi</b>&lt;i&gt;&amp;"},
        {"a line break typed into the subject", true, "\r\nagain", "Helloagain", "<b>hi</b>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto composer = presentedComposer();
        ASSERT_EQ(composer->editingView(), composer->bodyView()) << "the body has the keyboard first";
        if (c.intoSubject) { ASSERT_TRUE(composer->beginEditing(composer->subjectView())); }
        composer->editingView()->insertText(c.typed);
        EXPECT_EQ(composer->message().subject, c.subject);
        EXPECT_EQ(composer->message().body, c.body);
        presenter->dismissViewControllerAnimated(false, nullptr);
    }
}

}  // namespace
