#include "model/MusicFunctions.h"

#include <array>
#include <cstddef>

namespace
{
constexpr std::array<int, 7> MajorQuality = {0, 0, 2, 2, 0, 3, 2};
constexpr std::array<int, 7> MinorQuality = {0, 2, 1, 0, 2, 3, 0};
constexpr std::array<int, 7> MajorRoot = {0, 0, 2, 4, 5, -5, -3};
constexpr std::array<int, 7> MinorRoot = {0, -3, -1, 0, 2, -8, -7};

/// Degree 1..6 as a table index; 0 ("other") for anything else. The minor tables look
/// only at the low seven bits of the chord byte.
std::size_t DegreeIndex(int degree, int scale)
{
    if (scale != 0)
        degree &= 0x7F;
    return (degree >= 1 && degree <= 6) ? static_cast<std::size_t>(degree) : 0;
}
} // namespace

int ChordQuality(int degree, int scale)
{
    const std::size_t i = DegreeIndex(degree, scale);
    return scale == 0 ? MajorQuality[i] : MinorQuality[i];
}

int ChordRootOffset(int degree, int scale)
{
    const std::size_t i = DegreeIndex(degree, scale);
    return scale == 0 ? MajorRoot[i] : MinorRoot[i];
}

int PitchClass(int n)
{
    return ((n % 12) + 12) % 12;
}

int PatternNoteForChord(int degree, int scale, int note)
{
    const int p = PitchClass(note);
    bool lowered = false;
    switch (ChordQuality(degree, scale))
    {
    case 1: // diminished
        lowered = (p >= 3 && p <= 7) || p == 10 || p == 11;
        break;
    case 2: // minor
        lowered = (p >= 3 && p <= 5) || p == 10 || p == 11;
        break;
    case 3: // dominant seventh
        lowered = p == 10 || p == 11;
        break;
    default:
        break;
    }
    return note + ChordRootOffset(degree, scale) - (lowered ? 1 : 0);
}

int HarmonyPitch(int degree, int scale, int pitch)
{
    const int p = PitchClass(pitch);
    if (PitchClass(ChordRootOffset(degree, scale)) == p)
        return pitch - 5;
    if (p == 0 || p == 2 || p == 5 || p == 7)
        return pitch - 3;
    return pitch - 4;
}
