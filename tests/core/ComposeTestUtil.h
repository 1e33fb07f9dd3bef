#pragma once

// Seed helpers for the composition tests: the engine's results depend on where in the
// shared random stream each draw lands, so the tests reason about the stream directly.

#include "base/Random.h"

#include <cstdint>
#include <functional>

namespace composetest
{
/// The seed after `draws` draws from `seed`. The generator's own seed is left as it was,
/// so this can sit in an expectation next to GetRandSeed().
inline std::uint32_t Advanced(std::uint32_t seed, int draws)
{
    const std::uint32_t saved = GetRandSeed();
    SetRandSeed(seed);
    for (int i = 0; i < draws; ++i)
        Random(0);
    const std::uint32_t result = GetRandSeed();
    SetRandSeed(saved);
    return result;
}

/// The value of the k-th draw (1-based) from `seed` when it is Random(n); the generator's
/// own seed is left as it was.
inline std::uint32_t Peek(std::uint32_t seed, int k, std::uint32_t n)
{
    const std::uint32_t saved = GetRandSeed();
    SetRandSeed(Advanced(seed, k - 1));
    const std::uint32_t value = Random(n);
    SetRandSeed(saved);
    return value;
}

/// The first seed from 0 up for which the draws satisfy the predicate.
inline std::uint32_t FindSeed(const std::function<bool(std::uint32_t)>& wanted)
{
    for (std::uint32_t seed = 0; seed < 10'000'000u; ++seed)
        if (wanted(seed))
            return seed;
    return 0xFFFFFFFFu;
}
} // namespace composetest
