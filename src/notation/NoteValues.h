#pragma once

#include <array>
#include <vector>

// Note values on the score's grid: 24 divisions of a quarter note, so that sixteenths,
// thirty-seconds and eighth and sixteenth triplets all fall on it. Each beat of a part has
// a grid of its own: the step its notes start on.

constexpr int DivisionsPerBeat = 24;
constexpr int BeatsPerScoreBar = 4;
constexpr int DivisionsPerBar = DivisionsPerBeat * BeatsPerScoreBar;

/// The steps a beat's notes may start on.
constexpr int SixteenthStep = 6;
constexpr int ThirtySecondStep = 3;
constexpr int TripletStep = 8;
constexpr int SixteenthTripletStep = 4;

/// Whether a beat of that step is written in triplets (three in the time of two).
constexpr bool IsTripletStep(int step)
{
    return step == TripletStep || step == SixteenthTripletStep;
}

/// The steps of a bar's four beats.
using TBarGrid = std::array<int, BeatsPerScoreBar>;
constexpr TBarGrid StraightBar = {SixteenthStep, SixteenthStep, SixteenthStep, SixteenthStep};

/// A written value: its length in divisions, the type MusicXML names it by, its dot and
/// whether it is a triplet value (three in the time of two).
struct TNoteValue
{
    int Length = 0;
    const char* Type = "";
    bool Dotted = false;
    bool Triplet = false;
};

/// The values a note (or a rest) from position `start` of a 4/4 bar lasting `length`
/// divisions is written with, tied (a rest: side by side), in order, so the beats stay
/// visible: a value that starts off the beat stays inside its beat (but a quarter on the
/// "and" of beats 1 and 3, the lead sheet's syncopation), none but one from the downbeat
/// crosses the middle of the bar, rests take no dots and start on a multiple of their value,
/// and inside a triplet beat only triplet values are used. The span must stay inside the
/// bar and start and end on the grid of its beats.
std::vector<TNoteValue> SplitIntoNoteValues(int start, int length, bool rest,
                                            const TBarGrid& grid = StraightBar);
