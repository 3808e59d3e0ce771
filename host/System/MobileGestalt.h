#pragma once
// MobileGestalt, the platform's device-information library: answers for the facts the bundle
// asks about, taken from the device profile in force.
#include <optional>
#include <string>
#include <string_view>

// MGCopyAnswer: "ProductType" (model identifier), "ProductVersion" (system version) and
// "BuildVersion" (system build); nil for any other key.
std::optional<std::string> MGCopyAnswer(std::string_view key);
