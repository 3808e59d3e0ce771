#pragma once
// The current device, answering from the device profile. A profile may say that the device does
// not respond to userInterfaceIdiom (an old system), which the pane treats as a phone.
#include <memory>
#include <string>

#include "host/CoreGraphics/CGGeometry.h"
#include "host/Foundation/NSObject.h"

enum UIUserInterfaceIdiom : NSInteger { UIUserInterfaceIdiomPhone = 0, UIUserInterfaceIdiomPad = 1 };

class UIDevice : public NSObject {
public:
    static std::shared_ptr<UIDevice> currentDevice();
    NS_CLASS(UIDevice)

    bool respondsToSelector(const std::string& selector) const override;
    NSInteger userInterfaceIdiom() const;
    std::string systemVersion() const;
    std::string model() const;
};
