#pragma once
// Pseudo-languages for checking a layout against translations not yet written: made at load
// time from the development language's strings tables, so there are no files to ship or to keep
// in step. "pseudo-double" doubles each text's length, "pseudo-accented" swaps letters for
// accented look-alikes, "pseudo-bounded" wraps each text in visible markers so a clipped end
// shows, "pseudo-rtl" makes each text run right to left.
#include <optional>
#include <string>
#include <string_view>

#include "host/Runtime/StringsTable.h"

namespace host {

class PseudoLanguage {
public:
    enum class Kind { Double, Accented, Bounded, RightToLeft };

    // The kind a language tag names ("pseudo-double"); nothing for a real language.
    static std::optional<Kind> named(std::string_view tag);
    // The kind the device's first preferred language names, if it is one.
    static std::optional<Kind> current();
    // True when the device's first preferred language reads right to left.
    static bool currentIsRightToLeft();

    // One text transformed. Format specifiers (%@, %1$d, %.2f, %%) are kept whole and appear
    // once; an empty text stays empty (it means "no text" to whoever shows it).
    static std::string transform(Kind kind, std::string_view text);
    // Every value of a table transformed. Values of keys ending in "_FORMAT" are patterns the
    // program reads (a clock's), not texts for people, and are kept.
    static StringsTable::Entries transform(Kind kind, const StringsTable::Entries& table);

    // Right-to-left override and pop-directional-formatting marks, as UTF-8.
    static constexpr std::string_view kRightToLeftOverride = "\u202E";
    static constexpr std::string_view kPopDirectional = "\u202C";
};

}  // namespace host
