#pragma once

#include <cstdint>

/// The process-wide pseudo-random generator: seed = seed * 134775813 + 1 (mod 2^32),
/// then the high 32 bits of seed * n. Random(0) returns 0 and still advances.
std::uint32_t Random(std::uint32_t n);

std::uint32_t GetRandSeed();
void SetRandSeed(std::uint32_t seed);

/// Seeds from the clock: ((h * 60 + m) * 60 + s) * 1000 + ms of the current UTC time.
void Randomize();

/// What Randomize reads instead of the clock (null: the clock again); returns the one set
/// before. Tests compose twice with one clock reading.
using TRandomizeClock = std::uint32_t (*)();
TRandomizeClock SetRandomizeClock(TRandomizeClock clock);
