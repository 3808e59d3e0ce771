#include "host/Runtime/TextPropertyList.h"

#include <utility>

#include "host/Runtime/UTF8.h"

namespace host {

namespace {

using Limits = TextPropertyList::Limits;

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

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

// Recursive descent over decoded text. Containers are refused past the depth limit before they
// are entered, so the recursion (and the value's destruction) stays shallow whatever the input.
class Parser {
public:
    Parser(std::string_view text, bool stringsOnly, const Limits& limits)
        : _text(text), _stringsOnly(stringsOnly), _limits(limits) {}

    // One value, or, when a string is followed by more text, the whole text as a dictionary
    // without braces (the first string was its first key).
    std::optional<PlistValue> parseDocument() {
        skipSpace();
        if (atEnd()) return fail(_pos, "no property list in the text");
        const std::size_t start = _pos;
        auto root = readValue(1);
        if (!root) return std::nullopt;
        skipSpace();
        if (atEnd()) return root;
        if (!root->isString()) return fail(_pos, describe(_pos) + " after the property list");
        _pos = start;
        _objects = 0;
        auto entries = readEntries(1, std::nullopt);
        if (!entries) return std::nullopt;
        return PlistValue(std::move(*entries));
    }

    std::optional<PlistValue::Dictionary> parseBareDictionary() { return readEntries(1, std::nullopt); }

    const std::string& error() const { return _error; }

private:
    bool atEnd() const { return _pos >= _text.size(); }
    char peek() const { return atEnd() ? '\0' : _text[_pos]; }
    bool at(std::string_view s) const { return _text.substr(_pos, s.size()) == s; }

    // Line and column (in characters) of `pos`; "\r\n", "\r" and "\n" each end a line.
    std::pair<std::size_t, std::size_t> place(std::size_t pos) const {
        std::size_t line = 1, lineStart = 0;
        for (std::size_t i = 0; i < pos && i < _text.size(); ++i) {
            if (_text[i] == '\r' && i + 1 < _text.size() && _text[i + 1] == '\n') ++i;
            if (_text[i] == '\n' || _text[i] == '\r') {
                ++line;
                lineStart = i + 1;
            }
        }
        std::size_t column = 1;
        for (std::size_t i = lineStart; i < pos && i < _text.size(); ++i)
            column += (static_cast<unsigned char>(_text[i]) & 0xC0) != 0x80;
        return {line, column};
    }

    std::string lineOf(std::size_t pos) const { return "line " + std::to_string(place(pos).first); }

    // What stands at `pos`, for a message: "unexpected ')'", or the end of the text.
    std::string describe(std::size_t pos) const {
        if (pos >= _text.size()) return "unexpected end of text";
        const char c = _text[pos];
        if (c > 0x20 && c < 0x7F) return std::string("unexpected '") + c + "'";
        return "unexpected character";
    }

    std::nullopt_t fail(std::size_t pos, const std::string& message) {
        const auto [line, column] = place(pos);
        _error = "line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + message;
        return std::nullopt;
    }

    // One more value or key; false (with the error set) past the limit.
    bool count() {
        if (++_objects <= _limits.maxObjects) return true;
        fail(_pos, "more than " + std::to_string(_limits.maxObjects) + " values");
        return false;
    }

    void skipSpace() {
        while (!atEnd()) {
            const char c = _text[_pos];
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f') {
                ++_pos;
            } else if (at("\u2028") || at("\u2029")) {
                _pos += 3;
            } else if (at("//")) {
                while (!atEnd() && _text[_pos] != '\n' && _text[_pos] != '\r') ++_pos;
            } else if (at("/*")) {
                // An unclosed comment runs to the end of the file, as the platform reads it.
                const std::size_t close = _text.find("*/", _pos + 2);
                _pos = close == std::string_view::npos ? _text.size() : close + 2;
            } else {
                return;
            }
        }
    }

    std::optional<PlistValue> readValue(int depth) {
        skipSpace();
        const char c = peek();
        if (!_stringsOnly && !atEnd() && (c == '{' || c == '(')) {
            if (depth > _limits.maxDepth)
                return fail(_pos, "nested deeper than " + std::to_string(_limits.maxDepth) + " levels");
            if (!count()) return std::nullopt;
            const std::size_t open = _pos++;
            if (c == '(') return readArray(depth, open);
            auto entries = readEntries(depth, open);
            if (!entries) return std::nullopt;
            return PlistValue(std::move(*entries));
        }
        if (!_stringsOnly && c == '<') {
            if (!count()) return std::nullopt;
            return readData();
        }
        auto text = readString("a value");
        if (!text) return std::nullopt;
        return std::optional<PlistValue>(std::in_place, std::move(*text));
    }

