// The root page's actions: the share sheet of the compose button, and the support mail.
#include "host/Foundation/NSData.h"
#include "host/Foundation/NSString.h"
#include "host/MessageUI/MFMailComposeViewController.h"
#include "host/System/MobileGestalt.h"
#include "host/Runtime/Shell.h"
#include "host/UIKit/UINavigationController.h"
#include "pages/KXVelkaroShareSheet.h"
#include "pages/VelkaroListController.h"

namespace {

constexpr const char* kSupportSubject = "Velkaro Support";
constexpr const char* kSupportRecipient = "Mornvale <support@mornvale.com>";
constexpr const char* kBodyFormat = "\n\nCurrent Device: %@, iOS %@ (%@)";
constexpr const char* kPreferencesPath = "/var/mobile//Library/Preferences/com.mornvale.velkaro.plist";
constexpr const char* kPackageListCommand = "/usr/bin/dpkg -l >/tmp/dpkgl.log";
constexpr const char* kPackageListPath = "/tmp/dpkgl.log";

// A device fact for the body; %@ prints an unanswered one as "(null)".
std::string deviceFact(const char* key) { return MGCopyAnswer(key).value_or("(null)"); }

}  // namespace

void VelkaroListController::tweetSupport(const id& sender) { KXVelkaroShareSheet::presentFromPage(*this); }

void VelkaroListController::emailKX() {
    auto composer = MFMailComposeViewController::init();
    // Without a mail account there is no composer, so nothing to fill or show.
    if (!composer) return;
    composer->setSubject(kSupportSubject);
    composer->setToRecipients({kSupportRecipient});
    const std::string productType = deviceFact("ProductType");
    const std::string productVersion = deviceFact("ProductVersion");
    const std::string buildVersion = deviceFact("BuildVersion");
    composer->setMessageBody(NSString::stringWithFormat(kBodyFormat, productType, productVersion, buildVersion), false);

    composer->addAttachmentData(NSData::dataWithContentsOfFile(kPreferencesPath), "application/xml", "VelkaroPrefs.plist");
    // Blocks until the listing is written; its exit status does not matter.
    host::Shell::system(kPackageListCommand);
    composer->addAttachmentData(NSData::dataWithContentsOfFile(kPackageListPath), "text/plain", "dpkgl.txt");

    if (auto navigation = navigationController()) navigation->presentViewController(composer, true, nullptr);
    composer->setMailComposeDelegate(sharedAs<VelkaroListController>());
}

void VelkaroListController::didFinishWithResult(const std::shared_ptr<MFMailComposeViewController>& controller,
    MFMailComposeResult result, const std::shared_ptr<NSError>& error) {
    dismissViewControllerAnimated(true, nullptr);
}
