#include "host/Foundation/NSString.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

namespace {

TEST(NSStringTest, FloatValueReadsTheLongestDecimalPrefixThroughDouble) {
    const struct { const char* text; float expected; } cases[] = {
        {"", 0}, {"-", 0}, {".", 0}, {"7..", 7}, {"--3", 0}, {" 2.5abc", 2.5f},
        {"1e3", 1000}, {"0x10", 0}, {"nan", 0}, {"inf", 0}, {"+4", 4}, {"1,5", 1},
        {"1e", 1}, {"1e+", 1}, {"1.5E-1x", 0.15f}, {".5", 0.5f}, {"-.5e1", -5}, {"+-1", 0},
        {"12e3e4", 12000}, {"5.", 5}, {"e5", 0}, {"0.1", 0.1f}, {"-0", -0.0f},
        {"00042", 42}, {"1e-50", 0}, {"abc 3", 0}, {"3 4", 3},
        // Leading white space: ASCII controls, DEL to NBSP, U+2000-U+200B and U+3000.
        {"\t\n\r 8", 8}, {"\x01\x1F" "8", 8}, {"\x7F" "8", 8}, {"\xC2\xA0" "8", 8},
        {"\xE2\x80\x80\xE2\x80\x8B" "8", 8}, {"\xE3\x80\x80" "8", 8},
        // Not white space on the platform: U+200C, U+00A1 and a stray byte stop the scan.
        {"\xE2\x80\x8C" "8", 0}, {"\xC2\xA1" "8", 0}, {"\xFF" "8", 0},
        // Read as a double, then narrowed; past the float range it is infinity.
        {"1e50", INFINITY}, {"-1e50", -INFINITY}, {"1e400", INFINITY}, {"-1e400", -INFINITY},
        // Just past FLT_MAX rounds back to it; from halfway to 2^128 on it is infinity.
        {"3.4028235e38", FLT_MAX}, {"-3.4028235e38", -FLT_MAX}, {"3.4028236e38", INFINITY},
        // Rounds to double 1 + 2^-24, a tie that goes to even (1.0); reading straight to float
        // would give the next float up.
        {"1.0000000596046447755", 1.0f}, {"1e-45", 1e-45f},
    };
    for (const auto& c : cases) {
        const float value = NSString::floatValue(c.text);
        EXPECT_EQ(value, c.expected) << '"' << c.text << '"';
        EXPECT_EQ(std::signbit(value), std::signbit(c.expected)) << '"' << c.text << '"';
    }
}

TEST(NSStringTest, FormatOneDecimalRoundsTheBinaryValueTiesToEven) {
    volatile float zero = 0.0f;
    const float runtimeNaN = zero / zero;  // x86-64 gives a NaN with its sign bit set
    const struct { double value; const char* expected; } cases[] = {
        {-5, "-5.0"}, {0.05f, "0.1"}, {0.25, "0.2"}, {0.75, "0.8"}, {0.35f, "0.3"}, {-0.0, "-0.0"},
        {1e10f, "10000000000.0"}, {INFINITY, "inf"}, {-INFINITY, "-inf"}, {NAN, "nan"},
        {-NAN, "nan"}, {runtimeNaN, "nan"}, {0.04999f, "0.0"},
    };
    for (const auto& c : cases) EXPECT_EQ(NSString::stringWithFormat("%.01f", c.value), c.expected) << c.value;
    // Floats go through the same widening as on the platform.
    EXPECT_EQ(NSString::stringWithFormat("%.01f", runtimeNaN), "nan");
    EXPECT_EQ(NSString::stringWithFormat("%.01f", 0.35f), "0.3");
}

TEST(NSStringTest, FormatTakesStringsForObjectSpecifiers) {
    EXPECT_EQ(NSString::stringWithFormat("@%@ has %d", std::string("jo_e"), 3), "@jo_e has 3");
    EXPECT_EQ(NSString::stringWithFormat("100%% %@", "sure"), "100% sure");
    EXPECT_EQ(NSString::stringWithFormat("[%-4@][%4@]", "ab", "cd"), "[ab  ][  cd]");
    EXPECT_EQ(NSString::stringWithFormat("%2$@ %1$@", "world", "hello"), "hello world");
    EXPECT_EQ(NSString::stringWithFormat("%@", std::string(5000, 'x')).size(), 5000u);
    EXPECT_EQ(NSString::stringWithFormat(""), "");

    EXPECT_EQ(NSString::detail::translateObjectSpecifiers("%.01f%%%@ %%@ %ld"), "%.01f%%%s %%@ %ld");
    EXPECT_EQ(NSString::detail::translateObjectSpecifiers("50%"), "50%%");
}

TEST(NSStringTest, HasPrefixAnswersNoForAnEmptyPrefix) {
    const struct { const char* text; const char* prefix; bool expected; } cases[] = {
        {"@jo_e", "@", true}, {"@jo_e", "@jo_e", true}, {"jo_e", "@", false}, {"@", "@jo", false},
        {"abc", "", false}, {"", "", false}, {"caf\xC3\xA9", "caf\xC3", true},
    };
    for (const auto& c : cases) EXPECT_EQ(NSString::hasPrefix(c.text, c.prefix), c.expected) << c.text << " / " << c.prefix;
}

TEST(NSStringTest, SubstringFromIndexCountsUTF16Units) {
    const struct { const char* text; std::size_t index; const char* expected; } cases[] = {
        {"@jo_e", 1, "jo_e"}, {"@jo_e", 0, "@jo_e"}, {"abc", 3, ""}, {"abc", 4, ""}, {"", 0, ""},
        {"\xC3\xA9t\xC3\xA9", 1, "t\xC3\xA9"},                  // é is one unit
        {"\xF0\x9F\x98\x80x", 2, "x"},                          // an emoji is two units
        {"\xF0\x9F\x98\x80x", 1, "\xEF\xBF\xBDx"},              // inside the pair: its low half
        {"\xF0\x9F\x98\x80x", 3, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(NSString::substringFromIndex(c.text, c.index), c.expected) << c.text << " @" << c.index;
}

}  // namespace
