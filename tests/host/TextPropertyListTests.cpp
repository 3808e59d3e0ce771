#include "host/Runtime/TextPropertyList.h"

#include "tests/support/Utf16.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Array = host::PlistValue::Array;
using Dictionary = host::PlistValue::Dictionary;
using Data = host::PlistValue::Data;
using namespace std::string_literals;
using test::utf16;

std::string nested(int depth, std::string_view open, std::string_view inner, std::string_view close) {
    std::string text;
    for (int i = 0; i < depth; ++i) text += open;
    text += inner;
    for (int i = 0; i < depth; ++i) text += close;
    return text;
}

TEST(TextPropertyListTest, ReadsEveryKindOfValue) {
    const host::PlistValue page = Dictionary{
        {"items", Array{Dictionary{{"cell", "PSGroupCell"}, {"label", "General"}},
                      Dictionary{{"cell", "PSSwitchCell"}, {"default", "YES"}, {"key", "on"}}}},
        {"title", "Name"}};
    const struct { std::string text; host::PlistValue expected; } cases[] = {
        {"{ items = ( { cell = PSGroupCell; label = \"General\"; },\n"
         "  { cell = PSSwitchCell; default = YES; key = on; } ); title = \"Name\"; }",
            page},
        // Without braces, a trailing comma in the array, and comments anywhere between tokens.
        {"// page\nitems = ( { cell = PSGroupCell; label = General; }, /* two */ { cell = PSSwitchCell;\n"
         "  default = YES; key = on; }, );\r\ntitle // the title\n = \"Name\";",
            page},
        {"( (), ( a, ( b ) ), {}, { x = { y = ( z ); }; } )",
            Array{Array{}, Array{"a", Array{"b"}}, Dictionary{}, Dictionary{{"x", Dictionary{{"y", Array{"z"}}}}}}},
        // No numbers or booleans: every word is a string.
        {"( 12, -3.5, YES, 1e3, /path/to:x_$+., 'it\"s' )", Array{"12", "-3.5", "YES", "1e3", "/path/to:x_$+.", "it\"s"}},
        {R"("t\tn\n\"q\" \\ \U00e9\UD83D\UDE00 \101\351 \q")", "t\tn\n\"q\" \\ \xC3\xA9\xF0\x9F\x98\x80 A\xC3\xA9 q"},
        // Escapes end at their digit limit and keep NULs; a lone surrogate becomes U+FFFD.
        {"\"\\a\\r \\U41x \\UD83D! \\60\\0619 \\0000\\U0000\\U00411 two\nlines\"",
            "\a\r Ax \xEF\xBF\xBD! 019 \0" "0" "\0" "A1 two\nlines"s},
        {"< 0fA1 ff\n00 >", Data{0x0F, 0xA1, 0xFF, 0x00}}, {"{ d = <>; }", Dictionary{{"d", Data{}}}}, {"word", "word"},
        {"\"a\";\xE2\x80\xA8\tb = c; b = d;", Dictionary{{"a", "a"}, {"b", "d"}}},  // a key alone maps to itself; the last wins
        {"{ a; }", Dictionary{{"a", "a"}}}, {"\xEF\xBB\xBF( \"caf\xC3\xA9\" )", Array{"caf\xC3\xA9"}},
        {utf16(u"{ k = \"caf\u00e9 \U0001F600\"; }", true), Dictionary{{"k", "caf\xC3\xA9 \xF0\x9F\x98\x80"}}},
        {utf16(u"{ k = \"caf\u00e9 \U0001F600\"; }", false), Dictionary{{"k", "caf\xC3\xA9 \xF0\x9F\x98\x80"}}},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto value = host::TextPropertyList::parse(c.text, &error);
        ASSERT_TRUE(value.has_value()) << c.text << " -> " << error;
        EXPECT_EQ(*value, c.expected) << c.text << " -> " << value->description();
    }
}

