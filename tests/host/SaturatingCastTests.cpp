#include "host/Runtime/SaturatingCast.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

// Every double lands inside the integer's range: truncated when it fits, clamped when not.
TEST(SaturatingCastTest, ClampsWhatDoesNotFitAndTruncatesWhatDoes) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    constexpr auto intMax = std::numeric_limits<int>::max(), intMin = std::numeric_limits<int>::min();
    constexpr auto longMax = std::numeric_limits<long>::max(), longMin = std::numeric_limits<long>::min();
    const struct { double value; int asInt; long asLong; std::uint64_t asUnsigned; } cases[] = {
        {3.9, 3, 3, 3}, {-3.9, -3, -3, 0}, {-0.5, 0, 0, 0}, {2147483647.9, intMax, 2147483647, 2147483647},
        {2147483648.0, intMax, 2147483648, 2147483648}, {-2147483649.0, intMin, -2147483649, 0},
        {9223372036854775807.0, intMax, longMax, 9223372036854775808ull},  // the double is 2^63
        {-9223372036854775808.0, intMin, longMin, 0}, {18446744073709551616.0, intMax, longMax, UINT64_MAX},
        {1e30, intMax, longMax, UINT64_MAX}, {-1e30, intMin, longMin, 0}, {inf, intMax, longMax, UINT64_MAX},
        {-inf, intMin, longMin, 0}, {std::nan(""), 0, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(host::saturatingCast<int>(c.value), c.asInt) << c.value;
        EXPECT_EQ(host::saturatingCast<long>(c.value), c.asLong) << c.value;
        EXPECT_EQ(host::saturatingCast<std::uint64_t>(c.value), c.asUnsigned) << c.value;
    }
}
