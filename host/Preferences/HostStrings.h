#pragma once
// The Settings host's own texts (its top page's title, the back button's fallback, the status
// bar's clock, the share sheet's and composer's buttons), read from the host's strings tables in
// the device's preferred language. The tables live in the host's own bundle (host/Resources),
// mounted on every simulated device, so a new language is one more table.
#include <string>
#include <string_view>

namespace host {

class HostStrings {
public:
    // The host's text for `key` (the English text); the key itself when no table has it.
    static std::string localized(const std::string& key);

    // A time of day as the status bar shows it in the device's language ("9:41 AM", "09:41").
    static std::string statusBarTime(int hour, int minute);
    // `pattern` with h (1-12), hh (01-12), H (0-23), HH (00-23), mm and a (AM/PM) filled in;
    // any other character is copied.
    static std::string formatTime(std::string_view pattern, int hour, int minute);
};

}  // namespace host
