#pragma once
// The platform's string behaviours that the bundle leans on, reproduced exactly:
// floatValue (number parsing) and printf-style formatting with %@ for strings.
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>
#include <type_traits>

namespace NSString {

// floatValue: skips leading white space, reads the longest run of "0-9+-.eE" as C-locale strtod
// reads its longest valid prefix, narrows to single precision. No inf, nan or hexadecimal;
// nothing converted gives 0; overflow gives +/-infinity; the locale is never consulted.
float floatValue(std::string_view text);

// hasPrefix:, substringFromIndex: on UTF-8 text (index counted in UTF-16 code units as the
// platform counts; for the ASCII prefixes the bundle strips this is one byte).
bool hasPrefix(std::string_view text, std::string_view prefix);
std::string substringFromIndex(std::string_view text, std::size_t index);

namespace detail {
std::string vformat(const char* format, ...);
inline const char* arg(const std::string& s) { return s.c_str(); }
inline const char* arg(const char* s) { return s; }
// A NaN prints "nan" on the platform; glibc prints "-nan" when the sign bit is set.
inline double arg(double d) { return std::isnan(d) ? std::fabs(d) : d; }
inline double arg(float f) { return arg(double{f}); }
template <class T> requires std::is_integral_v<T> T arg(T v) { return v; }
std::string translateObjectSpecifiers(std::string_view format);
}  // namespace detail

// stringWithFormat: printf formatting where "%@" takes a string. Floats are widened to double,
// as a variadic call does on the platform.
template <class... Args> std::string stringWithFormat(std::string_view format, const Args&... args) {
    const std::string translated = detail::translateObjectSpecifiers(format);
    return detail::vformat(translated.c_str(), detail::arg(args)...);
}

}  // namespace NSString
