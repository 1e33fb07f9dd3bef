#include "ComposeTestUtil.h"
#include "UnitText.h"

#include "compose/ChordMaker.h"
#include "compose/RhythmMaker.h"
#include "model/Munit.h"
#include "model/Muprop.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using composetest::Advanced;
using composetest::FindSeed;
using composetest::Peek;

namespace
{
constexpr std::uint32_t NoSeed = 0xFFFFFFFFu;

std::string BarRhythm(const TMunit& u, int bar)
{
    std::string s;
    for (int step = 0; step < 8; ++step)
        s += u.GetRhythm(bar, step);
    return s;
}

void SetBarChords(TMunit& u, int bar, const std::string& degrees)
{
    for (int k = 0; k < 4; ++k)
        u.SetChord(bar, k, static_cast<std::uint8_t>(degrees[static_cast<std::size_t>(k)] - '0'));
}

void LockAll(TMunit& u)
{
    for (int b = 0; b < 4; ++b)
        u.SetLock(b, 1);
}

void MakeChords(TMunit& u, std::uint32_t seed)
{
    SetRandSeed(seed);
    TChordMaker maker;
    maker.SetMunit(&u);
    maker.MakeChords();
}

void MakeRhythm(TMunit& u, std::uint32_t seed)
{
    SetRandSeed(seed);
    TRhythmMaker maker;
    maker.SetMunit(&u);
    maker.MakeRhythm();
}

/// A unit whose rhythm and melody are something the maker would never write.
TMunit MarkedUnit()
{
    TMunit u;
    for (int b = 0; b < 4; ++b)
        for (int s = 0; s < 8; ++s)
        {
            u.SetRhythm(b, s, s % 3 == 0 ? '*' : '.');
            u.SetMelody(b, s, 40 + b * 8 + s);
        }
    return u;
}
} // namespace

TEST(ChordMakerTest, AllBarsLockedKeepChordsAndDrawOnce)
{
    for (std::uint8_t cadence : {0, 1})
    {
        TMunit u;
        u.SetCadence(cadence);
        SetBarChords(u, 0, "1155");
        LockAll(u);
        const auto before = u.Chords;
        MakeChords(u, 777);
        EXPECT_EQ(u.Chords, before);
        EXPECT_EQ(GetRandSeed(), Advanced(777, 1));
    }
}

TEST(ChordMakerTest, ClosingRowZeroGivesOneFourFiveOne)
{
    const std::uint32_t seed = FindSeed([](std::uint32_t s) { return Peek(s, 1, 8) == 0; });
    ASSERT_NE(seed, NoSeed);
    TMunit u;
    u.SetCadence(1);
    MakeChords(u, seed);
    EXPECT_EQ(BarChords(u, 0), "1111");
    EXPECT_EQ(BarChords(u, 1), "4444");
    EXPECT_EQ(BarChords(u, 2), "5555");
    EXPECT_EQ(BarChords(u, 3), "1111");
}

TEST(ChordMakerTest, LockedBarKeepsItsChordAndOthersFollowTheirPositions)
{
    const std::uint32_t seed = FindSeed([](std::uint32_t s) { return Peek(s, 1, 8) == 3; });
    ASSERT_NE(seed, NoSeed);
    TMunit u;
    SetBarChords(u, 2, "5555");
    u.SetLock(2, 1);
    MakeChords(u, seed);
    EXPECT_EQ(BarChords(u, 0), "1111");
    EXPECT_EQ(BarChords(u, 1), "2222");
    EXPECT_EQ(BarChords(u, 2), "5555");
    EXPECT_EQ(BarChords(u, 3), "4444");
}

TEST(ChordMakerTest, HalfBarChordsBecomeOneChordAndOddBeatsSurvive)
{
    const std::uint32_t seed = FindSeed([](std::uint32_t s) { return Peek(s, 1, 8) == 0; });
    ASSERT_NE(seed, NoSeed);
    TMunit u;
    SetBarChords(u, 0, "1155");
    // Beats 2 and 4 that differ from beats 1 and 3 only come from a stored unit; the run
    // rule leaves them.
    SetBarChords(u, 1, "3132");
    MakeChords(u, seed);
    EXPECT_EQ(BarChords(u, 0), "1111");
    EXPECT_EQ(BarChords(u, 1), "6162");
}

