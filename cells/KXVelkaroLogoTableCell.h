#pragma once
// The footer logo above the root page's fifth section: the logo picture with the soft picture
// shadow, centred horizontally. A table cell used as a plain header view.
#include <memory>
#include <string>

#include "host/Preferences/PSTableCell.h"
#include "host/UIKit/UIImageView.h"

class KXVelkaroLogoTableCell : public PSTableCell {
public:
    static constexpr const char* kLogoPath = "/Library/PreferenceBundles/Velkaro.bundle/images/footerLogo.png";

    // init — reads the logo afresh each time; nullptr when the base initialiser gives nil. A
    // missing logo gives an image view without an image.
    static std::shared_ptr<KXVelkaroLogoTableCell> init();
    NS_CLASS(KXVelkaroLogoTableCell)

    const std::shared_ptr<UIImageView>& logoImageView() const { return _logoImageView; }
    void setLogoImageView(std::shared_ptr<UIImageView> view) { _logoImageView = std::move(view); }

private:
    std::shared_ptr<UIImageView> _logoImageView;
};
