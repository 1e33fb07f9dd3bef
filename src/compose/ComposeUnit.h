#pragma once

#include <cstdint>
#include <optional>
#include <vector>

class TMunit;
class TMusicProject;

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

/// Composes the units one after the other as the bar editor would, tab by tab: the j-th
/// melody from stream firstMelodyStream + j when given, else from the clock's.
void ComposeUnits(const std::vector<TMunit*>& units, const TComposeSteps& steps,
                  std::optional<std::uint64_t> firstMelodyStream = std::nullopt);

/// Every unit of the song in playing order, attached to the property set governing it.
std::vector<TMunit*> SongUnits(const TMusicProject& song);

/// Composes every unit of the song in order (ComposeUnits), locked bars left as they are.
void ComposeSong(const TMusicProject& song, const TComposeSteps& steps,
                 std::optional<std::uint64_t> firstMelodyStream = std::nullopt);
