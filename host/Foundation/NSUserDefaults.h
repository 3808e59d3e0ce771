#pragma once
// The standard user defaults. Values stored through the host are written to disk at once, so
// synchronize has nothing left to flush; it is recorded so the order of the steps can be seen.
#include <memory>

#include "host/Foundation/NSObject.h"

class NSUserDefaults : public NSObject {
public:
    static std::shared_ptr<NSUserDefaults> standardUserDefaults();
    NS_CLASS(NSUserDefaults)
    bool synchronize();
};
