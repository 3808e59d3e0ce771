#include "pages/KXVelkaroShareSheet.h"

#include "host/Social/SLComposeViewController.h"

void KXVelkaroShareSheet::presentFromPage(UIViewController& page) {
    if (!SLComposeViewController::isAvailableForServiceType(SLServiceTypeTwitter)) return;
    auto sheet = SLComposeViewController::composeViewControllerForServiceType(SLServiceTypeTwitter);
    if (!sheet) return;
    sheet->setInitialText(kMessage);
    page.presentViewController(sheet, true, nullptr);
    // The handler holds the sheet until it is done; the sheet lets go of the handler once called.
    sheet->setCompletionHandler(
        [sheet](SLComposeViewControllerResult) { sheet->dismissViewControllerAnimated(true, nullptr); });
}
