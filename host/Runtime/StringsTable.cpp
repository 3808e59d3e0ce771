#include "host/Runtime/StringsTable.h"

#include <plist/plist.h>

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "host/Runtime/PlistGuard.h"
#include "host/Runtime/UTF8.h"

namespace host {

namespace {

using Entries = StringsTable::Entries;

void setDiagnostic(std::string* diagnostic, std::string message) {
    if (diagnostic) *diagnostic = std::move(message);
}

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// The file's text as UTF-8: a UTF-16 file (with its byte-order mark) is converted, a UTF-8
// byte-order mark dropped. Nothing when the bytes are not valid text.
std::optional<std::string> decodeText(std::string_view bytes) {
    const bool littleEndian = startsWith(bytes, "\xFF\xFE");
    if (!littleEndian && !startsWith(bytes, "\xFE\xFF")) {
        if (startsWith(bytes, "\xEF\xBB\xBF")) bytes.remove_prefix(3);
        if (!host::utf8::isValid(bytes)) return std::nullopt;
        return std::string(bytes);
    }
    bytes.remove_prefix(2);
    if (bytes.size() % 2 != 0) return std::nullopt;
    const auto unit = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[2 * i]), b = static_cast<unsigned char>(bytes[2 * i + 1]);
        return littleEndian ? (b << 8 | a) : (a << 8 | b);
    };
    std::string text;
    text.reserve(bytes.size());
    const std::size_t count = bytes.size() / 2;
    for (std::size_t i = 0; i < count; ++i) {
        char32_t c = unit(i);
        if (c >= 0xDC00 && c <= 0xDFFF) return std::nullopt;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 == count || unit(i + 1) < 0xDC00 || unit(i + 1) > 0xDFFF) return std::nullopt;
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(++i) - 0xDC00);
        }
        host::utf8::append(text, c);
    }
    return text;
}

bool isUnquotedCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           std::string_view("_$+/:.-").find(c) != std::string_view::npos;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The old-style text format: a flat run of `key = value;` and `key;` entries. Iterative, so no
// input can exhaust the stack.
class OldStyleParser {
public:
    explicit OldStyleParser(std::string_view text) : _text(text) {}

    std::optional<Entries> parse(std::string* diagnostic) {
        Entries entries;
        for (skipSpace(); _pos < _text.size(); skipSpace()) {
            auto key = readString("a key");
            if (!key) return fail(diagnostic);
            skipSpace();
            if (peek() == ';') {
                ++_pos;
                entries.insert_or_assign(*key, *key);
                continue;
            }
            if (peek() != '=') return fail(diagnostic, "expected '=' or ';' after a key");
            ++_pos;
            skipSpace();
            auto value = readString("a value");
            if (!value) return fail(diagnostic);
            skipSpace();
            if (peek() != ';') return fail(diagnostic, "missing ';' after a value");
            ++_pos;
            entries.insert_or_assign(std::move(*key), std::move(*value));
        }
        return entries;
    }

private:
    char peek() const { return _pos < _text.size() ? _text[_pos] : '\0'; }
    bool at(std::string_view s) const { return _text.substr(_pos, s.size()) == s; }

    std::nullopt_t fail(std::string* diagnostic, std::string message = {}) {
        if (!message.empty()) _error = std::move(message);
        std::size_t line = 1;
        for (std::size_t i = 0; i < _pos && i < _text.size(); ++i) line += _text[i] == '\n';
        setDiagnostic(diagnostic, "line " + std::to_string(line) + ": " + _error);
        return std::nullopt;
    }

    void skipSpace() {
        while (_pos < _text.size()) {
            const char c = _text[_pos];
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f') {
                ++_pos;
            } else if (at("\u2028") || at("\u2029")) {
                _pos += 3;
            } else if (at("//")) {
                while (_pos < _text.size() && _text[_pos] != '\n' && _text[_pos] != '\r') ++_pos;
            } else if (at("/*")) {
                // An unclosed comment runs to the end of the file, as the platform reads it.
                const std::size_t close = _text.find("*/", _pos + 2);
                _pos = close == std::string_view::npos ? _text.size() : close + 2;
            } else {
                return;
            }
        }
    }

    std::optional<std::string> readString(const char* what) {
        const char c = peek();
        if (c == '"' || c == '\'') return readQuoted(c);
        if (_pos < _text.size() && isUnquotedCharacter(c)) {
            const std::size_t start = _pos;
            while (_pos < _text.size() && isUnquotedCharacter(_text[_pos])) ++_pos;
            return std::string(_text.substr(start, _pos - start));
        }
        if (_pos == _text.size()) _error = std::string("unexpected end of file where ") + what + " belongs";
        else if (c > 0x20 && c < 0x7F) _error = std::string("unexpected '") + c + "' where " + what + " belongs";
        else _error = std::string("unexpected character where ") + what + " belongs";
        return std::nullopt;
    }

    std::optional<std::string> readQuoted(char quote) {
        const std::size_t start = _pos++;
        std::string out;
        while (_pos < _text.size()) {
            const char c = _text[_pos++];
            if (c == quote) return out;
            if (c != '\\') {
                out += c;  // the text is valid UTF-8, so copying bytes copies whole characters
                continue;
            }
            if (_pos == _text.size()) break;
            readEscape(out);
        }
        _pos = start;
        _error = "unterminated quoted string";
        return std::nullopt;
    }

    void readEscape(std::string& out) {
        const char e = _text[_pos++];
        switch (e) {
        case 'a': out += '\a'; return;
        case 'b': out += '\b'; return;
        case 'f': out += '\f'; return;
        case 'n': out += '\n'; return;
        case 'r': out += '\r'; return;
        case 't': out += '\t'; return;
        case 'v': out += '\v'; return;
        case 'U': return readUnicodeEscape(out);
        default: break;
        }
        if (e >= '0' && e <= '7') {
            // Up to three octal digits, kept to a byte as the platform does; bytes past ASCII
            // are taken as Latin-1.
            unsigned value = e - '0';
            for (int i = 0; i < 2 && _pos < _text.size() && _text[_pos] >= '0' && _text[_pos] <= '7'; ++i)
                value = value * 8 + (_text[_pos++] - '0');
            host::utf8::append(out, value & 0xFF);
            return;
        }
        out += e;  // any other escaped character stands for itself
    }

    // "\U" and up to four hex digits name a UTF-16 unit; two in a row may form a surrogate pair.
    void readUnicodeEscape(std::string& out) {
        char32_t unit = readHexDigits();
        if (unit >= 0xD800 && unit <= 0xDBFF && at("\\U")) {
            const std::size_t save = _pos;
            _pos += 2;
            const char32_t low = readHexDigits();
            if (low >= 0xDC00 && low <= 0xDFFF) {
                host::utf8::append(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                return;
            }
            _pos = save;
        }
        host::utf8::append(out, unit);  // a lone surrogate cannot be UTF-8: U+FFFD
    }

    char32_t readHexDigits() {
        char32_t value = 0;
        for (int i = 0; i < 4 && _pos < _text.size() && hexValue(_text[_pos]) >= 0; ++i)
            value = value * 16 + hexValue(_text[_pos++]);
        return value;
    }

    std::string_view _text;
    std::size_t _pos = 0;
    std::string _error;
};

