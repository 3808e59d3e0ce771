#pragma once
// The pane's one idiom rule: the device counts as a pad only when it answers the idiom query and
// says 1; a device that does not answer is a phone.
#include "host/UIKit/UIDevice.h"

inline bool KXVelkaroDeviceIsPad() {
    auto device = UIDevice::currentDevice();
    return device->respondsToSelector("userInterfaceIdiom") && device->userInterfaceIdiom() == UIUserInterfaceIdiomPad;
}
