// Feeds arbitrary bytes to the old text property-list reader. Whatever it reads must survive the
// XML writer and reader unchanged, and a strings table must read the same through either entry.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "host/Runtime/PropertyList.h"
#include "host/Runtime/TextPropertyList.h"

namespace {

// The XML writer passes strings through C strings, so a NUL would cut them short.
bool holdsNul(const host::PlistValue& value) {
    if (auto s = value.string()) return s->find('\0') != std::string::npos;
    if (auto a = value.array())
        for (const auto& item : *a)
            if (holdsNul(item)) return true;
    if (auto d = value.dictionary())
        for (const auto& [key, item] : *d)
            if (key.find('\0') != std::string::npos || holdsNul(item)) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto value = host::TextPropertyList::parse(bytes, &error);
    if (!value) {
        // A refusal always gives a reason, and a syntax error names its line.
        if (error.empty()) __builtin_trap();
        if (error.rfind("line ", 0) != 0 && error != "not valid UTF-8 or UTF-16 text") __builtin_trap();
    } else if (!holdsNul(*value)) {
        std::string xmlError;
        const auto again = host::PropertyList::parse(host::PropertyList::serialize(*value), &xmlError);
        if (!again || !(*again == *value)) __builtin_trap();
    }
    // A strings table is a dictionary without braces: read as a property list, it is the same.
    const auto table = host::TextPropertyList::parseStringsTable(bytes);
    if (table && !table->empty() && (!value || *value != host::PlistValue(*table))) __builtin_trap();
    return 0;
}
