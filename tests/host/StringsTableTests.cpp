#include "host/Runtime/StringsTable.h"

#include "tests/support/Utf16.h"

#include <gtest/gtest.h>
#include <plist/plist.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

using Entries = host::StringsTable::Entries;
using namespace std::string_literals;
using test::utf16;

// A binary property list written by libplist from `root`, which it takes.
std::string binaryPlist(plist_t root) {
    char* data = nullptr;
    uint32_t length = 0;
    plist_to_bin(root, &data, &length);
    std::string bytes(data, length);
    std::free(data);
    plist_free(root);
    return bytes;
}

plist_t dictionary(std::initializer_list<std::pair<std::string, plist_t>> items) {
    plist_t dict = plist_new_dict();
    for (const auto& [key, value] : items) plist_dict_set_item(dict, key.c_str(), value);
    return dict;
}

// A binary list of `depth` nested one-item arrays, written by hand: libplist's own writer
// recurses as deeply as its reader.
std::string deepBinaryPlist(std::uint32_t depth) {
    std::string bytes = "bplist00";
    std::vector<std::uint64_t> offsets;
    const auto bigEndian = [&](std::uint64_t value, int width) {
        for (int shift = 8 * (width - 1); shift >= 0; shift -= 8) bytes += static_cast<char>(value >> shift);
    };
    for (std::uint32_t i = 0; i < depth; ++i) {  // a one-item array holding the next object
        offsets.push_back(bytes.size());
        bytes += '\xA1';
        bigEndian(i + 1, 4);
    }
    offsets.push_back(bytes.size());
    bytes += '\x09';
    const std::uint64_t table = bytes.size();
    for (auto offset : offsets) bigEndian(offset, 8);
    bytes += std::string(6, '\0') + "\x08\x04";
    for (std::uint64_t trailer : {std::uint64_t(offsets.size()), std::uint64_t(0), table}) bigEndian(trailer, 8);  // count, top, table
    return bytes;
}

