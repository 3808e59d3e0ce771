// Feeds arbitrary text to the URL escaper: input "text", or "text\xFFescape" (the characters to
// escape although legal) or "text\xFFescape\xFFleave" (the illegal characters to keep). 0xFF is
// never part of UTF-8 text, so it cannot be mistaken for a character. Checks: a result exactly
// when all three are text; the result holds only legal characters, kept ones and "%XX" with
// uppercase hex; it decodes back to the input; NSURL accepts it after a profile address.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/FuzzCheck.h"
#include "host/CoreFoundation/CFURL.h"
#include "host/Foundation/NSURL.h"
#include "host/Runtime/UTF8.h"

namespace {

bool isLegal(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           (c != '\0' && std::string_view("!$&'()*+,-./:;=?@_~").find(c) != std::string_view::npos);
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;  // lowercase hex is not what the escaper writes
}

// Whether `set` (valid UTF-8) holds `character` (the bytes of one character).
bool holds(std::optional<std::string_view> set, std::string_view character) {
    if (!set) return false;
    for (std::size_t pos = 0; pos < set->size();) {
        const auto d = host::utf8::decode(*set, pos);
        if (set->substr(pos, d->length) == character) return true;
        pos += d->length;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t first = input.find('\xFF');
    const std::string_view text = input.substr(0, first);
    std::optional<std::string_view> escape, leave;
    if (first != std::string_view::npos) {
        const std::string_view sets = input.substr(first + 1);
        const std::size_t second = sets.find('\xFF');
        escape = sets.substr(0, second);
        if (second != std::string_view::npos) leave = sets.substr(second + 1);
    }

    const auto escaped = CFURLCreateStringByAddingPercentEscapes(text, leave, escape, kCFStringEncodingUTF8);
    const bool valid = host::utf8::isValid(text) && (!escape || host::utf8::isValid(*escape)) &&
                       (!leave || host::utf8::isValid(*leave));
    FUZZ_CHECK(escaped.has_value() == valid, "a result exactly when the text and both sets are UTF-8");
    if (!escaped) return 0;

    // Every character is legal and not asked to be escaped, or kept on request, or an escape.
    // A kept "%" makes "%" with two hex digits after it ambiguous: it is read as an escape.
    const bool keepsPercent = holds(leave, "%");
    const std::string_view out = *escaped;
    std::string decoded;
    for (std::size_t pos = 0; pos < out.size();) {
        const char c = out[pos];
        if (c == '%') {
            const int high = pos + 2 < out.size() ? hexValue(out[pos + 1]) : -1;
            const int low = pos + 2 < out.size() ? hexValue(out[pos + 2]) : -1;
            if (high >= 0 && low >= 0) {
                decoded += static_cast<char>(high * 16 + low);
                pos += 3;
                continue;
            }
            FUZZ_CHECK(keepsPercent, "an escape is \"%\" and two uppercase hex digits");
        }
        const auto d = host::utf8::decode(out, pos);
        FUZZ_CHECK(d.has_value(), "the result is UTF-8");
        const std::string_view character = out.substr(pos, d->length);
        const bool legal = d->length == 1 && isLegal(c) && !holds(escape, character);
        FUZZ_CHECK(legal || holds(leave, character), "only legal or kept characters stand unescaped");
        decoded += character;
        pos += d->length;
    }
    // With "%" itself kept, "%41" in the text cannot be told from an escaped "A".
    if (!keepsPercent) FUZZ_CHECK(decoded == text, "decodes back to the text");

    // What the pane does with it: a profile address with the escaped name after it.
    if (!leave || leave->empty()) {
        const std::string address = "https://example.com/u/" + *escaped;
        const auto url = NSURL::URLWithString(address);
        FUZZ_CHECK(url != nullptr, "NSURL accepts the escaped text in an address");
        FUZZ_CHECK(url->absoluteString() == address && url->host() == "example.com", "NSURL keeps the address");
    }
    return 0;
}
