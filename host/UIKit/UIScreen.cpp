#include "host/UIKit/UIScreen.h"

#include "host/Runtime/DeviceProfile.h"

std::shared_ptr<UIScreen> UIScreen::mainScreen() {
    static auto screen = std::make_shared<UIScreen>();
    return screen;
}

CGRect UIScreen::bounds() const { return {{0, 0}, host::DeviceProfile::current().screenSize}; }
CGFloat UIScreen::scale() const { return host::DeviceProfile::current().screenScale; }
