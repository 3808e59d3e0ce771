#pragma once
// Reading a number from text as the platform's floatValue does: leading white space skipped, the
// longest run of "0-9+-.eE" read as C-locale strtod reads its longest valid prefix, narrowed to
// single precision. No inf, nan or hexadecimal; nothing converted gives 0; overflow gives
// +/-infinity; the locale is never consulted.
#include <string_view>

namespace host {

float readFloat(std::string_view text);

}  // namespace host