// The grammar and escapes are the text reader's; a table adds self-mapping keys, values that
// are only strings, and a whole table emptied by one error, whose line the diagnostic names.
// An empty or comment-only file is an empty table, not an error.
TEST(StringsTableTest, ReadsOldStyleEntriesAndOneErrorEmptiesTheTable) {
    const struct { std::string text; Entries expected; const char* error = nullptr; } cases[] = {
        {"/* c */ \"TITLE\" = \"Velkaro\"; // c\n\"ALONE\";\n\"EMPTY\" = \"\";\n\"TITLE\" = \"Later wins\";",
            {{"TITLE", "Later wins"}, {"ALONE", "ALONE"}, {"EMPTY", ""}}},
        {"\"A\" = \"a\";\n\"B\" = \"b\"\n\"C\" = \"c\";", {}, "line 3"},  // missing ';'
        {"\"A\" = \"a\";\n{ \"B\" = \"b\"; }", {}, "line 2"},             // braces are not entries
        {"\"A\" = <616263>;", {}, "line 1"}, {"\"A\" = (\"a\");", {}, "line 1"}, // values are only strings
        {"\"A\" = \"a\"; \xC3\xA9 = \"b\";", {}, "line 1"},
        {"", {}}, {" \n\t", {}}, {"// nothing\n", {}}, {"\xEF\xBB\xBF", {}}, {"/* never closed", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string diagnostic;
        EXPECT_EQ(host::StringsTable::parse(c.text, &diagnostic), c.expected);
        EXPECT_NE(diagnostic.find(c.error ? c.error : ""), std::string::npos) << diagnostic;
        EXPECT_EQ(diagnostic.empty(), !c.error) << diagnostic;
        EXPECT_EQ(host::StringsTable::parseOldStyle(c.text), c.error ? std::nullopt : std::optional(c.expected));
    }
    std::string many;
    for (int i = 0; i < 20000; ++i) many += "\"k" + std::to_string(i) + "\" = \"v\";\n";
    EXPECT_EQ(host::StringsTable::parse(many).size(), 20000u);
}

// Old-style text in any encoding, and XML or binary property lists of strings, read alike. Lists
// that are not dictionaries of strings, NULs (which trip an assertion in libplist) and nesting
// deep enough to overflow its stack give an empty table and a diagnostic.
TEST(StringsTableTest, ReadsEveryEncodingAndFormatAlike) {
    const Entries unicode = {{"K\xC3\xA9", "v\xF0\x9F\x98\x80\xE2\x82\xAC"}, {"B", "B"}};
    const std::u16string text16 = u"\"K\u00e9\" = \"v\U0001F600\u20AC\"; \"B\";";
    const std::string text8 = "\"K\xC3\xA9\" = \"v\xF0\x9F\x98\x80\xE2\x82\xAC\"; \"B\";";
    const std::string xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0"><dict><key>TITLE</key><string>Velkaro &amp; co</string>
<key>CAF&#233;</key><string>caf&#xE9;</string><key>EMPTY</key><string></string></dict></plist>)";
    // Fifteen entries or more put the count in an integer object after the marker.
    Entries twenty;
    plist_t big = plist_new_dict();
    for (int i = 0; i < 20; ++i) {
        twenty["k" + std::to_string(i)] = "v" + std::to_string(i);
        plist_dict_set_item(big, ("k" + std::to_string(i)).c_str(), plist_new_string(("v" + std::to_string(i)).c_str()));
    }
    const std::string binary = binaryPlist(dictionary({{"KEY", plist_new_string("ab")}, {"\xC3\xA9", plist_new_string("\xC3\xA9")}}));
    ASSERT_EQ(host::StringsTable::parse(binary).size(), 2u);
    const auto withNul = [&](std::string_view pattern, std::string_view replacement) {
        std::string bytes = binary;
        const auto at = bytes.find(pattern);
        EXPECT_NE(at, std::string::npos);
        if (at != std::string::npos) bytes.replace(at, pattern.size(), replacement);
        return bytes;
    };
    constexpr int kDepth = 300000;
    std::string nested;
    for (int i = 0; i < kDepth; ++i) nested += "<array>";
    for (int i = 0; i < kDepth; ++i) nested += "</array>";
    const std::string deep = "<?xml version=\"1.0\"?><plist>" + nested + "</plist>";
    const struct { std::string bytes; Entries expected; bool readable = true; } cases[] = {
        {text8, unicode}, {"\xEF\xBB\xBF" + text8, unicode}, {utf16(text16, true), unicode}, {utf16(text16, false), unicode},
        {xml, {{"TITLE", "Velkaro & co"}, {"CAF\xC3\xA9", "caf\xC3\xA9"}, {"EMPTY", ""}}},
        {"\xEF\xBB\xBF \n<plist version=\"1.0\"><dict><key>A</key><string>a</string></dict></plist>", {{"A", "a"}}},
        {binaryPlist(big), twenty},
        {binaryPlist(dictionary({{"A", plist_new_string("a")}, {"\xC3\xA9", plist_new_string("\xF0\x9F\x98\x80")}})),
            {{"A", "a"}, {"\xC3\xA9", "\xF0\x9F\x98\x80"}}},
        {binaryPlist(plist_new_dict()), {}},
        {"<?xml version=\"1.0\"?><plist><dict><key>A</key><string>a</string><key>N</key><integer>1</integer></dict></plist>", {}, false},
        {"<?xml version=\"1.0\"?><plist><array><string>a</string></array></plist>", {}, false}, {"<?xml garbage", {}, false},
        {"<?xml version=\"1.0\"?><plist><dict><key>A</key><dict/></dict></plist>", {}, false},
        {"<?xml version=\"1.0\"?><plist><dict><key>A</key><string>a</str", {}, false},
        {binaryPlist(dictionary({{"A", plist_new_string("a")}, {"B", plist_new_bool(1)}})), {}, false},
        {binaryPlist(plist_new_string("just text")), {}, false},
        {binaryPlist(dictionary({{"A", plist_new_string("a")}})).substr(0, 20), {}, false},
        {"<plist><dict><key>A</key><string>a\0b</string></dict></plist>"s, {}, false},
        {"<plist><dict><key>A\0</key><string>ab</string></dict></plist>"s, {}, false},
        {withNul("\x52" "ab"s, "\x52" "a\0"s), {}, false},          // ASCII value
        {withNul("\x53KEY"s, "\x53K\0Y"s), {}, false},              // ASCII key
        {withNul("\x61\0\xE9"s, "\x61\0\0"s), {}, false},          // UTF-16 value
        {deep, {}, false}, {deep.substr(0, deep.size() / 2), {}, false}, {deepBinaryPlist(kDepth), {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.substr(0, 60));
        std::string diagnostic;
        EXPECT_EQ(host::StringsTable::parse(c.bytes, &diagnostic), c.expected);
        EXPECT_EQ(diagnostic.empty(), c.readable) << diagnostic;
    }
}

}  // namespace
