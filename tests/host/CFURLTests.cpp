#include "host/CoreFoundation/CFURL.h"
#include "host/Foundation/NSURL.h"

#include <gtest/gtest.h>

namespace {

// The escape set the bundle passes when it builds profile addresses.
constexpr std::string_view kEscapeSet = ":/=,!$& '()*+;[]@#?";

// Illegal characters and those of the escape set are escaped; characters to leave alone win over
// illegality, not over an explicit request to escape. Text that is not UTF-8 gives nothing.
TEST(CFURLTest, EscapesIllegalCharactersAndTheEscapeSet) {
    using Text = std::optional<std::string_view>;
    const Text bundles = kEscapeSet, none;
    const struct { std::string_view text; Text expected, leave = std::nullopt, escape = std::nullopt; } cases[] = {
        {"a b@c#d&e%f~g", "a%20b%40c%23d%26e%25f~g", none, bundles}, {"caf\xC3\xA9", "caf%C3%A9", none, bundles},
        {"%20", "%2520", none, bundles}, {"", "", none, bundles}, {"jo_e-1.x", "jo_e-1.x", none, bundles},
        {"a:/=,!$'()*+;?", "a%3A%2F%3D%2C%21%24%27%28%29%2A%2B%3B%3F", none, bundles},
        {"\xF0\x9F\x98\x80", "%F0%9F%98%80", none, bundles},  // outside the BMP: 4 bytes
        {"\xE2\x82\xAC", "%E2%82%AC", none, bundles}, {std::string_view("\0\x1F\x7F", 3), "%00%1F%7F", none, bundles},
        {"\"<>[\\]^`{|}", "%22%3C%3E%5B%5C%5D%5E%60%7B%7C%7D", none, bundles},
        {"a b/c?d=e&f#g%h~i", "a%20b/c?d=e&f%23g%25h~i"},  // no escape set: only what is illegal
        {"a b#c/d", "a b#c%2Fd", " #/", "/"}, {"caf\xC3\xA9!", "caf\xC3\xA9!", "\xC3\xA9"},
        // Not UTF-8: an encoded lone surrogate, a truncated sequence, an overlong "/", past U+10FFFF, a stray byte.
        {"\xED\xA0\x80", none, none, bundles}, {"ab\xC3", none, none, bundles}, {"\xC0\xAF", none, none, bundles},
        {"\xF4\x90\x80\x80", none, none, bundles}, {"\x80", none, none, bundles},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CFURLCreateStringByAddingPercentEscapes(c.text, c.leave, c.escape), c.expected) << testing::PrintToString(c.text);
    EXPECT_FALSE(CFURLCreateStringByAddingPercentEscapes("abc", std::nullopt, std::nullopt, 0x0600 /* ASCII */));
}

TEST(NSURLTest, ParsesTheAddressesTheBundleOpens) {
    const struct { const char *text, *scheme; bool hasAuthority; const char *host, *path, *query; } cases[] = {
        {"tweetbot:///user_profile/jo_e", "tweetbot", true, "", "/user_profile/jo_e", ""}, {"tweetbot://", "tweetbot", true, "", "", ""},
        {"aphelion://profile/jo%20e", "aphelion", true, "profile", "/jo%20e", ""}, {"mailto:a@b.c", "mailto", false, "", "a@b.c", ""},
        {"twitter://user?screen_name=x", "twitter", true, "user", "", "screen_name=x"}, {"//host/p", "", true, "host", "/p", ""},
        {"https://mobile.twitter.com/x", "https", true, "mobile.twitter.com", "/x", ""}, {"a?b:c", "", false, "", "a", "b:c"},
        {"http://me:pw@example.com:8080/a?b=c#frag", "http", true, "example.com", "/a", "b=c"},
        {"http://[::1]:80/", "http", true, "::1", "/", ""}, {"x-app+1.0:rest", "x-app+1.0", false, "", "rest", ""},
        {"relative/path?q", "", false, "", "relative/path", "q"},
    };
    for (const auto& c : cases) {
        auto url = NSURL::URLWithString(c.text);
        ASSERT_NE(url, nullptr) << c.text;
        EXPECT_EQ(std::make_tuple(url->absoluteString(), url->scheme(), url->hasAuthority(), url->host(), url->path(), url->query()),
            std::make_tuple(std::string(c.text), std::string(c.scheme), c.hasAuthority, std::string(c.host), std::string(c.path),
                std::string(c.query)));
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
