#include "host/Foundation/NSData.h"

#include "host/Runtime/DeviceRoot.h"

std::optional<std::string> NSData::dataWithContentsOfFile(std::string_view path) { return host::DeviceRoot::readFile(path); }