// Syntax errors name their place. Lists past a limit are refused with a reason, however deep: the
// reader must never exhaust the stack.
TEST(TextPropertyListTest, RefusalsSayWhereAndWhy) {
    EXPECT_TRUE(host::TextPropertyList::parse(nested(64, "(", "x", ")")).has_value());
    EXPECT_TRUE(host::TextPropertyList::parse(nested(63, "{a=", "(x)", ";}")).has_value());
    EXPECT_TRUE(host::TextPropertyList::parse("(a,b,c,d)", nullptr, {.maxObjects = 5}).has_value());
    EXPECT_TRUE(host::TextPropertyList::parse("( abcdef )", nullptr, {.maxBytes = 10}).has_value());
    const struct { std::string text; const char* error; host::TextPropertyList::Limits limits = {}; } cases[] = {
        {"{ a = \"abc; }", "line 1, column 7: unterminated quoted string"}, {"( a,\n b", "line 2, column 3: unterminated array (opened on line 1)"},
        {"{ a = b;\n", "line 2, column 1: unterminated dictionary (opened on line 1)"},
        {"<ab\n", "line 2, column 1: unterminated data (opened on line 1)"},
        {"{ a b; }", "line 1, column 5: expected '=' or ';' after a key"}, {"{ a = b }", "line 1, column 9: missing ';' after a value"},
        {"{ a = ; }", "line 1, column 7: unexpected ';' where a value belongs"},
        {"a = b;\nc = d\ne = f;", "line 3, column 1: missing ';' after a value"},
        {"{\r\n a = b\r\n}", "line 3, column 1: missing ';'"}, {"{\r a = b\r}", "line 3, column 1: missing ';'"},
        {"{ \"\xC3\xA9\" = b }", "line 1, column 11: missing ';'"},  // columns count characters
        {"{ (a) = b; }", "line 1, column 3: unexpected '(' where a key belongs"},
        {"( a b )", "line 1, column 5: expected ',' or ')' after an array item"},
        {"( , )", "line 1, column 3: unexpected ',' where a value belongs"}, {"( a,, )", "line 1, column 5: unexpected ','"},
        {"{ a = b; } x", "line 1, column 12: unexpected 'x' after the property list"},
        {"( a ) )", "line 1, column 7: unexpected ')' after the property list"},
        {"<abc>", "line 1, column 4: hex digits in data must come in pairs"}, {"<zz>", "line 1, column 2: unexpected 'z' in data"},
        {"<6 1>", "line 1, column 2: hex digits in data must come in pairs"}, {"", "line 1, column 1: no property list in the text"},
        {"a = b; }", "line 1, column 8: unexpected '}' where a key belongs"},
        {" /* only a comment */ ", "no property list in the text"}, {"( \"\xC3(\" )", "not valid UTF-8 or UTF-16 text"},
        {utf16(u"( a )", true) + "x", "not valid UTF-8 or UTF-16 text"},
        {utf16(u"( \xD800 )", false), "not valid"}, {utf16(u"( \xDC00 )", true), "not valid"},
        {"( \"\xED\xA0\x80\" )", "not valid"},  // UTF-8 encoded surrogate
        {nested(65, "(", "x", ")"), "nested deeper than 64 levels"}, {nested(64, "{a=", "(x)", ";}"), "nested deeper than 64 levels"},
        {"a=" + nested(64, "(", "", ")") + ";", "nested deeper than 64 levels"},
        {nested(300000, "(", "", ")"), "line 1, column 65: nested deeper than 64 levels"},
        {nested(300000, "{a=<00>;b=", "x", ";}"), "nested deeper than 64 levels"},
        {"(a,b,c,d,e)", "more than 5 values", {.maxObjects = 5}}, {"x=y;z=w;q;r;", "more than 5 values", {.maxObjects = 5}},
        {"( abcdefg )", "text larger than 10 bytes", {.maxBytes = 10}},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(host::TextPropertyList::parse(c.text, &error, c.limits).has_value()) << c.text.substr(0, 40);
        EXPECT_NE(error.find(c.error), std::string::npos) << c.text.substr(0, 40) << " -> " << error;
    }
}

}  // namespace
