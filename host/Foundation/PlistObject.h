#pragma once
// Property-list objects as the platform's API passes them around (NSString, NSNumber, NSData,
// NSDate, NSArray, NSDictionary, or nil): one plain value type, the runtime's.
#include "host/Runtime/PlistValue.h"

using PlistValue = host::PlistValue;
