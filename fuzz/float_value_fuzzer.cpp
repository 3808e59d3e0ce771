// Feeds arbitrary text to the typed-number reader and checks it against a second reading of the
// platform's rules written here from the rules alone: skip the listed white space, take the
// longest run of "0-9+-.eE", let C-locale strtod read what it can of the run, narrow to float.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <locale.h>
#include <string>
#include <string_view>

#include "fuzz/FuzzCheck.h"
#include "host/Foundation/NSString.h"

namespace {

// Bytes of one leading white-space character at `text[pos]`, 0 when there is none: code units up
// to U+0020, U+007F-U+00A0, U+2000-U+200B and U+3000, matched on their UTF-8 bytes.
std::size_t whiteSpaceAt(std::string_view text, std::size_t pos) {
    const auto at = [&](std::size_t i) { return pos + i < text.size() ? static_cast<unsigned char>(text[pos + i]) : 0x100u; };
    if (at(0) <= 0x20 || at(0) == 0x7F) return 1;
    if (at(0) == 0xC2 && at(1) >= 0x80 && at(1) <= 0xA0) return 2;
    if (at(0) == 0xE2 && at(1) == 0x80 && at(2) >= 0x80 && at(2) <= 0x8B) return 3;
    if (at(0) == 0xE3 && at(1) == 0x80 && at(2) == 0x80) return 3;
    return 0;
}

bool sameFloat(float a, float b) { return a == b && std::signbit(a) == std::signbit(b); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const float value = NSString::floatValue(text);
    FUZZ_CHECK(!std::isnan(value), "never NaN");

    std::size_t pos = 0;
    while (std::size_t n = whiteSpaceAt(text, pos)) pos += n;
    const std::string run(text.substr(pos, text.find_first_not_of("0123456789+-.eE", pos) - pos));
    if (run.find_first_of("0123456789") == std::string::npos) {
        FUZZ_CHECK(sameFloat(value, 0.0f), "no digits reads as 0");
        return 0;
    }
    // The run holds no letters but e/E, so strtod cannot take inf, nan or hexadecimal from it.
    char* end = nullptr;
    const double wide = strtod_l(run.c_str(), &end, cLocale);
    const float expected = end == run.c_str() ? 0.0f : static_cast<float>(wide);
    FUZZ_CHECK(sameFloat(value, expected), "agrees with strtod on the run, narrowed");
    // Reading straight to float rounds once; narrowing a double may round a second time, by at
    // most one step.
    if (end != run.c_str()) {
        const float direct = strtof_l(run.substr(0, std::size_t(end - run.c_str())).c_str(), nullptr, cLocale);
        FUZZ_CHECK(sameFloat(value, direct) || std::nextafter(direct, INFINITY) == value ||
                       std::nextafter(direct, -INFINITY) == value,
            "within one step of strtof");
    }
    return 0;
}
