#pragma once
// The Social framework's share sheet: a compose sheet for one service, pre-filled with a text,
// that the user sends or cancels. The service is available when the device profile has an
// account for it. What the sheet shows and how it ends go to the event log as "sheet" events.
// Its text view has the keyboard from the moment it is shown until it is finished, so the user
// can edit the text before posting it.
#include <functional>
#include <memory>
#include <string>

#include "host/UIKit/UITextView.h"
#include "host/UIKit/UIViewController.h"

inline const std::string SLServiceTypeTwitter = "com.apple.social.twitter";

enum SLComposeViewControllerResult : NSInteger {
    SLComposeViewControllerResultCancelled = 0,
    SLComposeViewControllerResultDone = 1,
};

class SLComposeViewController : public UIViewController {
public:
    using CompletionHandler = std::function<void(SLComposeViewControllerResult result)>;

    // isAvailableForServiceType: true when an account for the service is set up on the device.
    static bool isAvailableForServiceType(const std::string& serviceType);
    // composeViewControllerForServiceType: a new sheet; nullptr for a service the platform lacks.
    static std::shared_ptr<SLComposeViewController> composeViewControllerForServiceType(const std::string& serviceType);

    NS_CLASS(SLComposeViewController)
    const std::string& serviceType() const { return _serviceType; }

    // setInitialText: false, and no change, once the sheet has been shown to the user.
    bool setInitialText(const std::string& text);
    const std::string& text() const { return _textView->text(); }
    // The text view the user edits the text in.
    const std::shared_ptr<UITextView>& textView() const { return _textView; }

    // setCompletionHandler: called once, when the user finishes the sheet.
    void setCompletionHandler(CompletionHandler handler) { _completionHandler = std::move(handler); }

    // The user edits the text on the sheet while it is shown.
    void userEditText(const std::string& text);
    // The user sends (Done) or cancels the shown sheet. The completion handler is told and then
    // let go of, which frees a handler that holds its sheet; without a handler the sheet
    // dismisses itself. False when the sheet is not on screen or was already finished.
    bool finish(SLComposeViewControllerResult result);

    void viewDidLoad() override;

private:
    std::string _serviceType;
    std::shared_ptr<UITextView> _textView = std::make_shared<UITextView>();
    CompletionHandler _completionHandler;
    bool _shown = false;
    bool _finished = false;
};
