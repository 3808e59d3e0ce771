#include "pages/KXVelkaroMakersListController.h"

#include "host/Preferences/PSClassFactories.h"
#include "host/UIKit/UIBarButtonItem.h"
#include "localization/KXVelkaroLocalizer.h"
#include "pages/KXVelkaroShareSheet.h"

KXVelkaroMakersListController::KXVelkaroMakersListController() {
    exposeSelector("tweetSupport:", [this](const id& sender) { tweetSupport(sender); });
}

std::shared_ptr<PSSpecifierArray> KXVelkaroMakersListController::specifiers() {
    if (!_specifiers) _specifiers = specifiersForPlistName("VelkaroMakers");
    setTitle(KXVelkaroLocalizer::sharedLocalizer()->localizedStringForKey("MAKERS"));
    return _specifiers;
}

void KXVelkaroMakersListController::loadView() {
    KXVelkaroListController::loadView();
    navigationItem()->setRightBarButtonItem(
        UIBarButtonItem::initWithBarButtonSystemItem(UIBarButtonSystemItemCompose, shared_from_this(), "tweetSupport:"));
}

void KXVelkaroMakersListController::tweetSupport(const id& sender) { KXVelkaroShareSheet::presentFromPage(*this); }

static host::RegisterController<KXVelkaroMakersListController> registration;
