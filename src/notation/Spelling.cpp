#include "notation/Spelling.h"

#include "model/MusicFunctions.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace
{
/// The signature of each major key by pitch class; the key of six sharps or six flats is
/// written with flats (G flat major, E flat minor).
constexpr std::array<int, 12> FifthsOfPitchClass = {0, -5, 2, -3, 4, -1, -6, 1, -4, 3, -2, 5};

/// Floor division, for positions on the line of fifths below F.
int FloorDiv(int a, int b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

/// Position q on the line of fifths (C 0, G 1, F -1, F sharp 6, B flat -2) as letter and
/// alteration.
void NameOfFifth(int q, char& step, int& alter)
{
    static const char* const letters = "FCGDAEB";
    const int shifted = q + 1;
    step = letters[static_cast<std::size_t>(shifted - 7 * FloorDiv(shifted, 7))];
    alter = FloorDiv(shifted, 7);
}

/// The position of pitch class pc on the line of fifths nearest the key: inside the twelve
/// positions from four flats below the key's own (three in minor, so the raised seventh is
/// a sharp) upwards.
int FifthOfPitchClass(int pc, int fifths, bool minor)
{
    const int low = fifths - (minor ? 3 : 4);
    // 7 * pc is pc's position modulo 12 (a fifth is seven semitones).
    int q = PitchClass(7 * pc);
    while (q < low)
        q += 12;
    while (q >= low + 12)
        q -= 12;
    // No double flat, and a double sharp only for the raised seventh of G sharp minor: F
    // flat (-8) to B sharp (12) need one sign at most.
    const int highest = minor ? std::max(12, fifths + 8) : 12;
    if (q < -8)
        q += 12;
    else if (q > highest)
        q -= 12;
    return q;
}
} // namespace

int KeyFifths(int key)
{
    return FifthsOfPitchClass[static_cast<std::size_t>(PitchClass(key))];
}

std::string KeyName(int key, bool minor)
{
    const int fifths = KeyFifths(key);
    // The relative minor lies three fifths above its major key.
    const int tonic = minor ? fifths + 3 : fifths;
    char step = 'C';
    int alter = 0;
    NameOfFifth(tonic, step, alter);
    std::string name(1, step);
    name += alter > 0 ? std::string(static_cast<std::size_t>(alter), '#')
                      : std::string(static_cast<std::size_t>(-alter), 'b');
    if (minor)
        name += 'm';
    return name;
}

TSpelledPitch SpellPitch(int midiPitch, int fifths, bool minor)
{
    TSpelledPitch pitch;
    NameOfFifth(FifthOfPitchClass(PitchClass(midiPitch), fifths, minor), pitch.Step, pitch.Alter);
    // The octave of the written letter: B sharp 3 sounds as C 4, C flat 4 as B 3.
    pitch.Octave = FloorDiv(midiPitch - pitch.Alter, 12) - 1;
    return pitch;
}

TChordSymbol ScoreChordSymbol(int degree, int key, int scale, bool use7th)
{
    TChordSymbol chord;
    const int fifths = KeyFifths(key);
    NameOfFifth(
        FifthOfPitchClass(PitchClass(key + ChordRootOffset(degree, scale)), fifths, scale != 0),
        chord.RootStep, chord.RootAlter);
    switch (ChordQuality(degree, scale))
    {
    case 1:
        chord.Kind = use7th ? TChordKind::HalfDiminished : TChordKind::Diminished;
        break;
    case 2:
        chord.Kind = use7th ? TChordKind::MinorSeventh : TChordKind::Minor;
        break;
    case 3:
        chord.Kind = use7th ? TChordKind::Dominant : TChordKind::Major;
        break;
    default:
        chord.Kind = use7th ? TChordKind::MajorSeventh : TChordKind::Major;
        break;
    }
    return chord;
}

const char* MusicXmlKindName(TChordKind kind)
{
    switch (kind)
    {
    case TChordKind::Minor:
        return "minor";
    case TChordKind::Diminished:
        return "diminished";
    case TChordKind::MajorSeventh:
        return "major-seventh";
    case TChordKind::MinorSeventh:
        return "minor-seventh";
    case TChordKind::Dominant:
        return "dominant";
    case TChordKind::HalfDiminished:
        return "half-diminished";
    default:
        return "major";
    }
}

std::string ScoreChordName(const TChordSymbol& chord)
{
    std::string name(1, chord.RootStep);
    if (chord.RootAlter > 0)
        name += std::string(static_cast<std::size_t>(chord.RootAlter), '#');
    else if (chord.RootAlter < 0)
        name += std::string(static_cast<std::size_t>(-chord.RootAlter), 'b');
    return name + ScoreChordSuffix(chord.Kind);
}

const char* ScoreChordSuffix(TChordKind kind)
{
    static const char* const suffixes[] = {"", "m", "dim", "maj7", "m7", "7", "m7b5"};
    return suffixes[static_cast<int>(kind)];
}
