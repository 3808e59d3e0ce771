// Feeds arbitrary bytes to the page loader, as if they were a page's property list: parsing
// (XML and binary) and building rows from whatever the list holds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/Preferences/SpecifierLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string diagnostic;
    const auto rows = host::SpecifierLoader::specifiersFromBytes(bytes, nullptr, &diagnostic);
    // Rows come with no complaint; no rows always come with one, unless the page had no items.
    if (!rows.empty() && !diagnostic.empty()) __builtin_trap();
    for (const auto& row : rows) {
        (void)row->propertyForKey("min").floatValue();
        (void)row->titleForValue(row->propertyForKey("default"));
    }
    return 0;
}
