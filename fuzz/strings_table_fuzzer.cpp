// Feeds arbitrary bytes to the strings-table reader: every format, every encoding.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "host/Runtime/StringsTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string diagnostic;
    const auto entries = host::StringsTable::parse(bytes, &diagnostic);
    // A table that was emptied always says why; a kept one never does.
    if (!entries.empty() && !diagnostic.empty()) __builtin_trap();
    (void)host::StringsTable::parseOldStyle(bytes);
    return 0;
}
