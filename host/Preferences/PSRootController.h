#pragma once
// The Settings host's root navigation controller; its class operations store and read row values.
#include <memory>

#include "host/Preferences/PSSpecifier.h"
#include "host/UIKit/UINavigationController.h"

class PSRootController : public UINavigationController {
public:
    NS_CLASS(PSRootController)

    // setPreferenceValue:specifier: — stores the value under the row's "key" in its "defaults"
    // domain. Returns whether it was stored (the platform's call returns nothing).
    static bool setPreferenceValue(const PlistValue& value, const std::shared_ptr<PSSpecifier>& specifier);
    // readPreferenceValue: — the stored value, or the row's "default" while none is stored.
    static PlistValue readPreferenceValue(const std::shared_ptr<PSSpecifier>& specifier);

    // From release 8.0 through 9.0 the host puts a bundle's pages in a navigation controller of
    // their own, pushed onto this one, whose bar is hidden: the bar on screen is the outer one.
    // Read from the running system's Core Foundation version.
    static bool nestsBundlePages();
};
