#pragma once
// The platform's old text format for property lists: `{ key = value; }` dictionaries,
// `( a, b )` arrays, quoted and unquoted strings, `<0fa1>` data, // and /* */ comments. It has
// no numbers, booleans or dates: `12` and `YES` are strings. A file may also hold a dictionary
// without its braces (`key = value; ...`), as a strings table does.
//
// Text is UTF-8 (a byte-order mark is dropped) or UTF-16 in either byte order with its mark.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "host/Runtime/PlistValue.h"

namespace host {

// What a text list may cost before it is refused. The defaults match the XML and binary readers.
struct TextPropertyListLimits {
    int maxDepth = 64;                  // arrays and dictionaries inside one another
    std::size_t maxObjects = 1u << 20;  // values and keys, all told
    std::size_t maxBytes = UINT32_MAX;  // the file's size
};

class TextPropertyList {
public:
    using Limits = TextPropertyListLimits;

    // One value, or a dictionary without braces. Nothing for text that is not such a list (an
    // empty file included); `error` then says why, as "line L, column C: what was expected".
    static std::optional<PlistValue> parse(std::string_view bytes, std::string* error = nullptr, const Limits& limits = {});

    // A strings table: a dictionary without braces whose values are all strings; `"key";` maps
    // a key to itself. Empty text is an empty table. A value of any other kind is a syntax error.
    static std::optional<PlistValue::Dictionary> parseStringsTable(std::string_view bytes, std::string* error = nullptr,
                                                                   const Limits& limits = {});

    // The file's text as UTF-8, the byte-order mark gone; nothing when the bytes are not valid
    // UTF-8, or UTF-16 with its mark.
    static std::optional<std::string> decode(std::string_view bytes);
};

}  // namespace host
