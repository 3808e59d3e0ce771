#include "host/Runtime/StringsTable.h"

#include "host/Runtime/PropertyList.h"
#include "host/Runtime/TextPropertyList.h"
#include "host/Runtime/UTF8.h"

namespace host {

namespace {

using Entries = StringsTable::Entries;

void setDiagnostic(std::string* diagnostic, std::string message) {
    if (diagnostic) *diagnostic = std::move(message);
}

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// The old-style text format: a dictionary without braces whose values are all strings.
std::optional<Entries> parseText(std::string_view bytes, std::string* diagnostic) {
    auto dictionary = TextPropertyList::parseStringsTable(bytes, diagnostic);
    if (!dictionary) return std::nullopt;
    Entries entries;
    for (auto& [key, value] : *dictionary) entries.emplace_hint(entries.end(), key, *value.string());
    return entries;
}

// An XML or binary property list holding a dictionary of strings.
std::optional<Entries> parsePlist(std::string_view bytes, std::string* diagnostic) {
    std::string error;
    auto root = PropertyList::parse(bytes, &error);
    if (!root) {
        setDiagnostic(diagnostic, std::move(error));
        return std::nullopt;
    }
    auto* dictionary = root->dictionary();
    if (!dictionary) {
        setDiagnostic(diagnostic, "property list is not a dictionary");
        return std::nullopt;
    }
    Entries entries;
    for (auto& [key, value] : *dictionary) {
        std::string* text = value.string();
        if (!text) {
            setDiagnostic(diagnostic, "property list holds a value that is not a string");
            return std::nullopt;
        }
        if (!host::utf8::isValid(key) || !host::utf8::isValid(*text)) {
            setDiagnostic(diagnostic, "property list holds text that is not valid UTF-8");
            return std::nullopt;
        }
        entries.emplace_hint(entries.end(), key, std::move(*text));
    }
    return entries;
}

}  // namespace

StringsTable::Entries StringsTable::parse(std::string_view bytes, std::string* diagnostic) {
    if (bytes.empty()) return {};
    std::optional<Entries> entries;
    if (startsWith(bytes, "bplist00")) {
        entries = parsePlist(bytes, diagnostic);
    } else if (auto text = TextPropertyList::decode(bytes); !text) {
        setDiagnostic(diagnostic, "not valid UTF-8 or UTF-16 text");
    } else if (PropertyList::looksLikeXML(*text)) {
        entries = parsePlist(*text, diagnostic);
    } else {
        entries = parseText(bytes, diagnostic);
    }
    return entries ? std::move(*entries) : Entries{};
}

std::optional<StringsTable::Entries> StringsTable::parseOldStyle(std::string_view bytes, std::string* diagnostic) {
    return parseText(bytes, diagnostic);
}

}  // namespace host
