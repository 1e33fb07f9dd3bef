#include "compose/ToneWeights.h"

#include "base/Random.h"
#include "model/MusicFunctions.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace
{
using TWeightRow = std::array<std::uint8_t, 12>;
using TWeightTable = std::array<TWeightRow, 7>;

// Rows: degree 0 (no chord) to VI; columns: pitch class of the working pitch, whose 0 is
// the tonic. 0 outside the scale, 1 a scale note against the chord, 2 scale, 3 chord note.
constexpr std::array<TWeightTable, 2> ToneWeightTable = {{
    {{
        {2, 0, 2, 0, 2, 2, 0, 2, 0, 2, 0, 2},
        {3, 0, 2, 0, 3, 1, 0, 3, 0, 2, 0, 2},
        {2, 0, 3, 0, 2, 3, 0, 2, 0, 3, 0, 1},
        {1, 0, 2, 0, 3, 1, 0, 3, 0, 2, 0, 3},
        {3, 0, 2, 0, 2, 3, 0, 2, 0, 3, 0, 2},
        {1, 0, 3, 0, 2, 3, 0, 3, 0, 2, 0, 3},
        {3, 0, 2, 0, 3, 1, 0, 2, 0, 3, 0, 2},
    }},
    // Minor: over V the raised seventh (11) is a chord note and 10 lies outside the scale.
    {{
        {2, 0, 2, 2, 0, 2, 0, 2, 2, 0, 2, 0},
        {3, 0, 2, 3, 0, 2, 0, 3, 2, 0, 2, 0},
        {2, 0, 3, 2, 0, 3, 0, 2, 3, 0, 2, 0},
        {2, 0, 2, 3, 0, 2, 0, 3, 2, 0, 3, 0},
        {3, 0, 2, 2, 0, 3, 0, 2, 3, 0, 2, 0},
        {2, 0, 3, 2, 0, 3, 0, 3, 2, 0, 0, 3},
        {3, 0, 2, 3, 0, 2, 0, 2, 3, 0, 2, 0},
    }},
}};

// Scale steps searched by the pitch operations before they give up.
constexpr int SearchSpan = 12;
} // namespace

int ToneWeight(int scale, int chord, int pitch)
{
    if (scale < 0 || scale > 1 || chord < 0 || chord > 6)
        return 0;
    return ToneWeightTable[static_cast<std::size_t>(scale)][static_cast<std::size_t>(chord)]
                          [static_cast<std::size_t>(PitchClass(pitch))];
}

int PitchAbove(int scale, int chord, int pitch, int minWeight)
{
    for (int d = 1; d <= SearchSpan; ++d)
        if (ToneWeight(scale, chord, pitch + d) >= minWeight)
            return pitch + d;
    return pitch;
}

int PitchBelow(int scale, int chord, int pitch, int minWeight)
{
    for (int d = 1; d <= SearchSpan; ++d)
        if (ToneWeight(scale, chord, pitch - d) >= minWeight)
            return pitch - d;
    return pitch;
}

int PitchAtOrAbove(int scale, int chord, int pitch, int minWeight)
{
    if (ToneWeight(scale, chord, pitch) >= minWeight)
        return pitch;
    return PitchAbove(scale, chord, pitch, minWeight);
}

int MoveBy(int scale, int chord, int pitch, int minWeight, int count)
{
    if (count == 0)
    {
        if (ToneWeight(scale, chord, pitch) >= minWeight)
            return pitch;
        count = static_cast<int>(Random(2)) * 2 - 1;
    }
    for (int i = 0; i < count; ++i)
        pitch = PitchAbove(scale, chord, pitch, minWeight);
    for (int i = 0; i < -count; ++i)
        pitch = PitchBelow(scale, chord, pitch, minWeight);
    return pitch;
}