TEST(ChordMakerTest, ClosingProgressionsEndOnTonicAndOpenOnesNever)
{
    std::set<std::string> closing;
    std::set<std::string> open;
    for (std::uint32_t seed = 0; seed < 400; ++seed)
    {
        for (std::uint8_t cadence : {0, 1})
        {
            TMunit u;
            u.SetCadence(cadence);
            MakeChords(u, seed);
            std::string progression;
            for (int b = 0; b < 4; ++b)
            {
                const std::string bar = BarChords(u, b);
                ASSERT_EQ(bar, std::string(4, bar[0])) << "bar " << b << " is not one chord";
                ASSERT_GE(bar[0], '1');
                ASSERT_LE(bar[0], '6');
                progression += bar[0];
            }
            if (cadence)
            {
                EXPECT_EQ(progression[3], '1') << progression;
                closing.insert(progression);
            }
            else
            {
                EXPECT_NE(progression[3], '1') << progression;
                open.insert(progression);
            }
        }
    }
    EXPECT_EQ(closing.size(), 8u);
    EXPECT_EQ(open.size(), 8u);
}

TEST(RhythmMakerTest, AllBarsLockedChangeNothingAndDrawTwicePerHalfBar)
{
    for (std::uint8_t shortNotes : {0, 1})
    {
        TMunit u = MarkedUnit();
        u.SetShortNotes(shortNotes);
        LockAll(u);
        const auto rhythm = u.Rhythm;
        const auto melody = u.Melody;
        MakeRhythm(u, 4242);
        EXPECT_EQ(u.Rhythm, rhythm);
        EXPECT_EQ(u.Melody, melody);
        EXPECT_EQ(GetRandSeed(), Advanced(4242, 16));
    }
}

TEST(RhythmMakerTest, ClosingEndingDrawsOnlyWhatItsBranchesNeed)
{
    // Draws 17 on belong to the ending; each case names the outcomes it needs and the
    // total number of draws the run must make.
    struct TCase
    {
        std::uint8_t ShortNotes;
        std::function<bool(std::uint32_t)> Wanted;
        int Draws;
    };
    const std::vector<TCase> cases = {
        {0, [](std::uint32_t s) { return Peek(s, 17, 100) >= 50 && Peek(s, 18, 100) >= 30; }, 18},
        {0, [](std::uint32_t s) { return Peek(s, 17, 100) >= 50 && Peek(s, 18, 100) < 30; }, 19},
        {0,
         [](std::uint32_t s)
         { return Peek(s, 17, 100) < 50 && Peek(s, 18, 100) < 70 && Peek(s, 19, 100) >= 30; },
         19},
        {0,
         [](std::uint32_t s)
         { return Peek(s, 17, 100) < 50 && Peek(s, 18, 100) >= 70 && Peek(s, 20, 100) >= 30; },
         20},
        {0,
         [](std::uint32_t s)
         { return Peek(s, 17, 100) < 50 && Peek(s, 18, 100) >= 70 && Peek(s, 20, 100) < 30; },
         21},
        {1, [](std::uint32_t s) { return Peek(s, 17, 100) < 50 && Peek(s, 19, 100) >= 30; }, 19},
        {1, [](std::uint32_t s) { return Peek(s, 17, 100) < 50 && Peek(s, 19, 100) < 30; }, 20},
    };
    for (std::size_t i = 0; i < cases.size(); ++i)
    {
        const std::uint32_t seed = FindSeed(cases[i].Wanted);
        ASSERT_NE(seed, NoSeed);
        TMunit u = MarkedUnit();
        u.SetCadence(1);
        u.SetShortNotes(cases[i].ShortNotes);
        LockAll(u);
        MakeRhythm(u, seed);
        EXPECT_EQ(GetRandSeed(), Advanced(seed, cases[i].Draws)) << "case " << i;
    }
}

