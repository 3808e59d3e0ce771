#pragma once
// Checks on the raw bytes of a property list, made before libplist reads them. libplist 2.2
// recurses without limit (reading and freeing), so a deeply nested list overflows the stack; it
// asserts on text holding a NUL; and it copies shared binary objects, so a small binary list can
// stand for an enormous tree. Lists that would do any of that are turned away here.
#include <cstddef>
#include <string_view>

namespace host {

class PlistGuard {
public:
    // XML text: no NUL, and element nesting no deeper than `maxDepth`.
    static bool acceptsXML(std::string_view text, int maxDepth);

    // A "bplist00" list: a well-formed trailer and offset table, references that stay inside
    // the object area, containers nested no deeper than `maxDepth`, strings without a NUL, and
    // no more than `maxObjects` objects reached when shared references are followed as copies.
    static bool acceptsBinary(std::string_view bytes, int maxDepth, std::size_t maxObjects = 1u << 20);
};

}  // namespace host
