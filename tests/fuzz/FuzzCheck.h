#pragma once

#include <cstdio>
#include <cstdlib>

/// A property every input must keep. A broken one aborts, which the fuzzer reports as a
/// crash with the input that caused it; the replay driver fails the same way.
#define FUZZ_CHECK(condition)                                                                      \
    do                                                                                             \
    {                                                                                              \
        if (!(condition))                                                                          \
        {                                                                                          \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
