#pragma once

#include <vector>

// Note values in sixteenths of a 4/4 bar, the grid the score is written on.

constexpr int SixteenthsPerBeat = 4;
constexpr int SixteenthsPerBar = 16;

/// A written value: its length in sixteenths, the type MusicXML names it by and its dot.
struct TNoteValue
{
    int Length = 0;
    const char* Type = "";
    bool Dotted = false;
};

/// The values a note (or a rest) from position `start` of a 4/4 bar (0..15) lasting `length`
/// sixteenths is written with, tied (a rest: side by side), in order, so the beats stay
/// visible: a value that starts off the beat stays inside its beat, none but one from the
/// downbeat crosses the middle of the bar, and rests take no dots and start on a
/// multiple of their value. length must keep the span
/// inside the bar.
std::vector<TNoteValue> SplitIntoNoteValues(int start, int length, bool rest);
