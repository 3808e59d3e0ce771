#include "host/UIKit/UIColor.h"

#include "host/Foundation/NSString.h"

std::string UIColor::description() const {
    return NSString::stringWithFormat("rgba(%.1f/255, %.1f/255, %.1f/255, %g)", red * 255, green * 255, blue * 255, alpha);
}
