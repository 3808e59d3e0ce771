#pragma once
// A row's place in a table: section and row.
#include "host/CoreGraphics/CGGeometry.h"

struct NSIndexPath {
    NSInteger section = 0;
    NSInteger row = 0;

    static NSIndexPath indexPathForRow(NSInteger row, NSInteger section) { return {section, row}; }
    bool operator==(const NSIndexPath&) const = default;
    auto operator<=>(const NSIndexPath&) const = default;
};
