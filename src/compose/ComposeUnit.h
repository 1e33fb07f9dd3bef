#pragma once

#include <cstdint>
#include <optional>

class TMunit;

/// The makers one composition of a unit runs; they always run in the order listed.
struct TComposeSteps
{
    bool Chords = false;
    bool Rhythm = false;
    bool Melody = false;
};

/// Composes the unlocked bars of the unit as the bar editor does: the chords, then the
/// rhythm of all its bars, both drawing from the shared generator as it stands, then the
/// melody, which starts from one of 1000 random streams: melodyStream mod 1000 when given,
/// else the clock's seed mod 1000.
void ComposeUnit(TMunit& unit, const TComposeSteps& steps,
                 std::optional<std::uint64_t> melodyStream = std::nullopt);
