#pragma once
// Floating point to integer without undefined behaviour. A plain cast of a value that does not
// fit (1e30, infinity, NaN) is undefined, and GCC's sanitizer does not see it; values from a
// bundle or a script can be anything.
#include <cmath>
#include <limits>
#include <type_traits>

namespace host {

// `value` truncated toward zero and clamped to T's range; NaN becomes 0.
template <class T>
T saturatingCast(double value) {
    static_assert(std::is_integral_v<T>);
    using Limits = std::numeric_limits<T>;
    // Both bounds are exact doubles: the minimum is 0 or a power of two, and max + 1 is a power
    // of two (for 64 bits, double(max) already rounds up to it).
    constexpr double low = double(Limits::min());
    constexpr double high = double(Limits::max()) + 1.0;
    if (std::isnan(value)) return 0;
    if (value <= low) return Limits::min();
    if (value >= high) return Limits::max();
    return static_cast<T>(value);
}

}  // namespace host
