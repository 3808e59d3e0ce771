#include "host/CoreFoundation/CFURL.h"

#include <vector>

#include "host/Runtime/UTF8.h"

namespace {

bool isLegalURLCharacter(char32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
    return c < 0x80 && std::string_view("!$&'()*+,-./:;=?@_~").find(static_cast<char>(c)) != std::string_view::npos;
}

// The characters of a set argument; nothing when the set is not valid UTF-8.
std::optional<std::vector<char32_t>> characterSet(std::optional<std::string_view> text) {
    std::vector<char32_t> set;
    if (!text) return set;
    for (std::size_t pos = 0; pos < text->size();) {
        auto d = host::utf8::decode(*text, pos);
        if (!d) return std::nullopt;
        set.push_back(d->codePoint);
        pos += d->length;
    }
    return set;
}

bool contains(const std::vector<char32_t>& set, char32_t c) {
    for (char32_t member : set)
        if (member == c) return true;
    return false;
}

}  // namespace

std::optional<std::string> CFURLCreateStringByAddingPercentEscapes(std::string_view string,
    std::optional<std::string_view> charactersToLeaveUnescaped, std::optional<std::string_view> legalURLCharactersToBeEscaped,
    unsigned encoding) {
    if (encoding != kCFStringEncodingUTF8) return std::nullopt;
    const auto leave = characterSet(charactersToLeaveUnescaped);
    const auto escape = characterSet(legalURLCharactersToBeEscaped);
    if (!leave || !escape) return std::nullopt;

    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(string.size());
    for (std::size_t pos = 0; pos < string.size();) {
        auto d = host::utf8::decode(string, pos);
        if (!d) return std::nullopt;
        const std::string_view bytes = string.substr(pos, d->length);
        pos += d->length;
        // An illegal character is kept only when asked; a legal one is escaped only when asked.
        const bool replace = isLegalURLCharacter(d->codePoint) ? contains(*escape, d->codePoint)
                                                                : !contains(*leave, d->codePoint);
        if (!replace) {
            out.append(bytes);
            continue;
        }
        for (char byte : bytes) {
            const auto b = static_cast<unsigned char>(byte);
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 0x0F];
        }
    }
    return out;
}
