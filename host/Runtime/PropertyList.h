#pragma once
// Reading and writing property lists with libplist's C API (XML and binary), and reading the old
// text format as the platform's reader does. The libplist nodes never leave this file's
// implementation: callers see PlistValue.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "host/Runtime/PlistValue.h"

namespace host {

class PropertyList {
public:
    enum class Format { XML, Binary };

    // Parses XML, binary or old text-format bytes. Nothing for bytes that are not a property list;
    // `error` then says why in one line.
    static std::optional<PlistValue> parse(std::string_view bytes, std::string* error = nullptr);
    // The same without a copy: a std::string ends in a NUL, which keeps libplist's XML reader
    // inside the buffer.
    static std::optional<PlistValue> parse(const std::string& bytes, std::string* error = nullptr);
    static std::optional<PlistValue> readFile(const std::filesystem::path& path, std::string* error = nullptr);

    // XML begins, after a byte-order mark and white space, with its declaration, a doctype or a
    // comment, or the <plist> element; anything else that starts with '<' is text-format data.
    static bool looksLikeXML(std::string_view bytes);

    // Serialises a value; nil values inside containers are left out (a plist has no nil).
    static std::string serialize(const PlistValue& value, Format format = Format::XML);
};

}  // namespace host
