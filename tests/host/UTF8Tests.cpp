#include "host/Runtime/UTF8.h"

#include <gtest/gtest.h>

// Printed text cannot steer the terminal; readable text in any language is left alone.
TEST(UTF8Test, PrintableEscapesControlsAndBrokenBytesOnly) {
    const std::pair<std::string, std::string> cases[] = {
        {"Grüße, à bientôt — 设置 😀", "Grüße, à bientôt — 设置 😀"}, {"two\nlines\r\tand\\", "two\\nlines\\r\\tand\\"},
        {"\x1b[2J\x1b]0;title\x07", "\\x1b[2J\\x1b]0;title\\x07"}, {std::string("nul\0del\x7f", 8), "nul\\x00del\\x7f"},
        {"c1 \xc2\x9b" "31m", "c1 \\u009b31m"},                       // CSI as a C1 character
        {"bad \xff\xfe, cut \xe2\x82, long \xc0\xaf", "bad \\xff\\xfe, cut \\xe2\\x82, long \\xc0\\xaf"},
    };
    for (const auto& [text, shown] : cases) EXPECT_EQ(host::utf8::printable(text), shown) << shown;
}
