#include "pages/VelkaroListController.h"

#include "cells/KXVelkaroCustomHeaderView.h"
#include "cells/KXVelkaroLogoTableCell.h"
#include "host/Preferences/PSClassFactories.h"
#include "host/Foundation/NSTimer.h"
#include "host/UIKit/UIBarButtonItem.h"
#include "host/UIKit/UIImage.h"
#include "host/UIKit/UIImageView.h"

namespace {
constexpr NSTimeInterval kFadeDelay = 0.5;
constexpr NSTimeInterval kFadeDuration = 0.5;
}  // namespace

VelkaroListController::VelkaroListController() {
    exposeSelector("increaseAlpha", [this](const id&) { increaseAlpha(); });
    exposeSelector("tweetSupport:", [this](const id& sender) { tweetSupport(sender); });
    exposeSelector("emailKX", [this](const id&) { emailKX(); });
}

std::shared_ptr<PSSpecifierArray> VelkaroListController::specifiers() {
    if (!_specifiers) _specifiers = specifiersForPlistName("Velkaro");
    return _specifiers;
}

void VelkaroListController::loadView() {
    KXVelkaroListController::loadView();
    navigationItem()->setRightBarButtonItem(
        UIBarButtonItem::initWithBarButtonSystemItem(UIBarButtonSystemItemCompose, shared_from_this(), "tweetSupport:"));
}

void VelkaroListController::viewDidLoad() {
    // The logo is in place, and invisible, before the host sets the page up.
    auto image = UIImage::initWithContentsOfFile(kHeaderLogoPath);
    auto templateImage = image ? image->imageWithRenderingMode(UIImageRenderingModeAlwaysTemplate) : nullptr;
    navigationItem()->setTitleView(UIImageView::initWithImage(templateImage));
    if (auto titleView = navigationItem()->titleView()) titleView->setAlpha(0.0);

    KXVelkaroListController::viewDidLoad();

    // The run loop holds the timer, and the timer the page, until it fires.
    NSTimer::scheduledTimerWithTimeInterval(kFadeDelay, shared_from_this(), "increaseAlpha", nullptr, false);
}

void VelkaroListController::increaseAlpha() {
    // The block keeps the page alive until the animation has run; the title view is the one in
    // the navigation item now.
    auto self = sharedAs<VelkaroListController>();
    UIView::animateWithDuration(kFadeDuration, [self] {
        if (auto titleView = self->navigationItem()->titleView()) titleView->setAlpha(1.0);
    });
}

std::shared_ptr<UIView> VelkaroListController::viewForHeaderInSection(const std::shared_ptr<UITableView>&,
    NSInteger section) {
    if (section == 0) return KXVelkaroCustomHeaderView::init();
    if (section == 4) return KXVelkaroLogoTableCell::init();
    return nullptr;
}

CGFloat VelkaroListController::heightForHeaderInSection(const std::shared_ptr<UITableView>&, NSInteger section) {
    if (section == 0) return 140.0;
    if (section == 4) return 30.0;
    return -1.0;
}

static host::RegisterController<VelkaroListController> registration;
