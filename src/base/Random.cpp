#include "base/Random.h"

#include <chrono>
#include <utility>

namespace
{
std::uint32_t RandSeed = 0;
TRandomizeClock RandomizeClock = nullptr;
} // namespace

std::uint32_t Random(std::uint32_t n)
{
    RandSeed = RandSeed * 134775813u + 1u;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(RandSeed) * n) >> 32);
}

std::uint32_t GetRandSeed()
{
    return RandSeed;
}

void SetRandSeed(std::uint32_t seed)
{
    RandSeed = seed;
}

TRandomizeClock SetRandomizeClock(TRandomizeClock clock)
{
    return std::exchange(RandomizeClock, clock);
}

void Randomize()
{
    if (RandomizeClock != nullptr)
    {
        RandSeed = RandomizeClock();
        return;
    }
    using namespace std::chrono;
    const auto now = system_clock::now();
    const auto sinceMidnight = now - floor<days>(now);
    const long long ms = duration_cast<milliseconds>(sinceMidnight).count();
    RandSeed = static_cast<std::uint32_t>(ms);
}
