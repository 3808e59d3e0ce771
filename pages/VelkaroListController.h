#pragma once
// The root page, the bundle's principal class: the rows of "Velkaro", the template logo fading
// into the navigation bar, the compose button, and the banner and footer logo as section headers.
#include <memory>
#include <string>

#include "host/MessageUI/MFMailComposeViewControllerDelegate.h"
#include "pages/KXVelkaroListController.h"

class VelkaroListController : public KXVelkaroListController, public MFMailComposeViewControllerDelegate {
public:
    static constexpr const char* kHeaderLogoPath = "/Library/PreferenceBundles/Velkaro.bundle/images/headerLogo.png";

    // Exposes increaseAlpha, tweetSupport: and emailKX by name.
    VelkaroListController();
    NS_CLASS(VelkaroListController)

    // The rows of "Velkaro", loaded and localized on the first call and kept for the page's life.
    std::shared_ptr<PSSpecifierArray> specifiers() override;

    // Adds the compose button (tweetSupport:) at the right of the navigation item.
    void loadView() override;
    // Puts the logo in place as the title view at alpha 0 before the host's viewDidLoad, then
    // schedules the fade-in half a second later.
    void viewDidLoad() override;
    // Fades the navigation item's current title view in over half a second.
    void increaseAlpha();

    // tableView:viewForHeaderInSection: — a new banner for section 0, a new footer logo for
    // section 4, nothing otherwise.
    std::shared_ptr<UIView> viewForHeaderInSection(const std::shared_ptr<UITableView>& tableView,
        NSInteger section) override;
    // tableView:heightForHeaderInSection: — 140, 30, and -1 for the sections without a header.
    CGFloat heightForHeaderInSection(const std::shared_ptr<UITableView>& tableView, NSInteger section) override;

    // The compose button's action and the "Email Support" row's action; they belong with the
    // share sheet and the support mail (VelkaroListControllerActions.cpp).
    void tweetSupport(const id& sender);  // tweetSupport:
    void emailKX();
    // mailComposeController:didFinishWithResult:error: — closes the composer, whatever the result.
    void didFinishWithResult(const std::shared_ptr<MFMailComposeViewController>& controller, MFMailComposeResult result,
        const std::shared_ptr<NSError>& error) override;
};
