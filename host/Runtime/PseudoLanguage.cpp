#include "host/Runtime/PseudoLanguage.h"

#include <array>
#include <cctype>

#include "host/Runtime/DeviceProfile.h"

namespace host {
namespace {

constexpr std::string_view kPrefix = "pseudo-";
constexpr std::string_view kPatternSuffix = "_FORMAT";

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The length of the printf-style format specifier at `pos` (which holds '%'), or 0 when what
// follows is not one: %[n$][flags][width][.precision][length]conversion.
std::size_t specifierLength(std::string_view text, std::size_t pos) {
    std::size_t i = pos + 1;
    const auto at = [&](std::size_t k) { return k < text.size() ? text[k] : '\0'; };
    std::size_t digits = i;
    while (isDigit(at(digits))) ++digits;
    if (digits > i && at(digits) == '$') i = digits + 1;
    while (std::string_view("-+ #0'").find(at(i)) != std::string_view::npos && at(i) != '\0') ++i;
    if (at(i) == '*') ++i;
    else while (isDigit(at(i))) ++i;
    if (at(i) == '.') {
        ++i;
        if (at(i) == '*') ++i;
        else while (isDigit(at(i))) ++i;
    }
    for (std::string_view length : {"hh", "ll", "h", "l", "q", "L", "z", "t", "j"})
        if (text.substr(i, length.size()) == length) {
            i += length.size();
            break;
        }
    const char conversion = at(i);
    if (conversion == '\0' || std::string_view("@dDiuUxXoOfFeEgGcCsSpaA%").find(conversion) == std::string_view::npos) return 0;
    return i + 1 - pos;
}

// Calls `plain` for each run of ordinary text and `specifier` for each format specifier.
template <typename Plain, typename Specifier>
void split(std::string_view text, Plain plain, Specifier specifier) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = text[i] == '%' ? specifierLength(text, i) : 0;
        if (length == 0) {
            ++i;
            continue;
        }
        if (i > start) plain(text.substr(start, i - start));
        specifier(text.substr(i, length));
        i += length;
        start = i;
    }
    if (start < text.size()) plain(text.substr(start));
}

// Accented look-alikes from Latin-1 and Latin Extended-A, which the shipped faces cover; letters
// without a common one are kept.
const char* accented(char c) {
    static constexpr std::array<const char*, 26> lower{"å", "b", "ç", "ð", "é", "f", "ĝ", "ĥ", "î", "ĵ", "ķ", "ļ", "m",
        "ñ", "ö", "p", "q", "ŕ", "š", "ţ", "û", "v", "ŵ", "x", "ý", "ž"};
    static constexpr std::array<const char*, 26> upper{"Å", "B", "Ç", "Ð", "É", "F", "Ĝ", "Ĥ", "Î", "Ĵ", "Ķ", "Ļ", "M",
        "Ñ", "Ö", "P", "Q", "Ŕ", "Š", "Ţ", "Û", "V", "Ŵ", "X", "Ý", "Ž"};
    if (c >= 'a' && c <= 'z') return lower[static_cast<std::size_t>(c - 'a')];
    if (c >= 'A' && c <= 'Z') return upper[static_cast<std::size_t>(c - 'A')];
    return nullptr;
}

std::string doubled(std::string_view text) {
    // The text, then its words again without the specifiers, so each argument is still used once.
    std::string again;
    split(text, [&](std::string_view run) { again += run; }, [](std::string_view) {});
    const auto first = again.find_first_not_of(" \t\n");
    if (first == std::string::npos) return std::string(text);
    again = again.substr(first, again.find_last_not_of(" \t\n") + 1 - first);
    return std::string(text) + " " + again;
}

std::string withAccents(std::string_view text) {
    std::string out;
    split(text,
        [&](std::string_view run) {
            // ASCII letters never occur inside a multi-byte UTF-8 sequence, so bytes are safe here.
            for (const char c : run) {
                if (const char* look = accented(c)) out += look;
                else out += c;
            }
        },
        [&](std::string_view specifier) { out += specifier; });
    return out;
}

std::string rightToLeft(std::string_view text) {
    // An override ends at a line break, so each line gets its own.
    std::string out;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        const std::string_view line = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!line.empty()) {
            out += PseudoLanguage::kRightToLeftOverride;
            out += line;
            out += PseudoLanguage::kPopDirectional;
        }
        if (end == std::string_view::npos) break;
        out += '\n';
        start = end + 1;
    }
    return out;
}

}  // namespace

std::optional<PseudoLanguage::Kind> PseudoLanguage::named(std::string_view tag) {
    if (tag.substr(0, kPrefix.size()) != kPrefix) return std::nullopt;
    const std::string_view rest = tag.substr(kPrefix.size());
    if (rest == "double") return Kind::Double;
    if (rest == "accented") return Kind::Accented;
    if (rest == "bounded") return Kind::Bounded;
    if (rest == "rtl") return Kind::RightToLeft;
    return std::nullopt;
}

std::optional<PseudoLanguage::Kind> PseudoLanguage::current() {
    const auto& languages = DeviceProfile::current().preferredLanguages;
    if (languages.empty()) return std::nullopt;
    return named(languages.front());
}

bool PseudoLanguage::currentIsRightToLeft() { return current() == Kind::RightToLeft; }

std::string PseudoLanguage::transform(Kind kind, std::string_view text) {
    if (text.empty()) return {};
    switch (kind) {
        case Kind::Double: return doubled(text);
        case Kind::Accented: return withAccents(text);
        case Kind::Bounded: return "[# " + std::string(text) + " #]";
        case Kind::RightToLeft: return rightToLeft(text);
    }
    return std::string(text);
}

StringsTable::Entries PseudoLanguage::transform(Kind kind, const StringsTable::Entries& table) {
    StringsTable::Entries out;
    for (const auto& [key, value] : table) {
        const bool pattern = key.size() >= kPatternSuffix.size() && key.ends_with(kPatternSuffix);
        out.emplace(key, pattern ? value : transform(kind, value));
    }
    return out;
}

}  // namespace host
