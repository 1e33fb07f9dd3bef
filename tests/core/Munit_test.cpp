#include "UnitText.h"

#include "base/Exceptions.h"
#include "model/Munit.h"
#include "model/Muprop.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace
{
void SetBar(TMunit& u, int bar, const std::string& rhythm)
{
    for (int s = 0; s < 8; ++s)
        u.SetRhythm(bar, s, rhythm[static_cast<size_t>(s)]);
}
} // namespace

TEST(MunitTest, NewUnitHasDefaultChordsRestsAndNoLocks)
{
    TMunit u;
    EXPECT_EQ(u.StepsPerBeat, 2);
    EXPECT_EQ(u.BeatsPerBar, 4);
    EXPECT_EQ(u.BarCount, 4);
    EXPECT_EQ(BarChords(u, 0), "1111");
    EXPECT_EQ(BarChords(u, 1), "4444");
    EXPECT_EQ(BarChords(u, 2), "5555");
    EXPECT_EQ(BarChords(u, 3), "1111");
    for (int b = 0; b < 4; ++b)
    {
        EXPECT_EQ(u.GetLock(b), 0);
        for (int s = 0; s < 8; ++s)
        {
            EXPECT_EQ(u.GetRhythm(b, s), '.');
            EXPECT_EQ(u.GetMelody(b, s), 0);
        }
    }
    EXPECT_EQ(u.Fill + u.Cadence + u.ShortNotes + u.HarmonyVoice, 0);
    EXPECT_EQ(u.Property, nullptr);
}

TEST(MunitTest, AccessOutsideGridIsNeutralAndWritesAreIgnored)
{
    TMunit u;
    EXPECT_EQ(u.GetRhythm(0, 8), '.');
    EXPECT_EQ(u.GetRhythm(4, 0), '.');
    EXPECT_EQ(u.GetChord(0, 4), 0);
    EXPECT_EQ(u.GetChord(-1, 0), 0);
    EXPECT_EQ(u.GetMelody(-1, 0), 0);
    EXPECT_EQ(u.GetLock(4), 0);
    EXPECT_EQ(u.GetLock(-1), 0);
    const std::vector<std::uint8_t> chords = u.Chords;
    const std::vector<char> rhythm = u.Rhythm;
    u.SetChord(0, 4, 6);
    u.SetChord(4, 0, 6);
    u.SetRhythm(-1, 0, '*');
    u.SetRhythm(0, 8, '*');
    u.SetMelody(4, 7, 5);
    u.SetLock(7, 1);
    u.SetLock(-2, 1);
    EXPECT_EQ(u.Chords, chords);
    EXPECT_EQ(u.Rhythm, rhythm);
    EXPECT_EQ(u.Locks, std::vector<std::uint8_t>(4, 0));
}

TEST(MunitTest, MelodyStoresLowByteSignExtended)
{
    TMunit u;
    u.SetMelody(1, 2, -12);
    EXPECT_EQ(u.GetMelody(1, 2), -12);
    u.SetMelody(1, 2, 200); // low byte 0xC8
    EXPECT_EQ(u.GetMelody(1, 2), -56);
    u.SetMelody(1, 2, 127);
    EXPECT_EQ(u.GetMelody(1, 2), 127);
}

TEST(MunitTest, BarQueriesOverRhythm)
{
    TMunit u;
    SetBar(u, 1, "*--.*-*-");
    EXPECT_EQ(u.NoteLength(1, 0), 3);
    EXPECT_EQ(u.NoteLength(1, 4), 2);
    EXPECT_EQ(u.NoteLength(1, 6), 2);
    EXPECT_EQ(u.NoteLength(1, 1), 0);
    EXPECT_TRUE(u.IsFollowedByRest(1, 0));
    EXPECT_FALSE(u.IsFollowedByRest(1, 4));
    EXPECT_FALSE(u.IsFollowedByRest(1, 6));
    EXPECT_FALSE(u.IsFollowedByRest(1, 3));
    EXPECT_EQ(u.NoteCount(1), 3);
    EXPECT_EQ(u.NoteOrdinal(1, 4), 2);
    EXPECT_EQ(u.NoteOrdinal(1, 5), 0);
    EXPECT_EQ(u.NoteOrdinal(1, 6), 3);
    // A note never runs over the bar line.
    SetBar(u, 2, "*-------");
    SetBar(u, 3, "--------");
    EXPECT_EQ(u.NoteLength(2, 0), 8);
    EXPECT_EQ(u.NoteCount(3), 0);
}

