#include "host/Foundation/NSString.h"

#include <cstdarg>

#include "host/Runtime/TextNumber.h"
#include "host/Runtime/UTF8.h"

namespace NSString {

float floatValue(std::string_view text) { return host::readFloat(text); }

// The platform answers NO for an empty prefix.
bool hasPrefix(std::string_view text, std::string_view prefix) {
    return !prefix.empty() && text.substr(0, prefix.size()) == prefix;
}

// Out of range the platform raises; no exceptions cross the host boundary, so the result is "".
// An index inside a surrogate pair leaves its low half, which UTF-8 can only show as U+FFFD.
std::string substringFromIndex(std::string_view text, std::size_t index) {
    std::size_t units = 0, pos = 0;
    while (pos < text.size() && units < index) {
        auto d = host::utf8::decode(text, pos);
        const std::size_t length = d ? d->length : 1;  // a stray byte counts as one unit
        const std::size_t width = d && d->codePoint > 0xFFFF ? 2 : 1;
        if (units + 1 == index && width == 2) {
            std::string result;
            host::utf8::append(result, 0xFFFD);
            return result.append(text.substr(pos + length));
        }
        units += width;
        pos += length;
    }
    if (units < index) return {};
    return std::string(text.substr(pos));
}

namespace detail {

std::string vformat(const char* format, ...) {
    va_list args, copy;
    va_start(args, format);
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string result;
    if (needed > 0) {
        result.resize(static_cast<std::size_t>(needed) + 1);
        std::vsnprintf(result.data(), result.size(), format, args);
        result.resize(static_cast<std::size_t>(needed));
    }
    va_end(args);
    return result;
}

std::string translateObjectSpecifiers(std::string_view format) {
    std::string out;
    out.reserve(format.size());
    for (std::size_t i = 0; i < format.size(); ++i) {
        out += format[i];
        if (format[i] != '%') continue;
        if (i + 1 == format.size()) { out += '%'; break; }  // a lone trailing "%" prints as itself
        if (format[i + 1] == '%') { out += format[++i]; continue; }
        // Copy positions, flags, width, precision and length up to the conversion character.
        std::size_t j = i + 1;
        while (j < format.size() && std::string_view("0123456789$#-+ '.*hlLqjzt").find(format[j]) != std::string_view::npos) ++j;
        if (j == format.size()) continue;
        out.append(format.substr(i + 1, j - i - 1));
        out += format[j] == '@' ? 's' : format[j];
        i = j;
    }
    return out;
}

}  // namespace detail
}  // namespace NSString
