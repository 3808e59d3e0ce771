#include "host/Foundation/NSString.h"

#include <cfloat>
#include <cstdarg>
#include <cstdlib>
#include <locale.h>

#include "host/Foundation/UTF8.h"

namespace NSString {
namespace {

bool isLeadingWhiteSpace(char32_t c) {
    return c <= 0x20 || (c >= 0x7F && c <= 0xA0) || (c >= 0x2000 && c <= 0x200B) || c == 0x3000;
}

bool isNumberCharacter(char c) {
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the longest prefix of `run` that strtod reads as a decimal number; 0 when none.
// `run` holds only "0-9+-.eE", so inf, nan and hexadecimal cannot occur.
std::size_t decimalPrefixLength(std::string_view run) {
    std::size_t i = 0;
    if (i < run.size() && (run[i] == '+' || run[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < run.size() && isDigit(run[i])) { ++i; ++digits; }
    if (i < run.size() && run[i] == '.') {
        ++i;
        while (i < run.size() && isDigit(run[i])) { ++i; ++digits; }
    }
    if (digits == 0) return 0;
    const std::size_t mantissaEnd = i;
    if (i < run.size() && (run[i] == 'e' || run[i] == 'E')) {
        ++i;
        if (i < run.size() && (run[i] == '+' || run[i] == '-')) ++i;
        if (i == run.size() || !isDigit(run[i])) return mantissaEnd;
        while (i < run.size() && isDigit(run[i])) ++i;
    }
    return i;
}

// strtod in the C locale whatever the process locale is.
double strtodC(const std::string& number) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return strtod_l(number.c_str(), nullptr, cLocale);
}

// Rounds to nearest float, ties to even; values past the float range become infinities.
float narrow(double d) {
    // Halfway between FLT_MAX and 2^128: at or past it IEEE rounding gives infinity.
    constexpr double kOverflow = 0x1.ffffffp127;
    if (std::fabs(d) >= kOverflow) return d > 0 ? INFINITY : -INFINITY;
    if (std::fabs(d) > FLT_MAX) return d > 0 ? FLT_MAX : -FLT_MAX;
    return static_cast<float>(d);
}

}  // namespace

float floatValue(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        auto d = host::utf8::decode(text, pos);
        if (!d || !isLeadingWhiteSpace(d->codePoint)) break;
        pos += d->length;
    }
    std::size_t end = pos;
    while (end < text.size() && isNumberCharacter(text[end])) ++end;
    const std::string_view run = text.substr(pos, end - pos);
    const std::size_t length = decimalPrefixLength(run);
    if (length == 0) return 0.0f;
    return narrow(strtodC(std::string(run.substr(0, length))));
}

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
