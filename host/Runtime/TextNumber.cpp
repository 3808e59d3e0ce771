#include "host/Runtime/TextNumber.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <string>

#include "host/Runtime/UTF8.h"

namespace host {
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

float readFloat(std::string_view text) {
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

}  // namespace host
