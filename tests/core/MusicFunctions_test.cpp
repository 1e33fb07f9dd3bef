#include "model/MusicFunctions.h"

#include <gtest/gtest.h>

TEST(MusicFunctionsTest, QualitiesAndRootsInBothScales)
{
    const int majorQuality[] = {0, 0, 2, 2, 0, 3, 2};
    const int minorQuality[] = {0, 2, 1, 0, 2, 3, 0};
    const int majorRoot[] = {0, 0, 2, 4, 5, -5, -3};
    const int minorRoot[] = {0, -3, -1, 0, 2, -8, -7};
    for (int d = 0; d <= 6; ++d)
    {
        EXPECT_EQ(ChordQuality(d, 0), majorQuality[d]) << d;
        EXPECT_EQ(ChordQuality(d, 1), minorQuality[d]) << d;
        EXPECT_EQ(ChordRootOffset(d, 0), majorRoot[d]) << d;
        EXPECT_EQ(ChordRootOffset(d, 1), minorRoot[d]) << d;
    }
    EXPECT_EQ(ChordRootOffset(5, 1), -8);
    EXPECT_EQ(ChordQuality(2, 1), 1);
    // Out-of-table degrees: "other". The minor table looks only at the low seven bits.
    EXPECT_EQ(ChordRootOffset(7, 0), 0);
    EXPECT_EQ(ChordRootOffset(128 + 5, 0), 0);
    EXPECT_EQ(ChordRootOffset(128 + 5, 1), -8);
    EXPECT_EQ(ChordQuality(128 + 2, 1), 1);
}

TEST(MusicFunctionsTest, PitchClassAndPatternNotes)
{
    EXPECT_EQ(PitchClass(0), 0);
    EXPECT_EQ(PitchClass(-1), 11);
    EXPECT_EQ(PitchClass(-1200), 0);
    EXPECT_EQ(PitchClass(-1213), 11);
    EXPECT_EQ(PitchClass(127), 7);
    EXPECT_EQ(PatternNoteForChord(2, 0, 64), 65); // E of C becomes F of D minor
    EXPECT_EQ(PatternNoteForChord(5, 0, 71), 65); // B of Cmaj7 becomes F of G7
    EXPECT_EQ(PatternNoteForChord(5, 0, 48), 43);
    EXPECT_EQ(PatternNoteForChord(2, 0, 48), 50);
    EXPECT_EQ(PatternNoteForChord(1, 0, 64), 64);
    // Diminished VII of A minor (degree II): E, F#(6), G(7) lowered; C and D kept.
    EXPECT_EQ(PatternNoteForChord(2, 1, 64), 64 - 1 - 1);
    EXPECT_EQ(PatternNoteForChord(2, 1, 67), 67 - 1 - 1);
    EXPECT_EQ(PatternNoteForChord(2, 1, 62), 62 - 1);
    // Minor I of A minor: C E G -> A C E.
    EXPECT_EQ(PatternNoteForChord(1, 1, 60), 57);
    EXPECT_EQ(PatternNoteForChord(1, 1, 64), 60);
    EXPECT_EQ(PatternNoteForChord(1, 1, 67), 64);
}

TEST(MusicFunctionsTest, HarmonyPitchUnderMelody)
{
    EXPECT_EQ(HarmonyPitch(1, 0, 0), -5);
    EXPECT_EQ(HarmonyPitch(1, 0, 4), 0);
    EXPECT_EQ(HarmonyPitch(4, 0, 7), 4);
    EXPECT_EQ(HarmonyPitch(5, 0, 7), 2); // the root of V: a fourth below
    EXPECT_EQ(HarmonyPitch(1, 0, 2), -1);
    EXPECT_EQ(HarmonyPitch(1, 0, 11), 7);
}

namespace
{
/// The name of the chord the renderer sounds for a degree: the pattern's C, E, G (and B in
/// the seventh bars) moved onto the chord in the key, read back as intervals over the root.
std::string SoundingChordName(int key, int scale, int degree, bool seventh)
{
    const int root = PitchClass(key + PatternNoteForChord(degree, scale, 0));
    const auto interval = [&](int note)
    { return PitchClass(key + PatternNoteForChord(degree, scale, note) - root); };
    const int third = interval(4);
    const int fifth = interval(7);
    std::string suffix;
    if (third == 4 && fifth == 7)
        suffix = "";
    else if (third == 3 && fifth == 7)
        suffix = "m";
    else if (third == 3 && fifth == 6)
        suffix = "dim";
    else
        return "?";
    if (seventh)
    {
        const int top = interval(11);
        if (suffix.empty())
            suffix = top == 11 ? "maj7" : "7";
        else if (suffix == "m" && top == 10)
            suffix = "m7";
        else if (suffix == "dim" && top == 10)
            suffix = "m7b5";
        else
            return "?";
    }
    const char* const names[12] = {"C", "Db", "D", "Eb", "E", "F", "Gb", "G", "Ab", "A", "Bb", "B"};
    return names[root] + suffix;
}
} // namespace

TEST(MusicFunctionsTest, ChordNamesAgreeWithTheRenderedPitchesInEveryKeyAndScale)
{
    for (int key = -12; key <= 12; ++key)
        for (int scale = 0; scale <= 1; ++scale)
            for (int degree = 1; degree <= 6; ++degree)
                for (const bool seventh : {false, true})
                    EXPECT_EQ(ChordName(key, scale, degree, seventh),
                              SoundingChordName(key, scale, degree, seventh))
                        << "key " << key << " scale " << scale << " degree " << degree;
    EXPECT_EQ(ChordName(0, 0, 4, false), "F");
    EXPECT_EQ(ChordName(0, 0, 5, true), "G7");
    EXPECT_EQ(ChordName(0, 1, 1, false), "Am");
    EXPECT_EQ(ChordName(0, 1, 2, false), "Bdim");
    EXPECT_EQ(ChordName(2, 0, 1, true), "Dmaj7");
    EXPECT_EQ(ChordName(-1, 1, 1, true), "Abm7");
    // No chord (0) and bytes past VI have no name; minor looks at the low seven bits.
    EXPECT_EQ(ChordName(0, 0, 0, false), "");
    EXPECT_EQ(ChordName(0, 0, 7, true), "");
    EXPECT_EQ(ChordName(0, 0, 128 + 1, false), "");
    EXPECT_EQ(ChordName(0, 1, 128 + 1, false), "Am");
}

TEST(MusicFunctionsTest, NoteNames)
{
    EXPECT_EQ(PitchClassName(1), "Db");
    EXPECT_EQ(PitchClassName(1, true), "C#");
    EXPECT_EQ(PitchClassName(-2), "Bb");
    EXPECT_EQ(MidiNoteName(60), "C4");
    EXPECT_EQ(MidiNoteName(64), "E4");
    EXPECT_EQ(MidiNoteName(59), "B3");
    EXPECT_EQ(MidiNoteName(0), "C-1");
    EXPECT_EQ(MidiNoteName(127), "G9");
    EXPECT_EQ(MidiNoteName(-1, true), "B-2");
    EXPECT_EQ(MidiNoteName(70, true), "A#4");
}
