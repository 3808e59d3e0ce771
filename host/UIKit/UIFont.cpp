#include "host/UIKit/UIFont.h"

std::optional<UIFont> UIFont::fontWithName(const std::string& name, CGFloat size) {
    if (name.empty()) return std::nullopt;
    return UIFont{name, size};
}
