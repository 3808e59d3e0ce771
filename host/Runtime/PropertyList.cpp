#include "host/Runtime/PropertyList.h"

#include <plist/plist.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "host/Runtime/CHandle.h"
#include "host/Runtime/PlistGuard.h"
#include "host/Runtime/SaturatingCast.h"
#include "host/Runtime/TextPropertyList.h"

namespace host {

namespace {

using Node = CHandle<void, plist_free>;       // a libplist node tree
using Buffer = CHandle<char, ::free>;         // a string or data buffer libplist malloc'ed
using Iterator = CHandle<void, ::free>;       // a container iterator libplist malloc'ed

constexpr int kMaxDepth = 64;  // far deeper than any page or preferences list; guards libplist's recursion

// Converts libplist's tree into `out` in place: strings are built once, containers are filled
// where they will stay. False for a type a PlistValue cannot hold or nesting past kMaxDepth.
bool convert(plist_t node, int depth, PlistValue& out) {
    if (!node || depth > kMaxDepth) return false;
    switch (plist_get_node_type(node)) {
        case PLIST_BOOLEAN: {
            uint8_t b = 0;
            plist_get_bool_val(node, &b);
            out = PlistValue(b != 0);
            return true;
        }
        case PLIST_UINT:
        case PLIST_UID: {
            uint64_t u = 0;
            if (plist_get_node_type(node) == PLIST_UID) plist_get_uid_val(node, &u);
            else plist_get_uint_val(node, &u);
            out = PlistValue(static_cast<std::int64_t>(u));
            return true;
        }
        case PLIST_REAL: {
            double d = 0;
            plist_get_real_val(node, &d);
            out = PlistValue(d);
            return true;
        }
        case PLIST_STRING: {
            uint64_t length = 0;
            const char* s = plist_get_string_ptr(node, &length);
            out = PlistValue(s ? std::string(s, length) : std::string());
            return true;
        }
        case PLIST_KEY: {
            char* s = nullptr;
            plist_get_key_val(node, &s);
            const Buffer owned(s);
            out = PlistValue(std::string(s ? s : ""));
            return true;
        }
        case PLIST_DATA: {
            uint64_t length = 0;
            const char* d = plist_get_data_ptr(node, &length);
            out = PlistValue(d ? PlistValue::Data(d, d + length) : PlistValue::Data());
            return true;
        }
        case PLIST_DATE: {
            int32_t sec = 0, usec = 0;
            plist_get_date_val(node, &sec, &usec);
            out = PlistValue(PlistValue::Date{sec + usec / 1e6});
            return true;
        }
        case PLIST_ARRAY: {
            out = PlistValue(PlistValue::Array());
            PlistValue::Array& items = *out.array();
            items.reserve(plist_array_get_size(node));
            // The iterator walks the children once; plist_array_get_item counts from the first
            // child on every call for arrays read from binary (quadratic for long lists).
            plist_array_iter it = nullptr;
            plist_array_new_iter(node, &it);
            const Iterator ownedIter(it);
            for (;;) {
                plist_t child = nullptr;
                plist_array_next_item(node, it, &child);
                if (!child) return true;
                if (!convert(child, depth + 1, items.emplace_back())) return false;
            }
        }
        case PLIST_DICT: {
            // Gathered in the file's order and sorted once: a later duplicate key replaces the
            // earlier entry, as the platform reads them.
            std::vector<PlistValue::Dictionary::value_type> entries;
            entries.reserve(plist_dict_get_size(node));
            plist_dict_iter it = nullptr;
            plist_dict_new_iter(node, &it);
            const Iterator ownedIter(it);
            for (;;) {
                char* key = nullptr;
                plist_t value = nullptr;
                plist_dict_next_item(node, it, &key, &value);
                const Buffer ownedKey(key);
                if (!value) break;
                auto& entry = entries.emplace_back(key ? key : "", PlistValue());
                if (!convert(value, depth + 1, entry.second)) return false;
            }
            out = PlistValue(PlistValue::Dictionary::fromEntries(std::move(entries)));
            return true;
        }
        default:
            return false;
    }
}

plist_t toNode(const PlistValue& value) {
    if (value.isBool()) return plist_new_bool(*value.number() != 0);
    // Straight from the integer: through a double, 2^63 - 1 would become 2^63, which no int64 holds.
    if (auto i = value.integer()) return plist_new_uint(static_cast<uint64_t>(*i));
    if (value.isReal()) return plist_new_real(*value.number());
    if (auto s = value.string()) return plist_new_string(s->c_str());
    if (auto d = value.data()) return plist_new_data(reinterpret_cast<const char*>(d->data()), d->size());
    if (auto date = value.date()) {
        // libplist takes 32-bit seconds: a date beyond them is clamped, never an undefined cast.
        const double seconds = date->secondsSinceReference;
        const auto sec = host::saturatingCast<int32_t>(seconds);
        const auto usec = host::saturatingCast<int32_t>(std::clamp((seconds - sec) * 1e6, -999999.0, 999999.0));
        return plist_new_date(sec, usec);
    }
    if (auto a = value.array()) {
        plist_t node = plist_new_array();
        for (const auto& item : *a)
            if (plist_t child = toNode(item)) plist_array_append_item(node, child);
        return node;
    }
    if (auto dict = value.dictionary()) {
        plist_t node = plist_new_dict();
        for (const auto& [key, item] : *dict)
            if (plist_t child = toNode(item)) plist_dict_set_item(node, key.c_str(), child);
        return node;
    }
    return nullptr;
}

// Parses `bytes`, which hold a NUL right after their last byte.
std::optional<PlistValue> parseTerminated(std::string_view bytes, std::string* error) {
    auto fail = [&](const std::string& why) -> std::optional<PlistValue> {
        if (error) *error = why;
        return std::nullopt;
    };
    if (bytes.empty()) return fail("the file is empty");
    if (bytes.size() > UINT32_MAX) return fail("the file is too large");
    const bool binary = bytes.size() >= 8 && bytes.substr(0, 8) == "bplist00";
    if (!binary && !PropertyList::looksLikeXML(bytes)) {
        // Neither binary nor XML: the platform's reader then takes the old text format.
        std::string why;
        auto value = TextPropertyList::parse(bytes, &why);
        if (!value) return fail("not a property list (XML, binary or text): " + why);
        return value;
    }
    if (binary ? !PlistGuard::acceptsBinary(bytes, kMaxDepth) : !PlistGuard::acceptsXML(bytes, kMaxDepth + 2))
        return fail("property list too deeply nested, too large when expanded, or holding a NUL");
    plist_t raw = nullptr;
    if (binary) plist_from_bin(bytes.data(), static_cast<uint32_t>(bytes.size()), &raw);
    else plist_from_xml(bytes.data(), static_cast<uint32_t>(bytes.size()), &raw);
    const Node node(raw);
    if (!node) return fail("malformed property list");
    PlistValue value;
    if (!convert(raw, 0, value)) return fail("property list has unsupported or too deeply nested values");
    return value;
}

}  // namespace

bool PropertyList::looksLikeXML(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    const auto start = bytes.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos) return false;
    bytes.remove_prefix(start);
    return bytes.substr(0, 2) == "<?" || bytes.substr(0, 2) == "<!" || bytes.substr(0, 6) == "<plist";
}

std::optional<PlistValue> PropertyList::parse(const std::string& bytes, std::string* error) {
    return parseTerminated(bytes, error);
}

std::optional<PlistValue> PropertyList::parse(std::string_view bytes, std::string* error) {
    // A NUL-terminated copy: libplist's XML reader must never run past the buffer.
    return parseTerminated(std::string(bytes), error);
}

std::optional<PlistValue> PropertyList::readFile(const std::filesystem::path& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error) *error = "cannot open " + path.string();
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return parse(bytes.str(), error);
}

std::string PropertyList::serialize(const PlistValue& value, Format format) {
    Node node(toNode(value));
    if (!node) node.reset(plist_new_dict());
    char* out = nullptr;
    uint32_t length = 0;
    if (format == Format::Binary)
        plist_to_bin(static_cast<plist_t>(node.get()), &out, &length);
    else
        plist_to_xml(static_cast<plist_t>(node.get()), &out, &length);
    const Buffer owned(out);
    return out ? std::string(out, length) : std::string();
}

}  // namespace host
