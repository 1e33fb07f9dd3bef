#include "notation/NoteValues.h"

#include <algorithm>

namespace
{
/// Longest first; the triplet values among the plain ones.
constexpr std::array<TNoteValue, 13> Values = {{
    {96, "whole", false, false},
    {72, "half", true, false},
    {48, "half", false, false},
    {36, "quarter", true, false},
    {24, "quarter", false, false},
    {18, "eighth", true, false},
    {16, "quarter", false, true},
    {12, "eighth", false, false},
    {9, "16th", true, false},
    {8, "eighth", false, true},
    {6, "16th", false, false},
    {4, "16th", false, true},
    {3, "32nd", false, false},
}};

constexpr int HalfBar = DivisionsPerBar / 2;

/// Whether `value` may start at `start` of a bar of `grid`.
bool Fits(int start, const TNoteValue& value, const TBarGrid& grid)
{
    const int end = start + value.Length;
    if (end > DivisionsPerBar)
        return false;
    const int beat = start / DivisionsPerBeat;
    const int offset = start % DivisionsPerBeat;
    const int beatEnd = (beat + 1) * DivisionsPerBeat;
    const int step = grid[static_cast<std::size_t>(beat)];
    if (value.Triplet)
        return IsTripletStep(step) && end <= beatEnd && offset % step == 0 &&
               value.Length % step == 0;
    // A plain value that ends inside a beat ends where that beat's grid is plain.
    const int endBeat = std::min(end / DivisionsPerBeat, BeatsPerScoreBar - 1);
    if (end % DivisionsPerBeat != 0 && (IsTripletStep(grid[static_cast<std::size_t>(endBeat)]) ||
                                        end % grid[static_cast<std::size_t>(endBeat)] != 0))
        return false;
    if (offset != 0)
    {
        if (IsTripletStep(step))
            return false;
        const bool syncopation = offset == DivisionsPerBeat / 2 && (beat == 0 || beat == 2) &&
                                 value.Length == DivisionsPerBeat;
        return end <= beatEnd || syncopation;
    }
    // A triplet beat starts a plain value only if it covers the beat.
    if (IsTripletStep(step) && value.Length < DivisionsPerBeat)
        return false;
    // From the downbeat anything goes; from beats 2 and 4 only what ends by the next half.
    return start == 0 || start >= HalfBar || end <= HalfBar;
}
} // namespace

std::vector<TNoteValue> SplitIntoNoteValues(int start, int length, bool rest, const TBarGrid& grid)
{
    std::vector<TNoteValue> values;
    while (length > 0)
    {
        const auto fitting = std::find_if(
            Values.begin(), Values.end(),
            [&](const TNoteValue& value)
            {
                // A rest also starts on a multiple of its own value within the beat.
                return value.Length <= length && Fits(start, value, grid) &&
                       !(rest && (value.Dotted || (start % DivisionsPerBeat) % value.Length != 0 ||
                                  (value.Length > DivisionsPerBeat && start % value.Length != 0)));
            });
        // Off the grid (which the score never is): the smallest value, cut to what is left.
        TNoteValue value = fitting != Values.end() ? *fitting : Values.back();
        value.Length = std::min(value.Length, length);
        values.push_back(value);
        start += value.Length;
        length -= value.Length;
    }
    return values;
}
