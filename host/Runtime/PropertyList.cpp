#include "host/Runtime/PropertyList.h"

#include "host/Runtime/PlistGuard.h"
#include "host/Runtime/SaturatingCast.h"

#include <plist/plist.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

namespace host {

namespace {

// Owns a libplist node tree.
struct PlistNodeDeleter {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using PlistNode = std::unique_ptr<void, PlistNodeDeleter>;

// Owns a malloc'ed buffer handed out by libplist.
struct FreeDeleter {
    void operator()(char* p) const { std::free(p); }
};

constexpr int kMaxDepth = 64;  // far deeper than any page or preferences list; guards libplist's recursion

std::optional<PlistValue> toValue(plist_t node, int depth) {
    if (!node || depth > kMaxDepth) return std::nullopt;
    switch (plist_get_node_type(node)) {
        case PLIST_BOOLEAN: {
            uint8_t b = 0;
            plist_get_bool_val(node, &b);
            return PlistValue(b != 0);
        }
        case PLIST_UINT: {
            uint64_t u = 0;
            plist_get_uint_val(node, &u);
            return PlistValue(static_cast<std::int64_t>(u));
        }
        case PLIST_REAL: {
            double d = 0;
            plist_get_real_val(node, &d);
            return PlistValue(d);
        }
        case PLIST_STRING: {
            uint64_t length = 0;
            const char* s = plist_get_string_ptr(node, &length);
            return PlistValue(s ? std::string(s, length) : std::string());
        }
        case PLIST_KEY: {
            char* s = nullptr;
            plist_get_key_val(node, &s);
            std::unique_ptr<char, FreeDeleter> owned(s);
            return PlistValue(std::string(s ? s : ""));
        }
        case PLIST_DATA: {
            char* d = nullptr;
            uint64_t length = 0;
            plist_get_data_val(node, &d, &length);
            std::unique_ptr<char, FreeDeleter> owned(d);
            return PlistValue(PlistValue::Data(d, d + length));
        }
        case PLIST_DATE: {
            int32_t sec = 0, usec = 0;
            plist_get_date_val(node, &sec, &usec);
            return PlistValue(PlistValue::Date{sec + usec / 1e6});
        }
        case PLIST_ARRAY: {
            // The iterator walks the children once; plist_array_get_item counts from the first
            // child on every call for arrays read from binary (quadratic for long lists).
            PlistValue::Array items;
            items.reserve(plist_array_get_size(node));
            plist_array_iter it = nullptr;
            plist_array_new_iter(node, &it);
            std::unique_ptr<void, decltype(&std::free)> ownedIter(it, &std::free);
            for (;;) {
                plist_t child = nullptr;
                plist_array_next_item(node, it, &child);
                if (!child) break;
                auto item = toValue(child, depth + 1);
                if (!item) return std::nullopt;
                items.push_back(std::move(*item));
            }
            return PlistValue(std::move(items));
        }
        case PLIST_DICT: {
            PlistValue::Dictionary entries;
            plist_dict_iter it = nullptr;
            plist_dict_new_iter(node, &it);
            std::unique_ptr<void, decltype(&std::free)> ownedIter(it, &std::free);
            for (;;) {
                char* key = nullptr;
                plist_t value = nullptr;
                plist_dict_next_item(node, it, &key, &value);
                if (!value) {
                    std::free(key);
                    break;
                }
                std::unique_ptr<char, FreeDeleter> ownedKey(key);
                auto converted = toValue(value, depth + 1);
                if (!converted) return std::nullopt;
                entries.insert_or_assign(entries.end(), std::string(key ? key : ""), std::move(*converted));
            }
            return PlistValue(std::move(entries));
        }
        case PLIST_UID: {
            uint64_t u = 0;
            plist_get_uid_val(node, &u);
            return PlistValue(static_cast<std::int64_t>(u));
        }
        default:
            return std::nullopt;
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

}  // namespace

std::optional<PlistValue> PropertyList::parse(std::string_view bytes, std::string* error) {
    auto fail = [&](const char* why) -> std::optional<PlistValue> {
        if (error) *error = why;
        return std::nullopt;
    };
    if (bytes.empty()) return fail("the file is empty");
    if (bytes.size() > UINT32_MAX) return fail("the file is too large");
    const bool binary = bytes.size() >= 8 && bytes.substr(0, 8) == "bplist00";
    if (!binary && bytes.find("<plist") == std::string_view::npos && bytes.find("<?xml") == std::string_view::npos)
        return fail("not a property list (neither XML nor binary)");
    if (binary ? !PlistGuard::acceptsBinary(bytes, kMaxDepth) : !PlistGuard::acceptsXML(bytes, kMaxDepth + 2))
        return fail("property list too deeply nested, too large when expanded, or holding a NUL");
    // A NUL-terminated copy: libplist's XML reader must never run past the buffer.
    const std::string copy(bytes);
    plist_t raw = nullptr;
    if (binary) plist_from_bin(copy.data(), static_cast<uint32_t>(copy.size()), &raw);
    else plist_from_xml(copy.data(), static_cast<uint32_t>(copy.size()), &raw);
    PlistNode node(raw);
    if (!node) return fail("malformed property list");
    auto value = toValue(raw, 0);
    if (!value) return fail("property list has unsupported or too deeply nested values");
    return value;
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
    PlistNode node(toNode(value));
    if (!node) node.reset(plist_new_dict());
    char* out = nullptr;
    uint32_t length = 0;
    if (format == Format::Binary)
        plist_to_bin(static_cast<plist_t>(node.get()), &out, &length);
    else
        plist_to_xml(static_cast<plist_t>(node.get()), &out, &length);
    std::unique_ptr<char, FreeDeleter> owned(out);
    return out ? std::string(out, length) : std::string();
}

}  // namespace host
