#include "host/Runtime/PlistGuard.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

namespace host {

namespace {

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// The binary format's layout: "bplist00", objects, the offset table, a 32-byte trailer.
class BinaryReader {
public:
    static constexpr std::size_t kHeader = 8, kTrailer = 32;

    explicit BinaryReader(std::string_view b) : _b(b) {
        if (b.size() < kHeader + kTrailer) return;
        const std::size_t trailer = b.size() - kTrailer;
        _offsetSize = byte(trailer + 6);
        _refSize = byte(trailer + 7);
        std::uint64_t count = 0, top = 0, table = 0;
        read(trailer + 8, 8, b.size(), count);
        read(trailer + 16, 8, b.size(), top);
        read(trailer + 24, 8, b.size(), table);
        if (_offsetSize < 1 || _offsetSize > 8 || _refSize < 1 || _refSize > 8) return;
        if (table < kHeader || table > trailer || top >= count || count > (trailer - table) / _offsetSize) return;
        _count = count;
        _top = top;
        _table = table;
        _valid = true;
    }

    bool valid() const { return _valid; }
    std::uint64_t top() const { return _top; }
    std::size_t refSize() const { return _refSize; }
    unsigned char byte(std::size_t at) const { return static_cast<unsigned char>(_b[at]); }

    // Where object `ref` starts, or nothing when the reference leads outside the object area.
    std::optional<std::size_t> objectAt(std::uint64_t ref) const {
        std::uint64_t offset = 0;
        if (ref >= _count || !read(_table + ref * _offsetSize, _offsetSize, _b.size() - kTrailer, offset)) return std::nullopt;
        if (offset < kHeader || offset >= _table) return std::nullopt;
        return static_cast<std::size_t>(offset);
    }

    // The payload of the object at `at` as (start, count) with `unitBytes` bytes per counted
    // item; the count is the marker's low nibble or, at 0xF, an integer object after it.
    std::optional<std::pair<std::size_t, std::uint64_t>> payload(std::size_t at, std::size_t unitBytes) const {
        std::uint64_t count = byte(at) & 0x0F;
        std::size_t pos = at + 1;
        if (count == 0x0F) {
            if (pos >= _table || (byte(pos) >> 4) != 0x1 || (byte(pos) & 0x0F) > 3) return std::nullopt;
            const std::size_t width = std::size_t{1} << (byte(pos) & 0x0F);
            if (!read(pos + 1, width, _table, count)) return std::nullopt;
            pos += 1 + width;
        }
        if (pos > _table || count > (_table - pos) / unitBytes) return std::nullopt;
        return std::pair{pos, count};
    }

    // A big-endian unsigned of `width` bytes lying wholly before `limit`.
    bool read(std::uint64_t at, std::size_t width, std::size_t limit, std::uint64_t& out) const {
        if (width < 1 || width > 8 || at > limit || limit - at < width) return false;
        out = 0;
        for (std::size_t i = 0; i < width; ++i) out = out << 8 | byte(static_cast<std::size_t>(at) + i);
        return true;
    }

private:
    std::string_view _b;
    std::size_t _offsetSize = 0, _refSize = 0;
    std::uint64_t _count = 0, _top = 0, _table = 0;
    bool _valid = false;
};

// An ASCII (0x5) or UTF-16 (0x6) string object without a NUL.
bool isStringWithoutNul(const BinaryReader& reader, std::size_t at) {
    const unsigned type = reader.byte(at) >> 4;
    if (type != 0x5 && type != 0x6) return false;
    const std::size_t unitBytes = type == 0x5 ? 1 : 2;
    const auto payload = reader.payload(at, unitBytes);
    if (!payload) return false;
    for (std::uint64_t i = 0; i < payload->second; ++i) {
        const std::size_t unit = payload->first + i * unitBytes;
        if (reader.byte(unit) == 0 && (unitBytes == 1 || reader.byte(unit + 1) == 0)) return false;
    }
    return true;
}

}  // namespace

bool PlistGuard::acceptsXML(std::string_view text, int maxDepth) {
    if (std::memchr(text.data(), '\0', text.size())) return false;
    const std::string_view::size_type npos = std::string_view::npos;
    int depth = 0;
    // Byte by byte: tags and the text between them are short, so a plain loop beats a library
    // search per tag; only comments and CDATA sections, which may be long, use one.
    for (std::size_t i = 0, n = text.size(); i < n; ++i) {
        if (text[i] != '<') continue;
        const std::string_view rest = text.substr(i);
        const char kind = rest.size() > 1 ? rest[1] : '\0';
        std::size_t found;
        std::size_t closeLength = 1;
        if (kind == '!' && startsWith(rest, "<!--")) {
            found = rest.find("-->", 1);
            closeLength = 3;
        } else if (kind == '!' && startsWith(rest, "<![CDATA[")) {
            found = rest.find("]]>", 1);
            closeLength = 3;
        } else {
            found = 1;
            while (found < rest.size() && rest[found] != '>') ++found;
            if (found == rest.size()) found = npos;
        }
        if (found == npos) return true;  // unterminated: libplist stops there
        if (kind == '/') depth = depth > 0 ? depth - 1 : 0;
        else if (kind != '?' && kind != '!' && rest[found - 1] != '/' && ++depth > maxDepth) return false;
        i += found + closeLength - 1;
    }
    return true;
}

bool PlistGuard::acceptsBinary(std::string_view bytes, int maxDepth, std::size_t maxObjects) {
    const BinaryReader reader(bytes);
    if (!reader.valid()) return false;
    // Depth-first over the tree libplist would build, with an explicit stack.
    std::vector<std::pair<std::uint64_t, int>> pending{{reader.top(), 0}};
    std::size_t visited = 0;
    while (!pending.empty()) {
        const auto [ref, depth] = pending.back();
        pending.pop_back();
        if (++visited > maxObjects || depth > maxDepth) return false;
        const auto object = reader.objectAt(ref);
        if (!object) return false;
        const unsigned type = reader.byte(*object) >> 4;
        if (type == 0x5 || type == 0x6) {
            if (!isStringWithoutNul(reader, *object)) return false;
            continue;
        }
        if (type != 0xA && type != 0xC && type != 0xD) continue;  // scalars need no look inside
        const std::size_t perItem = (type == 0xD ? 2 : 1) * reader.refSize();
        const auto refs = reader.payload(*object, perItem);
        if (!refs) return false;
        const std::uint64_t count = refs->second * (type == 0xD ? 2 : 1);
        for (std::uint64_t i = 0; i < count; ++i) {
            std::uint64_t child = 0;
            if (!reader.read(refs->first + i * reader.refSize(), reader.refSize(), bytes.size(), child)) return false;
            pending.emplace_back(child, depth + 1);
            if (pending.size() > maxObjects) return false;
        }
    }
    return true;
}

}  // namespace host
