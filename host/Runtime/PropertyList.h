#pragma once
// Reading and writing property lists (XML and binary) with libplist's C API. The libplist nodes
// never leave this file's implementation: callers see PlistValue.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "host/Runtime/PlistValue.h"

namespace host {

class PropertyList {
public:
    enum class Format { XML, Binary };

    // Parses XML or binary bytes. Nothing for bytes that are not a property list; `error` then
    // says why in one line.
    static std::optional<PlistValue> parse(std::string_view bytes, std::string* error = nullptr);
    // The same without a copy: a std::string ends in a NUL, which keeps libplist's XML reader
    // inside the buffer.
    static std::optional<PlistValue> parse(const std::string& bytes, std::string* error = nullptr);
    static std::optional<PlistValue> readFile(const std::filesystem::path& path, std::string* error = nullptr);

    // Serialises a value; nil values inside containers are left out (a plist has no nil).
    static std::string serialize(const PlistValue& value, Format format = Format::XML);
};

}  // namespace host
