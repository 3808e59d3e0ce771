#include "host/UIKit/LayoutDirection.h"

#include "host/Runtime/DeviceProfile.h"
#include "host/Runtime/PseudoLanguage.h"

namespace host {

bool LayoutDirection::systemMirrors(std::string_view productVersion) {
    int major = 0;
    for (const char c : productVersion) {
        if (c < '0' || c > '9') break;
        major = major * 10 + (c - '0');
        if (major > 1000) break;
    }
    return major >= 9;
}

bool LayoutDirection::isRightToLeft() {
    return PseudoLanguage::currentIsRightToLeft() && systemMirrors(DeviceProfile::current().productVersion);
}

}  // namespace host
