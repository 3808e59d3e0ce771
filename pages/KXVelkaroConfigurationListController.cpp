#include "pages/KXVelkaroConfigurationListController.h"

#include "host/Preferences/PSClassFactories.h"
#include "host/UIKit/UIBarButtonItem.h"
#include "localization/KXVelkaroLocalizer.h"
#include "pages/KXVelkaroShareSheet.h"

KXVelkaroConfigurationListController::KXVelkaroConfigurationListController() {
    exposeSelector("tweetSupport:", [this](const id& sender) { tweetSupport(sender); });
}

std::shared_ptr<PSSpecifierArray> KXVelkaroConfigurationListController::specifiers() {
    if (!_specifiers) _specifiers = specifiersForPlistName("VelkaroConfiguration");
    setTitle(KXVelkaroLocalizer::sharedLocalizer()->localizedStringForKey("CONFIGURATION"));
    return _specifiers;
}

void KXVelkaroConfigurationListController::loadView() {
    KXVelkaroListController::loadView();
    navigationItem()->setRightBarButtonItem(
        UIBarButtonItem::initWithBarButtonSystemItem(UIBarButtonSystemItemCompose, shared_from_this(), "tweetSupport:"));
}

void KXVelkaroConfigurationListController::tweetSupport(const id& sender) { KXVelkaroShareSheet::presentFromPage(*this); }

static host::RegisterController<KXVelkaroConfigurationListController> registration;
