#pragma once
// A strings table as the platform reads Localizable.strings: old-style text ("key" = "value";),
// or an XML or binary property list holding a dictionary of strings.
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace host {

class StringsTable {
public:
    using Entries = std::map<std::string, std::string>;

    // Parses a table file's bytes in whichever of the three formats they are. A syntax error in
    // the old-style format empties the whole table (the platform's behaviour); an empty file is
    // an empty table. `diagnostic` receives a one-line reason when the table was emptied.
    static Entries parse(std::string_view bytes, std::string* diagnostic = nullptr);

    // The old-style text format alone: UTF-8, or UTF-16 (either byte order) with a byte-order
    // mark. `"key" = "value";` entries, `"key";` maps a key to itself, // and /* */ comments,
    // escapes \n \t \r \" \\, \U with up to 4 hex digits, up to 3 octal digits. Nothing on a
    // syntax error.
    static std::optional<Entries> parseOldStyle(std::string_view bytes, std::string* diagnostic = nullptr);
};

}  // namespace host
