#include "model/MusicFunctions.h"

#include <array>
#include <cstddef>

namespace
{
constexpr std::array<int, 7> MajorQuality = {0, 0, 2, 2, 0, 3, 2};
constexpr std::array<int, 7> MinorQuality = {0, 2, 1, 0, 2, 3, 0};
constexpr std::array<int, 7> MajorRoot = {0, 0, 2, 4, 5, -5, -3};
constexpr std::array<int, 7> MinorRoot = {0, -3, -1, 0, 2, -8, -7};

constexpr std::array<const char*, 12> FlatNames = {"C",  "Db", "D",  "Eb", "E",  "F",
                                                   "Gb", "G",  "Ab", "A",  "Bb", "B"};
constexpr std::array<const char*, 12> SharpNames = {"C",  "C#", "D",  "D#", "E",  "F",
                                                    "F#", "G",  "G#", "A",  "A#", "B"};
/// Suffixes by quality (major, diminished, minor, dominant seventh), as a triad and with
/// the seventh: over a major chord the pattern's B stays a major seventh, over the others
/// it is lowered to a minor one (the dominant keeps its major third).
constexpr std::array<const char*, 4> TriadSuffix = {"", "dim", "m", ""};
constexpr std::array<const char*, 4> SeventhSuffix = {"maj7", "m7b5", "m7", "7"};

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

std::string PitchClassName(int n, bool sharps)
{
    const auto c = static_cast<std::size_t>(PitchClass(n));
    return sharps ? SharpNames[c] : FlatNames[c];
}

std::string ChordName(int key, int scale, int degree, bool seventh)
{
    if (DegreeIndex(degree, scale) == 0)
        return {};
    const auto quality = static_cast<std::size_t>(ChordQuality(degree, scale));
    return PitchClassName(key + ChordRootOffset(degree, scale)) +
           (seventh ? SeventhSuffix[quality] : TriadSuffix[quality]);
}

std::string MidiNoteName(int note, bool sharps)
{
    // Octave -1 starts at note 0; the division rounds down for negative notes too.
    const int octave = (note - PitchClass(note)) / 12 - 1;
    return PitchClassName(note, sharps) + std::to_string(octave);
}
