#pragma once
// The main screen's bounds, from the device profile.
#include <memory>

#include "host/CoreGraphics/CGGeometry.h"
#include "host/Foundation/NSObject.h"

class UIScreen : public NSObject {
public:
    static std::shared_ptr<UIScreen> mainScreen();
    NS_CLASS(UIScreen)
    CGRect bounds() const;
    CGFloat scale() const;
};
