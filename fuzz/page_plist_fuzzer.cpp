// Feeds arbitrary bytes to the page loader, as if they were a page's property list: parsing
// (XML, binary and text) and building rows from whatever the list holds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/Preferences/SpecifierLoader.h"
#include "host/Runtime/PropertyList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    host::PageListProblems problems;
    const auto rows = host::SpecifierLoader::specifiersFromBytes(bytes, nullptr, &problems);
    std::size_t itemProblems = 0;
    for (const auto& problem : problems) {
        if (problem.what.empty()) __builtin_trap();
        if (!problem.item) {
            // A whole-list problem comes alone and leaves no rows.
            if (problems.size() != 1 || !rows.empty()) __builtin_trap();
        } else {
            ++itemProblems;
        }
    }
    // Every item is a row or a problem (an item may be both: a plain row for an unknown cell).
    if (problems.empty() || itemProblems > 0) {
        const auto page = host::PropertyList::parse(bytes);
        const auto* items = page ? (*page)["items"].array() : nullptr;
        if (!items || rows.size() > items->size() || rows.size() + itemProblems < items->size()) __builtin_trap();
    }
    for (const auto& row : rows) {
        (void)row->propertyForKey("min").floatValue();
        (void)row->titleForValue(row->propertyForKey("default"));
    }
    return 0;
}
