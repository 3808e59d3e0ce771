#include "host/System/Dispatch.h"

#include <cmath>

#include "host/Foundation/RunLoop.h"

struct dispatch_queue_s {};

dispatch_time_t dispatch_time(dispatch_time_t when, std::int64_t deltaNanoseconds) {
    const double base = when == DISPATCH_TIME_NOW ? host::RunLoop::main().now() * 1e9 : static_cast<double>(when);
    const double at = base + static_cast<double>(deltaNanoseconds);
    return at <= 0 ? 1 : static_cast<dispatch_time_t>(std::llround(at));
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