TEST(MunitTest, ChordRunFollowsBeatsThatHeldTheOldDegree)
{
    TMunit u;
    u.SetChordRun(0, 2, 5);
    EXPECT_EQ(BarChords(u, 0), "1155");
    u.SetChordRun(0, 0, 2);
    EXPECT_EQ(BarChords(u, 0), "2255");
    // A beat that differs stops the run even when later beats match again.
    u.SetChord(1, 0, 3);
    u.SetChord(1, 1, 3);
    u.SetChord(1, 2, 4);
    u.SetChord(1, 3, 3);
    u.SetChordRun(1, 0, 6);
    EXPECT_EQ(BarChords(u, 1), "6643");
}

TEST(MunitTest, BarRhythmSpreadsTextOverSteps)
{
    TMunit u;
    u.SetBarRhythm(0, "*-*-*---");
    std::string bar;
    for (int s = 0; s < 8; ++s)
        bar += u.GetRhythm(0, s);
    EXPECT_EQ(bar, "*-*-*---");
    u.SetBarRhythm(1, "**"); // a short text lands on steps 0 and 4, the rest holds
    bar.clear();
    for (int s = 0; s < 8; ++s)
        bar += u.GetRhythm(1, s);
    EXPECT_EQ(bar, "*---*---");
}

TEST(MunitTest, ResizingKeepsFlatIndexAndZeroesNewElements)
{
    TMunit u;
    u.SetBarCount(5);
    EXPECT_EQ(u.Chords.size(), 20u);
    EXPECT_EQ(u.Rhythm.size(), 40u);
    EXPECT_EQ(u.Locks.size(), 5u);
    EXPECT_EQ(u.GetChord(4, 0), 0);
    EXPECT_EQ(u.GetChord(2, 0), 5);
    u.SetBarCount(4);
    EXPECT_EQ(BarChords(u, 3), "1111");
}

TEST(MunitTest, RecordRoundTripAndRefusal)
{
    TMunit u;
    u.SetBarRhythm(2, "*-*-*---");
    u.SetMelody(2, 0, -7);
    u.SetMelody(3, 7, 24);
    u.Fill = 1;
    u.HarmonyVoice = 1;
    u.SetLock(1, 1);
    std::stringstream s;
    u.WriteToStream(s);
    const std::string bytes = s.str();
    ASSERT_EQ(bytes.size(), 256u);
    EXPECT_EQ(bytes.substr(0, 16), std::string("\1\0\0\0\2\0\0\0\4\0\0\0\4\0\0\0", 16));
    EXPECT_EQ(bytes[16], 1);
    EXPECT_EQ(bytes[28], 1);
    EXPECT_EQ(bytes.substr(64, 4), std::string("\1\1\1\1"));
    EXPECT_EQ(bytes[96 + 16], '*');
    EXPECT_EQ(static_cast<signed char>(bytes[160 + 16]), -7);
    for (size_t i : {32u, 80u, 128u, 192u, 255u})
        EXPECT_EQ(bytes[i], 0) << i;

    TMunit v;
    std::istringstream in(bytes);
    v.ReadFromStream(in);
    EXPECT_EQ(v.Chords, u.Chords);
    EXPECT_EQ(v.Rhythm, u.Rhythm);
    EXPECT_EQ(v.Melody, u.Melody);
    EXPECT_EQ(v.Fill, 1);
    EXPECT_EQ(v.HarmonyVoice, 1);
    EXPECT_EQ(v.GetLock(1), 0); // locks are not stored

    for (auto [offset, value] : {std::pair{0, 2}, {4, 3}, {8, 8}, {12, 8}})
    {
        std::string bad = bytes;
        bad[static_cast<size_t>(offset)] = static_cast<char>(value);
        TMunit w;
        w.SetMelody(0, 0, 9);
        std::istringstream badIn(bad);
        EXPECT_THROW(w.ReadFromStream(badIn), EReadError) << offset;
        EXPECT_EQ(w.GetMelody(0, 0), 9); // unchanged
    }
    std::istringstream shortIn(bytes.substr(0, 255));
    EXPECT_THROW(v.ReadFromStream(shortIn), EReadError);
}
