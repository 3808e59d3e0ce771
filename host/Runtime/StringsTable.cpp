#include "host/Runtime/StringsTable.h"

#include <plist/plist.h>

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "host/Runtime/PlistGuard.h"
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

struct PlistFree {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;

// A parsed property list's dictionary of strings; nothing when it is anything else.
std::optional<Entries> dictionaryOfStrings(plist_t root, std::string* diagnostic) {
    if (!root) {
        setDiagnostic(diagnostic, "malformed property list");
        return std::nullopt;
    }
    if (plist_get_node_type(root) != PLIST_DICT) {
        setDiagnostic(diagnostic, "property list is not a dictionary");
        return std::nullopt;
    }
    Entries entries;
    plist_dict_iter iter = nullptr;
    plist_dict_new_iter(root, &iter);
    const std::unique_ptr<void, decltype(&std::free)> iterGuard(iter, &std::free);
    for (;;) {
        char* rawKey = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(root, iter, &rawKey, &value);
        const std::unique_ptr<char, decltype(&std::free)> key(rawKey, &std::free);
        if (!value) break;
        if (!key || plist_get_node_type(value) != PLIST_STRING) {
            setDiagnostic(diagnostic, "property list holds a value that is not a string");
            return std::nullopt;
        }
        std::uint64_t length = 0;
        const char* chars = plist_get_string_ptr(value, &length);
        const std::string_view text = chars ? std::string_view(chars, length) : std::string_view();
        if (!host::utf8::isValid(key.get()) || !host::utf8::isValid(text)) {
            setDiagnostic(diagnostic, "property list holds text that is not valid UTF-8");
            return std::nullopt;
        }
        entries.insert_or_assign(key.get(), std::string(text));
    }
    return entries;
}

std::optional<Entries> parsePlist(std::string_view bytes, bool binary, std::string* diagnostic) {
    if (bytes.size() > UINT32_MAX) {
        setDiagnostic(diagnostic, "property list too large");
        return std::nullopt;
    }
    if (binary ? !PlistGuard::acceptsBinary(bytes, 2) : !PlistGuard::acceptsXML(bytes, 16)) {
        setDiagnostic(diagnostic, "property list is not a dictionary of strings");
        return std::nullopt;
    }
    // A copy with a terminating NUL: the XML reader must never run past the buffer.
    const std::string copy(bytes);
    plist_t root = nullptr;
    if (binary) plist_from_bin(copy.data(), static_cast<uint32_t>(copy.size()), &root);
    else plist_from_xml(copy.data(), static_cast<uint32_t>(copy.size()), &root);
    const PlistPtr guard(root);
    return dictionaryOfStrings(root, diagnostic);
}

bool looksLikeXML(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos) return false;
    text.remove_prefix(start);
    return startsWith(text, "<?xml") || startsWith(text, "<plist") || startsWith(text, "<!DOCTYPE");
}

}  // namespace

StringsTable::Entries StringsTable::parse(std::string_view bytes, std::string* diagnostic) {
    if (bytes.empty()) return {};
    std::optional<Entries> entries;
    if (startsWith(bytes, "bplist00")) {
        entries = parsePlist(bytes, true, diagnostic);
    } else if (auto text = TextPropertyList::decode(bytes); !text) {
        setDiagnostic(diagnostic, "not valid UTF-8 or UTF-16 text");
    } else if (looksLikeXML(*text)) {
        entries = parsePlist(*text, false, diagnostic);
    } else {
        entries = parseText(bytes, diagnostic);
    }
    return entries ? std::move(*entries) : Entries{};
}

std::optional<StringsTable::Entries> StringsTable::parseOldStyle(std::string_view bytes, std::string* diagnostic) {
    return parseText(bytes, diagnostic);
}

}  // namespace host
