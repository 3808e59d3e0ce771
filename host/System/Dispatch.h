#pragma once
// The parts of Grand Central Dispatch the bundle uses: the main queue with a delay, and the
// once-only guard.
#include <cstdint>
#include <functional>
#include <mutex>

using dispatch_time_t = std::uint64_t;  // nanoseconds on the main run loop's clock
using dispatch_once_t = std::once_flag;
using dispatch_block_t = std::function<void()>;

struct dispatch_queue_s;
using dispatch_queue_t = dispatch_queue_s*;

inline constexpr dispatch_time_t DISPATCH_TIME_NOW = 0;
inline constexpr std::uint64_t NSEC_PER_SEC = 1000000000ull;

// `when` plus `deltaNanoseconds`; DISPATCH_TIME_NOW counts from the present moment.
dispatch_time_t dispatch_time(dispatch_time_t when, std::int64_t deltaNanoseconds);
dispatch_queue_t dispatch_get_main_queue();
// Runs `block` on the main run loop once `when` has come. Only the main queue exists here.
void dispatch_after(dispatch_time_t when, dispatch_queue_t queue, dispatch_block_t block);
void dispatch_async(dispatch_queue_t queue, dispatch_block_t block);
inline void dispatch_once(dispatch_once_t* predicate, const dispatch_block_t& block) { std::call_once(*predicate, block); }
