#include "notation/NoteValues.h"

#include <array>

namespace
{
constexpr std::array<TNoteValue, 8> Values = {{
    {16, "whole", false},
    {12, "half", true},
    {8, "half", false},
    {6, "quarter", true},
    {4, "quarter", false},
    {3, "eighth", true},
    {2, "eighth", false},
    {1, "16th", false},
}};

constexpr int HalfBar = SixteenthsPerBar / 2;

/// Whether a value of `length` may start at `start` of the bar.
bool Fits(int start, int length)
{
    const int end = start + length;
    if (end > SixteenthsPerBar)
        return false;
    if (start % SixteenthsPerBeat != 0)
        return end <= (start / SixteenthsPerBeat + 1) * SixteenthsPerBeat;
    // From the downbeat anything goes; from beats 2 and 4 only what ends by the next half.
    return start == 0 || start >= HalfBar || end <= HalfBar;
}
} // namespace

std::vector<TNoteValue> SplitIntoNoteValues(int start, int length, bool rest)
{
    std::vector<TNoteValue> values;
    while (length > 0)
    {
        // The sixteenth always fits, so every pass places a value.
        for (const TNoteValue& value : Values)
        {
            // A rest also starts on a multiple of its own value.
            if (value.Length > length || !Fits(start, value.Length) ||
                (rest && (value.Dotted || start % value.Length != 0)))
                continue;
            values.push_back(value);
            start += value.Length;
            length -= value.Length;
            break;
        }
    }
    return values;
}
