#pragma once
// A broken property in a fuzz target: says which, then aborts, so that libFuzzer keeps the input
// and a replay run fails with a message.
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, what)                                                                \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "fuzz check failed: %s (%s)\n", what, #condition);                \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)