TEST(RhythmMakerTest, PlainUnitsGetWholeOrHalfNoteFiguresAndNoRests)
{
    for (std::uint32_t seed = 0; seed < 300; ++seed)
    {
        TMunit u;
        MakeRhythm(u, seed);
        for (int b = 0; b < 4; ++b)
        {
            const std::string bar = BarRhythm(u, b);
            for (const std::string& half : {bar.substr(0, 4), bar.substr(4)})
                ASSERT_TRUE(half == "*---" || half == "*-*-") << "seed " << seed << ": " << bar;
            EXPECT_GE(u.NoteCount(b), 2);
            EXPECT_LE(u.NoteCount(b), 4);
        }
        // The first figure is the first draw of its table, never a repeat.
        EXPECT_EQ(BarRhythm(u, 0).substr(0, 4), Peek(seed, 1, 16) < 8 ? "*---" : "*-*-");
    }
}

TEST(RhythmMakerTest, SecondHalfOfFirstBarRepeatsByWeight)
{
    // Row 1 gives the first half-bar weight 2 of 9: a repeat draw of 0 or 1 copies it.
    int repeats = 0;
    for (std::uint32_t seed = 0; seed < 2000 && repeats < 20; ++seed)
    {
        if (Peek(seed, 4, 9) >= 2)
            continue;
        TMunit u;
        u.SetShortNotes(1);
        MakeRhythm(u, seed);
        const std::string bar = BarRhythm(u, 0);
        EXPECT_EQ(bar.substr(4), bar.substr(0, 4)) << "seed " << seed;
        ++repeats;
    }
    EXPECT_EQ(repeats, 20);
}

TEST(RhythmMakerTest, ShortNoteUnitsHoldOnlyOnsetsAndHolds)
{
    for (std::uint32_t seed = 0; seed < 300; ++seed)
    {
        for (std::uint8_t cadence : {0, 1})
        {
            TMunit u;
            u.SetShortNotes(1);
            u.SetCadence(cadence);
            MakeRhythm(u, seed);
            for (int b = 0; b < 4; ++b)
            {
                const std::string bar = BarRhythm(u, b);
                ASSERT_EQ(bar.find_first_not_of("*-"), std::string::npos) << bar;
                if (!(cadence && b == 3))
                {
                    ASSERT_EQ(bar[4], '*') << bar;
                }
                ASSERT_EQ(bar[0], '*') << bar;
            }
        }
    }
}

TEST(RhythmMakerTest, ClosingUnitsEndOnOneLongNote)
{
    for (std::uint8_t shortNotes : {0, 1})
    {
        int heldBars = 0;
        int wholeNotes = 0;
        for (std::uint32_t seed = 0; seed < 400; ++seed)
        {
            TMunit u;
            u.SetCadence(1);
            u.SetShortNotes(shortNotes);
            MakeRhythm(u, seed);
            const std::string last = BarRhythm(u, 3);
            const std::string end = last.substr(4);
            ASSERT_TRUE(end == "*---" || end == "----") << last;
            if (end == "----")
            {
                EXPECT_EQ(last, "*-------");
                ++heldBars;
            }
            else
                ++wholeNotes;
        }
        EXPECT_GT(heldBars, 0);
        EXPECT_GT(wholeNotes, 0);
    }
}

TEST(RhythmMakerTest, MelodyIsResetToChordRootsOnlyInUnlockedBars)
{
    for (std::uint8_t scale : {0, 1})
    {
        TMuprop property;
        property.Scale = scale;
        TMunit u = MarkedUnit();
        u.SetProperty(&property);
        SetBarChords(u, 0, "1155");
        u.SetLock(1, 1);
        const std::string lockedRhythm = BarRhythm(u, 1);
        std::vector<int> lockedMelody;
        for (int s = 0; s < 8; ++s)
            lockedMelody.push_back(u.GetMelody(1, s));

        MakeRhythm(u, 99);
        const std::vector<int> expected = scale == 0
                                              ? std::vector<int>{0, 0, 0, 0, -5, -5, -5, -5}
                                              : std::vector<int>{-3, -3, -3, -3, -8, -8, -8, -8};
        for (int s = 0; s < 8; ++s)
        {
            EXPECT_EQ(u.GetMelody(0, s), expected[static_cast<std::size_t>(s)]) << "step " << s;
            EXPECT_EQ(u.GetMelody(1, s), lockedMelody[static_cast<std::size_t>(s)]);
        }
        EXPECT_EQ(BarRhythm(u, 1), lockedRhythm);
    }
}