    // Entries up to the '}' closing the brace at `open`, or to the end of the text when the
    // dictionary has no braces. Every entry ends with ';'.
    // A later duplicate key replaces the earlier entry.
    std::optional<PlistValue::Dictionary> readEntries(int depth, std::optional<std::size_t> open) {
        std::vector<PlistValue::Dictionary::value_type> entries;
        for (skipSpace();; skipSpace()) {
            if (atEnd()) {
                if (open) return fail(_pos, "unterminated dictionary (opened on " + lineOf(*open) + ")");
                return PlistValue::Dictionary::fromEntries(std::move(entries));
            }
            if (open && peek() == '}') {
                ++_pos;
                return PlistValue::Dictionary::fromEntries(std::move(entries));
            }
            auto key = readString("a key");
            if (!key) return std::nullopt;
            skipSpace();
            if (peek() == ';') {
                ++_pos;
                entries.emplace_back(*key, PlistValue(*key));
                continue;
            }
            if (peek() != '=') return fail(_pos, "expected '=' or ';' after a key");
            ++_pos;
            auto value = readValue(depth + 1);
            if (!value) return std::nullopt;
            skipSpace();
            if (peek() != ';') return fail(_pos, "missing ';' after a value");
            ++_pos;
            entries.emplace_back(std::move(*key), std::move(*value));
        }
    }

    // Values separated by ',' up to ')'; a ',' may also follow the last one.
    std::optional<PlistValue> readArray(int depth, std::size_t open) {
        PlistValue::Array items;
        for (skipSpace();; skipSpace()) {
            if (atEnd()) return fail(_pos, "unterminated array (opened on " + lineOf(open) + ")");
            if (peek() == ')') {
                ++_pos;
                return PlistValue(std::move(items));
            }
            auto item = readValue(depth + 1);
            if (!item) return std::nullopt;
            items.push_back(std::move(*item));
            skipSpace();
            if (peek() == ',') ++_pos;
            else if (!atEnd() && peek() != ')') return fail(_pos, "expected ',' or ')' after an array item");
        }
    }

    // Pairs of hex digits up to '>'; white space may stand between pairs, not inside one.
    std::optional<PlistValue> readData() {
        const std::size_t open = _pos++;
        PlistValue::Data bytes;
        for (;;) {
            if (atEnd()) return fail(_pos, "unterminated data (opened on " + lineOf(open) + ")");
            const char c = _text[_pos];
            if (c == '>') {
                ++_pos;
                return PlistValue(std::move(bytes));
            }
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
                ++_pos;
            } else if (at("\u2028") || at("\u2029")) {
                _pos += 3;
            } else if (hexValue(c) < 0) {
                return fail(_pos, describe(_pos) + " in data");
            } else if (_pos + 1 >= _text.size() || hexValue(_text[_pos + 1]) < 0) {
                return fail(_pos, "hex digits in data must come in pairs");
            } else {
                bytes.push_back(static_cast<std::uint8_t>(hexValue(c) << 4 | hexValue(_text[_pos + 1])));
                _pos += 2;
            }
        }
    }

    std::optional<std::string> readString(const char* what) {
        skipSpace();
        const char c = peek();
        if (!atEnd() && !count()) return std::nullopt;
        if (c == '"' || c == '\'') return readQuoted(c);
        if (!atEnd() && isUnquotedCharacter(c)) {
            const std::size_t start = _pos;
            while (!atEnd() && isUnquotedCharacter(_text[_pos])) ++_pos;
            return std::string(_text.substr(start, _pos - start));
        }
        return fail(_pos, describe(_pos) + " where " + what + " belongs");
    }

    std::optional<std::string> readQuoted(char quote) {
        const std::size_t start = _pos++;
        std::string out;
        while (!atEnd()) {
            const char c = _text[_pos++];
            if (c == quote) return out;
            if (c != '\\') {
                out += c;  // the text is valid UTF-8, so copying bytes copies whole characters
                continue;
            }
            if (atEnd()) break;
            readEscape(out);
        }
        return fail(start, "unterminated quoted string");
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
            for (int i = 0; i < 2 && !atEnd() && _text[_pos] >= '0' && _text[_pos] <= '7'; ++i)
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
        for (int i = 0; i < 4 && !atEnd() && hexValue(_text[_pos]) >= 0; ++i) value = value * 16 + hexValue(_text[_pos++]);
        return value;
    }

    std::string_view _text;
    bool _stringsOnly;
    Limits _limits;
    std::size_t _pos = 0;
    std::size_t _objects = 0;
    std::string _error;
};

void setError(std::string* error, std::string message) {
    if (error) *error = std::move(message);
}

// The decoded text, or nothing with `error` set.
std::optional<std::string> textOf(std::string_view bytes, const Limits& limits, std::string* error) {
    if (bytes.size() > limits.maxBytes) {
        setError(error, "text larger than " + std::to_string(limits.maxBytes) + " bytes");
        return std::nullopt;
    }
    auto text = TextPropertyList::decode(bytes);
    if (!text) setError(error, "not valid UTF-8 or UTF-16 text");
    return text;
}

}  // namespace

std::optional<PlistValue> TextPropertyList::parse(std::string_view bytes, std::string* error, const Limits& limits) {
    const auto text = textOf(bytes, limits, error);
    if (!text) return std::nullopt;
    Parser parser(*text, false, limits);
    auto value = parser.parseDocument();
    if (!value) setError(error, parser.error());
    return value;
}

std::optional<PlistValue::Dictionary> TextPropertyList::parseStringsTable(std::string_view bytes, std::string* error,
                                                                          const Limits& limits) {
    const auto text = textOf(bytes, limits, error);
    if (!text) return std::nullopt;
    Parser parser(*text, true, limits);
    auto entries = parser.parseBareDictionary();
    if (!entries) setError(error, parser.error());
    return entries;
}

std::optional<std::string> TextPropertyList::decode(std::string_view bytes) {
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

}  // namespace host
