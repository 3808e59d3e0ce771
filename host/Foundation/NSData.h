#pragma once
// Raw bytes, as the platform's data class reads them from a file. The bytes travel as a string;
// nil is an empty optional.
#include <optional>
#include <string>
#include <string_view>

class NSData {
public:
    // dataWithContentsOfFile: the whole file at a device path, or nil when there is no readable
    // regular file there (whatever the reason).
    static std::optional<std::string> dataWithContentsOfFile(std::string_view path);
};
