#include "host/Foundation/NSURL.h"

#include <algorithm>

namespace {

bool isAlpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(char c) { return isDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// Printable ASCII less the characters URLs never hold unescaped.
bool isURLCharacter(char c) {
    return c > 0x20 && c < 0x7F && std::string_view("\"<>\\^`{|}").find(c) == std::string_view::npos;
}

bool isWellFormed(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!isURLCharacter(text[i])) return false;
        if (text[i] == '%' && (i + 2 >= text.size() || !isHexDigit(text[i + 1]) || !isHexDigit(text[i + 2]))) return false;
    }
    return true;
}

// Length of "scheme" in "scheme:...", RFC 3986: ALPHA *( ALPHA / DIGIT / "+" / "-" / "." ); 0 when none.
std::size_t schemeLength(std::string_view text) {
    if (text.empty() || !isAlpha(text[0])) return 0;
    std::size_t i = 1;
    while (i < text.size() && (isAlpha(text[i]) || isDigit(text[i]) || text[i] == '+' || text[i] == '-' || text[i] == '.')) ++i;
    return i < text.size() && text[i] == ':' ? i : 0;
}

// The host of an authority: without "user@" and ":port"; an IPv6 literal without its brackets.
std::string_view hostOf(std::string_view authority) {
    if (auto at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);
    if (!authority.empty() && authority[0] == '[') {
        auto close = authority.find(']');
        return close == std::string_view::npos ? authority.substr(1) : authority.substr(1, close - 1);
    }
    return authority.substr(0, authority.find(':'));
}

}  // namespace

std::shared_ptr<NSURL> NSURL::URLWithString(std::string_view text) {
    if (text.empty() || !isWellFormed(text)) return nullptr;
    auto url = std::make_shared<NSURL>(std::string(text));

    std::string_view rest = text.substr(0, text.find('#'));  // the fragment is not kept
    if (const std::size_t length = schemeLength(rest)) {
        url->_scheme = std::string(rest.substr(0, length));
        rest.remove_prefix(length + 1);
    } else if (rest.substr(0, rest.find_first_of("/?")).find(':') != std::string_view::npos) {
        return nullptr;  // a relative path's first segment may not hold ':'
    }

    if (rest.substr(0, 2) == "//") {
        rest.remove_prefix(2);
        const std::size_t end = std::min(rest.find_first_of("/?"), rest.size());
        url->_hasAuthority = true;
        url->_host = std::string(hostOf(rest.substr(0, end)));
        rest.remove_prefix(end);
    }

    const std::size_t question = std::min(rest.find('?'), rest.size());
    url->_path = std::string(rest.substr(0, question));
    if (question < rest.size()) url->_query = std::string(rest.substr(question + 1));
    return url;
}
