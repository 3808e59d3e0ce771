#pragma once
// Checks on the raw bytes of a property-list strings table, made before libplist reads them.
// libplist 2.2 recurses without limit (reading and freeing), so a deeply nested list overflows
// the stack, and it asserts on text holding a NUL. A strings table is a flat dictionary of
// strings; any other shape is turned away here, so libplist only ever sees shallow lists.
#include <string_view>

class StringsPlistGuard {
public:
    // XML text: no NUL, and element nesting no deeper than a dictionary of strings could need
    // (with room to spare).
    static bool acceptsXML(std::string_view text);

    // A "bplist00" list: the top object is a dictionary whose keys and values all refer to
    // string objects inside the object area, none holding a NUL.
    static bool acceptsBinary(std::string_view bytes);
};