struct PlistFree {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;

// A parsed property list's dictionary of strings; nothing when it is anything else.
std::optional<Entries> dictionaryOfStrings(plist_t root, std::string* diagnostic) {
    if (!root) {
        setDiagnostic(diagnostic, "malformed property list");
        return std::nullopt;
    }
    if (plist_get_node_type(root) != PLIST_DICT) {
        setDiagnostic(diagnostic, "property list is not a dictionary");
        return std::nullopt;
    }
    Entries entries;
    plist_dict_iter iter = nullptr;
    plist_dict_new_iter(root, &iter);
    const std::unique_ptr<void, decltype(&std::free)> iterGuard(iter, &std::free);
    for (;;) {
        char* rawKey = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(root, iter, &rawKey, &value);
        const std::unique_ptr<char, decltype(&std::free)> key(rawKey, &std::free);
        if (!value) break;
        if (!key || plist_get_node_type(value) != PLIST_STRING) {
            setDiagnostic(diagnostic, "property list holds a value that is not a string");
            return std::nullopt;
        }
        std::uint64_t length = 0;
        const char* chars = plist_get_string_ptr(value, &length);
        const std::string_view text = chars ? std::string_view(chars, length) : std::string_view();
        if (!host::utf8::isValid(key.get()) || !host::utf8::isValid(text)) {
            setDiagnostic(diagnostic, "property list holds text that is not valid UTF-8");
            return std::nullopt;
        }
        entries.insert_or_assign(key.get(), std::string(text));
    }
    return entries;
}

std::optional<Entries> parsePlist(std::string_view bytes, bool binary, std::string* diagnostic) {
    if (bytes.size() > UINT32_MAX) {
        setDiagnostic(diagnostic, "property list too large");
        return std::nullopt;
    }
    if (binary ? !PlistGuard::acceptsBinary(bytes, 2) : !PlistGuard::acceptsXML(bytes, 16)) {
        setDiagnostic(diagnostic, "property list is not a dictionary of strings");
        return std::nullopt;
    }
    // A copy with a terminating NUL: the XML reader must never run past the buffer.
    const std::string copy(bytes);
    plist_t root = nullptr;
    if (binary) plist_from_bin(copy.data(), static_cast<uint32_t>(copy.size()), &root);
    else plist_from_xml(copy.data(), static_cast<uint32_t>(copy.size()), &root);
    const PlistPtr guard(root);
    return dictionaryOfStrings(root, diagnostic);
}

bool looksLikeXML(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos) return false;
    text.remove_prefix(start);
    return startsWith(text, "<?xml") || startsWith(text, "<plist") || startsWith(text, "<!DOCTYPE");
}

}  // namespace

StringsTable::Entries StringsTable::parse(std::string_view bytes, std::string* diagnostic) {
    if (bytes.empty()) return {};
    std::optional<Entries> entries;
    if (startsWith(bytes, "bplist00")) {
        entries = parsePlist(bytes, true, diagnostic);
    } else if (auto text = decodeText(bytes); !text) {
        setDiagnostic(diagnostic, "not valid UTF-8 or UTF-16 text");
    } else if (looksLikeXML(*text)) {
        entries = parsePlist(*text, false, diagnostic);
    } else {
        entries = OldStyleParser(*text).parse(diagnostic);
    }
    return entries ? std::move(*entries) : Entries{};
}

std::optional<StringsTable::Entries> StringsTable::parseOldStyle(std::string_view bytes, std::string* diagnostic) {
    auto text = decodeText(bytes);
    if (!text) {
        setDiagnostic(diagnostic, "not valid UTF-8 or UTF-16 text");
        return std::nullopt;
    }
    return OldStyleParser(*text).parse(diagnostic);
}

}  // namespace host
