#pragma once
// Strict UTF-8 decoding and encoding shared by the string stand-ins. Strict means what the
// platform's UTF-16 strings can hold: no overlong forms, no encoded surrogates, nothing above
// U+10FFFF.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace host::utf8 {

struct Decoded {
    char32_t codePoint;
    std::size_t length;  // bytes used, 1 to 4
};

// The character starting at `text[pos]`, or nothing when the bytes there are not valid UTF-8.
inline std::optional<Decoded> decode(std::string_view text, std::size_t pos) {
    if (pos >= text.size()) return std::nullopt;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return Decoded{lead, 1};
    std::size_t length;
    char32_t cp, minimum;
    if (lead >= 0xC2 && lead <= 0xDF) { length = 2; cp = lead & 0x1F; minimum = 0x80; }
    else if (lead >= 0xE0 && lead <= 0xEF) { length = 3; cp = lead & 0x0F; minimum = 0x800; }
    else if (lead >= 0xF0 && lead <= 0xF4) { length = 4; cp = lead & 0x07; minimum = 0x10000; }
    else return std::nullopt;
    if (text.size() - pos < length) return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return std::nullopt;
        cp = (cp << 6) | (byte(i) & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    return Decoded{cp, length};
}

inline bool isValid(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        auto d = decode(text, pos);
        if (!d) return false;
        pos += d->length;
    }
    return true;
}

// Appends `cp` as UTF-8; a surrogate or an out-of-range value becomes U+FFFD.
inline void append(std::string& out, char32_t cp) {
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = 0xFFFD;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// `text` made safe to print on a terminal: control characters (C0, DEL and the C1 range, which
// terminals read as commands) become escapes (\n, \r, \t, \x1b, \u009b), bytes that are not
// UTF-8 become \xNN; every other character, in any script, stays as it is.
inline std::string printable(std::string_view text) {
    constexpr char kHex[] = "0123456789abcdef";
    const auto hex = [&](std::string& out, const char* prefix, unsigned value) {
        out += prefix;
        out += kHex[(value >> 4) & 0xF];
        out += kHex[value & 0xF];
    };
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const auto d = decode(text, pos);
        if (!d) {
            hex(out, "\\x", static_cast<unsigned char>(text[pos++]));
            continue;
        }
        const char32_t cp = d->codePoint;
        if (cp == '\n') out += "\\n";
        else if (cp == '\r') out += "\\r";
        else if (cp == '\t') out += "\\t";
        else if (cp < 0x20 || cp == 0x7F) hex(out, "\\x", unsigned(cp));
        else if (cp >= 0x80 && cp < 0xA0) hex(out, "\\u00", unsigned(cp));
        else out.append(text.substr(pos, d->length));
        pos += d->length;
    }
    return out;
}

}  // namespace host::utf8
