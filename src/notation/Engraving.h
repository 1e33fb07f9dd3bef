#pragma once

#include "notation/NoteValues.h"

#include <string>
#include <vector>

// The engraver's decisions, each a pure function of what a part plays: the grid of a beat,
// the value and articulation of a detached note, the bars an octave mark spans, the staves
// and clefs of a part and where each drum is written.

/// The coarsest step (sixteenths, eighth triplets, thirty-seconds, sixteenth triplets, in
/// that order) whose grid holds every onset of a beat, given in ticks from the beat's start
/// (a few ticks early or late, as strummed chords are); sixteenths if none does.
int BeatStep(const std::vector<int>& offsets, int ticksPerBeat);

enum class TArticulation
{
    None,
    Staccato,
    Staccatissimo,
};

struct TWrittenLength
{
    int Length = 0;
    TArticulation Articulation = TArticulation::None;
};

/// How a note at `start` (divisions) that sounds for `played` divisions is written when the
/// next note of its voice comes `room` divisions after it, on a beat of grid `step`: as long
/// as the room when the note fills it or the room ends within the note's beat, else the
/// shortest plain value it fills (a quarter, an eighth, a dotted quarter, a triplet eighth
/// ...) and rests; marked staccato or staccatissimo when it sounds for less of that (below
/// 80 % or 35 %).
TWrittenLength WrittenLength(double played, int start, int room, int step);

/// The bars (of a run of bars, each with the sounding pitches of its notes) written an
/// octave lower under an 8va mark: where that needs fewer ledger lines on a treble staff
/// and some note needs two or every note one, in runs of two bars at least; bars without
/// notes join a run they lie inside.
std::vector<bool> OttavaBars(const std::vector<std::vector<int>>& barPitches);

struct TClef
{
    const char* Sign = "G";
    int Line = 2;
    /// -1: written an octave above what sounds (the bass's and the guitar's clefs).
    int OctaveChange = 0;
};

/// A part's staves: one, or a grand staff whose upper staff takes the pitches from Split up.
struct TStaffLayout
{
    int Staves = 1;
    TClef Clefs[2];
    int Split = 60;
};

enum class TPartRole
{
    Melody,
    Backing,
    Bass,
    Drums,
};

/// The staves of a part of that role and General MIDI program (0-based) over its lowest
/// and highest pitch: the melody in the treble clef, the bass in the bass clef an octave
/// above what sounds, a guitar in the treble clef an octave above, other backing in the
/// clef its range fits (hanging from the second ledger line at most), else on a grand staff.
TStaffLayout ChooseStaves(TPartRole role, int program, int lowest, int highest);

/// Where a General MIDI drum key is written on the percussion staff, its note head and its
/// name.
struct TDrumNotation
{
    int Key = 0;
    char Step = 'C';
    int Octave = 5;
    /// MusicXML's notehead value; "normal" for drums.
    const char* Head = "normal";
    const char* Name = "";
};

/// Keys 35 to 81 each have a place and head of their own; others are written as a snare.
TDrumNotation DrumNotation(int key);
