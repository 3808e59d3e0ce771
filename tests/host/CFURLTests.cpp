#include "host/CoreFoundation/CFURL.h"
#include "host/Foundation/NSURL.h"

#include <gtest/gtest.h>

namespace {

// The escape set the bundle passes when it builds profile addresses.
constexpr std::string_view kEscapeSet = ":/=,!$& '()*+;[]@#?";

TEST(CFURLTest, EscapesWithTheBundlesEscapeSet) {
    const struct { std::string_view text; std::string_view expected; } cases[] = {
        {"a b@c#d&e%f~g", "a%20b%40c%23d%26e%25f~g"}, {"caf\xC3\xA9", "caf%C3%A9"}, {"%20", "%2520"}, {"", ""},
        {"jo_e-1.x", "jo_e-1.x"}, {"a:/=,!$'()*+;?", "a%3A%2F%3D%2C%21%24%27%28%29%2A%2B%3B%3F"},
        {"\xF0\x9F\x98\x80", "%F0%9F%98%80"},                    // outside the BMP: 4 bytes
        {"\xE2\x82\xAC", "%E2%82%AC"}, {std::string_view("\0\x1F\x7F", 3), "%00%1F%7F"},
        {"\"<>[\\]^`{|}", "%22%3C%3E%5B%5C%5D%5E%60%7B%7C%7D"},
    };
    for (const auto& c : cases) EXPECT_EQ(CFURLCreateStringByAddingPercentEscapes(c.text, std::nullopt, kEscapeSet), c.expected) << c.text;
}

// Without an escape set only illegal characters are escaped; characters to leave alone win over
// illegality, not over an explicit request to escape.
TEST(CFURLTest, WithoutAnEscapeSetOnlyIllegalCharactersAreEscaped) {
    using Set = std::optional<std::string_view>;
    const struct { std::string_view text; Set leave, escape; std::string_view expected; } cases[] = {
        {"a b/c?d=e&f#g%h~i", std::nullopt, std::nullopt, "a%20b/c?d=e&f%23g%25h~i"},
        {"a b#c/d", " #/", "/", "a b#c%2Fd"}, {"caf\xC3\xA9!", "\xC3\xA9", std::nullopt, "caf\xC3\xA9!"},
    };
    for (const auto& c : cases) EXPECT_EQ(CFURLCreateStringByAddingPercentEscapes(c.text, c.leave, c.escape), c.expected) << c.text;
}

TEST(CFURLTest, InvalidTextGivesNoResult) {
    const std::string_view invalid[] = {
        "\xED\xA0\x80",          // an encoded lone surrogate
        "ab\xC3",                // truncated sequence
        "\xC0\xAF",              // overlong "/"
        "\xF4\x90\x80\x80",      // past U+10FFFF
        "\x80",
    };
    for (auto text : invalid)
        EXPECT_FALSE(CFURLCreateStringByAddingPercentEscapes(text, std::nullopt, kEscapeSet)) << testing::PrintToString(text);
    EXPECT_FALSE(CFURLCreateStringByAddingPercentEscapes("abc", std::nullopt, std::nullopt, 0x0600 /* ASCII */));
}

TEST(NSURLTest, ParsesTheAddressesTheBundleOpens) {
    const struct {
        const char* text;
        const char* scheme;
        bool hasAuthority;
        const char* host;
        const char* path;
        const char* query;
    } cases[] = {
        {"tweetbot:///user_profile/jo_e", "tweetbot", true, "", "/user_profile/jo_e", ""},
        {"aphelion://profile/jo%20e", "aphelion", true, "profile", "/jo%20e", ""},
        {"twitter://user?screen_name=x", "twitter", true, "user", "", "screen_name=x"},
        {"https://mobile.twitter.com/x", "https", true, "mobile.twitter.com", "/x", ""},
        {"tweetbot://", "tweetbot", true, "", "", ""},
        {"mailto:a@b.c", "mailto", false, "", "a@b.c", ""},
        {"http://me:pw@example.com:8080/a?b=c#frag", "http", true, "example.com", "/a", "b=c"},
        {"http://[::1]:80/", "http", true, "::1", "/", ""},
        {"x-app+1.0:rest", "x-app+1.0", false, "", "rest", ""},
        {"relative/path?q", "", false, "", "relative/path", "q"},
        {"//host/p", "", true, "host", "/p", ""},
        {"a?b:c", "", false, "", "a", "b:c"},
    };
    for (const auto& c : cases) {
        auto url = NSURL::URLWithString(c.text);
        ASSERT_NE(url, nullptr) << c.text;
        EXPECT_EQ(url->absoluteString(), c.text);
        EXPECT_EQ(url->scheme(), c.scheme) << c.text;
        EXPECT_EQ(url->hasAuthority(), c.hasAuthority) << c.text;
        EXPECT_EQ(url->host(), c.host) << c.text;
        EXPECT_EQ(url->path(), c.path) << c.text;
        EXPECT_EQ(url->query(), c.query) << c.text;
    }
}

TEST(NSURLTest, RejectsMalformedAddresses) {
    const std::string_view malformed[] = {
        "", "twitter://user?screen_name=jo e", "http://x/\xC3\xA9", "http://x/%2", "http://x/%zz",
        "http://x/%", "a\"b", "a<b", "a>b", "a\\b", "a^b", "a`b", "a{b", "a|b", "a}b", "a\tb",
        std::string_view("a\0b", 3), "a\x7F", "1abc:x", ":nothing",
    };
    for (auto text : malformed) EXPECT_EQ(NSURL::URLWithString(text), nullptr) << testing::PrintToString(text);
}

}  // namespace
