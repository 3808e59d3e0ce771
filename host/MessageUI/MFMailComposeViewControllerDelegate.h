#pragma once
// MFMailComposeViewControllerDelegate: how the mail composer tells its delegate that the user is
// done with it.
#include <memory>

#include "host/CoreGraphics/CGGeometry.h"

class MFMailComposeViewController;
class NSError;

enum MFMailComposeResult : NSInteger {
    MFMailComposeResultCancelled = 0,
    MFMailComposeResultSaved = 1,
    MFMailComposeResultSent = 2,
    MFMailComposeResultFailed = 3,
};

class MFMailComposeViewControllerDelegate {
public:
    virtual ~MFMailComposeViewControllerDelegate() = default;

    // mailComposeController:didFinishWithResult:error: — `error` is set only for a failure.
    virtual void didFinishWithResult(const std::shared_ptr<MFMailComposeViewController>& controller,
        MFMailComposeResult result, const std::shared_ptr<NSError>& error) = 0;
};
