#pragma once

#include "model/Muprop.h"
#include "notation/Engraving.h"
#include "notation/Spelling.h"

#include <array>
#include <set>
#include <string>
#include <vector>

class TMusicProject;

// The song as a score: what each part plays, unit by unit, on a grid of divisions of the
// beat (see NoteValues.h), taken from the rendering the MIDI export makes.

/// A note or chord of one voice: start and written length in divisions from the start of
/// its unit, its MIDI pitches (for the drums, General MIDI percussion keys) and how it is
/// articulated.
struct TScoreNote
{
    int Start = 0;
    int Length = 0;
    std::vector<int> Pitches;
    TArticulation Articulation = TArticulation::None;
};

/// A voice's notes in order, and the staff (1 or 2 of a grand staff) it is written on.
struct TScoreVoice
{
    std::vector<TScoreNote> Notes;
    int Staff = 1;
};

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
    /// Per track: its voices (the melody's harmony voice is its second one; on each staff
    /// of an accompaniment, the voices after its first hold notes over what the first
    /// plays).
    std::array<std::vector<TScoreVoice>, TrackCount> Parts;
    /// Per track: the grid step of each beat of the unit (none: sixteenths throughout).
    std::array<std::vector<int>, TrackCount> Steps;

    /// The grid steps of the unit's bar `bar` for a track.
    TBarGrid BarGrid(int track, int bar) const;
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
    /// Each track's instrument as the instrument lists name it ("Oboe", "STANDARD").
    std::array<std::string, TrackCount> Instruments;
    /// Each track's staves and clefs, for the range it plays over the whole song.
    std::array<TStaffLayout, TrackCount> Layouts;
    /// The percussion keys the drums strike.
    std::set<int> DrumKeys;
    std::vector<TScoreUnit> Units;
};

/// The song's units in order, each rendered under the property set sent last before it (as
/// the MIDI export plays them); the pattern libraries must be loaded. The melody keeps its
/// written values. An accompaniment's onsets go on the grid each beat's onsets fit
/// (sixteenths, triplets, thirty-seconds; a strummed chord at its first note); a note held
/// over the next onset of its part goes to a voice of held notes, the others are written as
/// the value they fill up to their voice's next note, articulated by how much of it they
/// sound (see WrittenLength); a drum stroke lasts until the next one or the end of its beat.
/// Raises what rendering raises.
TScore BuildScore(const TMusicProject& project, const std::string& title, int repeatCount,
                  bool fullScore);
