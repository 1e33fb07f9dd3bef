#pragma once

#include "model/Muprop.h"
#include "notation/Spelling.h"

#include <array>
#include <set>
#include <string>
#include <vector>

class TMusicProject;

// The song as a score: what each part plays, unit by unit, on a grid of sixteenths, taken
// from the rendering the MIDI export makes.

/// A note or chord of one voice: start and written length in sixteenths from the start of
/// its unit, and its MIDI pitches (for the drums, General MIDI percussion keys).
struct TScoreNote
{
    int Start = 0;
    int Length = 0;
    std::vector<int> Pitches;
};

using TScoreVoice = std::vector<TScoreNote>;

/// A chord symbol at a sixteenth of its unit.
struct TScoreChord
{
    int Start = 0;
    TChordSymbol Symbol;
};

struct TScoreUnit
{
    /// "Ptn.N", the unit's tab.
    std::string Name;
    int Bars = 0;
    int Key = 0;
    bool Minor = false;
    int Tempo = 120;
    /// Every chord change, the first chord of the unit included.
    std::vector<TScoreChord> Chords;
    /// Per track: its voices (the melody's harmony voice is its second one).
    std::array<std::vector<TScoreVoice>, TrackCount> Parts;
};

struct TScore
{
    std::string Title;
    /// How often the song is played: above 1, repeat bar lines around it.
    int RepeatCount = 1;
    /// The melody alone, or all five parts.
    bool FullScore = false;
    /// Each track's first program (0-based) as the song's first property set gives it.
    std::array<int, TrackCount> Programs{};
    /// The percussion keys the drums strike.
    std::set<int> DrumKeys;
    std::vector<TScoreUnit> Units;
};

/// The song's units in order, each rendered under the property set sent last before it (as
/// the MIDI export plays them); the pattern libraries must be loaded. Notes are put on the
/// nearest sixteenth; the melody keeps its written values, an accompaniment note lasts as
/// played, at least a sixteenth and at most until the next note of its part (a drum stroke
/// until the next one or the end of its beat). Raises what rendering raises.
TScore BuildScore(const TMusicProject& project, const std::string& title, int repeatCount,
                  bool fullScore);
