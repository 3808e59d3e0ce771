#include "host/Preferences/HostStrings.h"

#include <optional>

#include "host/Foundation/NSBundle.h"
#include "host/Runtime/SimulatedDevice.h"

namespace host {
namespace {

constexpr const char* kTable = "Host";
constexpr const char* kTimeFormatKey = "STATUS_BAR_TIME_FORMAT";
constexpr const char* kDefaultTimeFormat = "h:mm a";

std::string twoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

}  // namespace

std::string HostStrings::localized(const std::string& key) {
    auto bundle = NSBundle::bundleWithPath(SimulatedDevice::kHostBundlePath);
    return bundle ? bundle->localizedStringForKey(key, std::nullopt, std::string(kTable)) : key;
}

std::string HostStrings::statusBarTime(int hour, int minute) {
    std::string pattern = localized(kTimeFormatKey);
    if (pattern == kTimeFormatKey) pattern = kDefaultTimeFormat;
    return formatTime(pattern, hour, minute);
}

std::string HostStrings::formatTime(std::string_view pattern, int hour, int minute) {
    const int twelve = hour % 12 == 0 ? 12 : hour % 12;
    std::string out;
    for (size_t i = 0; i < pattern.size();) {
        const char c = pattern[i];
        size_t run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c) ++run;
        if (c == 'h') out += run >= 2 ? twoDigits(twelve) : std::to_string(twelve);
        else if (c == 'H') out += run >= 2 ? twoDigits(hour) : std::to_string(hour);
        else if (c == 'm') out += run >= 2 ? twoDigits(minute) : std::to_string(minute);
        else if (c == 'a') out += hour < 12 ? "AM" : "PM";
        else out.append(run, c);
        i += run;
    }
    return out;
}

}  // namespace host
