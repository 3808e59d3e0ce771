#include "host/System/Dispatch.h"

#include <algorithm>
#include <cmath>

#include "host/Runtime/RunLoop.h"
#include "host/Runtime/SaturatingCast.h"

struct dispatch_queue_s {};

dispatch_time_t dispatch_time(dispatch_time_t when, std::int64_t deltaNanoseconds) {
    const double base = when == DISPATCH_TIME_NOW ? host::RunLoop::main().now() * 1e9 : static_cast<double>(when);
    const double at = base + static_cast<double>(deltaNanoseconds);
    // Saturates: a clock past 2^63 ns (292 years) must not wrap round to a time already past.
    return at > 0 ? std::max<dispatch_time_t>(1, host::saturatingCast<dispatch_time_t>(std::round(at))) : 1;
}

dispatch_queue_t dispatch_get_main_queue() {
    static dispatch_queue_s mainQueue;
    return &mainQueue;
}

void dispatch_after(dispatch_time_t when, dispatch_queue_t, dispatch_block_t block) {
    auto& loop = host::RunLoop::main();
    loop.schedule(static_cast<double>(when) / 1e9 - loop.now(), std::move(block));
}

void dispatch_async(dispatch_queue_t, dispatch_block_t block) { host::RunLoop::main().schedule(0, std::move(block)); }
