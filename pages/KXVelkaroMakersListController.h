#pragma once
// The makers (credits) page: one developer cell per maker, with a localized title and the
// compose button that opens the share sheet.
#include <memory>
#include <string>

#include "pages/KXVelkaroListController.h"

class KXVelkaroMakersListController : public KXVelkaroListController {
public:
    KXVelkaroMakersListController();
    NS_CLASS(KXVelkaroMakersListController)

    // The rows of "VelkaroMakers", loaded once; the title is localized and set again on every call.
    std::shared_ptr<PSSpecifierArray> specifiers() override;
    // Adds the compose button at the right of the navigation bar.
    void loadView() override;
    // tweetSupport: — the compose button's action; the sender is not used.
    void tweetSupport(const id& sender);
};
