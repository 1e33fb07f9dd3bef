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
