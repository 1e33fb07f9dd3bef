#include "ComposeTestUtil.h"

#include "compose/ChordMaker.h"
#include "compose/Composer.h"
#include "compose/RhythmMaker.h"
#include "model/Munit.h"
#include "model/Muprop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using composetest::Advanced;
using composetest::Peek;

namespace
{
// Draws of a run that composes nothing: three rates, the starting pitch, the first level,
// three level drifts, and per bar the model, the inversion and the copy rate.
constexpr int DrawsWithoutOnsets = 3 + 1 + 1 + 3 + 4 * 3;

void Compose(TMunit& u, std::uint32_t seed)
{
    SetRandSeed(seed);
    TComposer composer;
    composer.SetMunit(&u);
    composer.Compose();
}

/// Chords, rhythm and melody, as the editor's full composition runs them.
void ComposeAll(TMunit& u, std::uint32_t seed)
{
    SetRandSeed(seed);
    TChordMaker chords;
    chords.SetMunit(&u);
    chords.MakeChords();
    TRhythmMaker rhythm;
    rhythm.SetMunit(&u);
    rhythm.MakeRhythm();
    Compose(u, seed % 1000);
}

struct TOnset
{
    int Bar;
    int Step;
};

std::vector<TOnset> Onsets(const TMunit& u)
{
    std::vector<TOnset> onsets;
    for (int b = 0; b < 4; ++b)
        for (int s = 0; s < 8; ++s)
            if (u.GetRhythm(b, s) == '*')
                onsets.push_back({b, s});
    return onsets;
}

/// A composer attached to a unit, with a quiet context for one ChoosePitch: degree I at
/// level 4 (range 0..7), previous pitch 4 on a chord tone, no copying, no edges.
class ChoosePitchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Unit.SetProperty(&Property);
        C.SetMunit(&Unit);
        C.Note.Chord = 1;
        C.Note.NextChord = 1;
        C.PrevChord = 1;
        C.Note.Lower = 0;
        C.Note.Upper = 7;
        C.Anchor = 4;
        C.NextBarTarget = 4;
        C.Note.Position96 = 0;
        C.Note.Length96 = 24;
        C.Note.NextLength96 = 24;
        C.Note.NotesInBar = 4;
        C.Note.NotesInNextBar = 4;
        C.Prev = 4;
        C.Prev2 = 4;
        C.PrevMark = TComposer::ChordTone;
        C.Direction = 1;
    }

    /// The previous onset was a neighbour note: the pitch is its resolution, Target, and no
    /// step before the fix-ups draws.
    void ResolveTo(int target)
    {
        C.PrevMark = TComposer::NeighbourTone;
        C.Target = target;
    }

    TMuprop Property;
    TMunit Unit;
    TComposer C;
};
} // namespace

TEST(ComposerSearchTest, SearchesOverDegreeOneInMajor)
{
    EXPECT_EQ(PitchAbove(0, 1, 0, 3), 4);
    EXPECT_EQ(PitchBelow(0, 1, 0, 3), -5);
    EXPECT_EQ(PitchAtOrAbove(0, 1, 1, 3), 4);
    EXPECT_EQ(PitchAtOrAbove(0, 1, 0, 3), 0);
    EXPECT_EQ(MoveBy(0, 1, 0, 3, 2), 7);
    EXPECT_EQ(MoveBy(0, 1, 0, 1, -1), -1);
    EXPECT_EQ(MoveBy(0, 1, 0, 3, -3), -12);
    // The range of level 4.
    EXPECT_EQ(PitchBelow(0, 1, 4 + 5, 3), 7);
    EXPECT_EQ(PitchAbove(0, 1, 4 - 5, 3), 0);
    // No pitch within an octave qualifies: the start comes back.
    EXPECT_EQ(PitchAbove(0, 7, 3, 1), 3);
    EXPECT_EQ(PitchBelow(0, 1, 3, 4), 3);
}

TEST(ComposerSearchTest, WeightTablesByScaleAndDegree)
{
    constexpr int Major = 0;
    constexpr int Minor = 1;
    EXPECT_EQ(ToneWeight(Major, 0, 0), 2); // no chord: its own row
    EXPECT_EQ(ToneWeight(Major, 0, 1), 0);
    EXPECT_EQ(ToneWeight(Major, 5, 11), 3); // major V: B is a chord note
    EXPECT_EQ(ToneWeight(Major, 2, 11), 1);
    EXPECT_EQ(ToneWeight(Major, 1, -8), 3); // pitch class of a negative pitch
    EXPECT_EQ(ToneWeight(Major, 7, 0), 0);  // chord bytes beyond VI weigh nothing
    EXPECT_EQ(ToneWeight(Major, 255, 4), 0);

    EXPECT_EQ(ToneWeight(Minor, 5, 11), 3); // the raised seventh over V
    EXPECT_EQ(ToneWeight(Minor, 5, 10), 0);
    EXPECT_EQ(ToneWeight(Minor, 1, 10), 2);
    EXPECT_EQ(ToneWeight(Minor, 1, 11), 0);
    EXPECT_EQ(ToneWeight(Minor, 1, 3), 3); // minor tonic triad 0, 3, 7
    EXPECT_EQ(ToneWeight(Minor, 1, 4), 0);

    // Scales other than major and minor weigh nothing.
    for (int p = 0; p < 12; ++p)
        EXPECT_EQ(ToneWeight(2, 1, p), 0);
}

TEST(ComposerSearchTest, MoveByZeroDrawsOnlyOffTheChord)
{
    SetRandSeed(555);
    EXPECT_EQ(MoveBy(0, 1, 4, 3, 0), 4);
    EXPECT_EQ(GetRandSeed(), 555u);

    for (std::uint32_t seed = 0; seed < 20; ++seed)
    {
        const int expected = Peek(seed, 1, 2) == 1 ? 4 : 0;
        SetRandSeed(seed);
        EXPECT_EQ(MoveBy(0, 1, 2, 3, 0), expected);
        EXPECT_EQ(GetRandSeed(), Advanced(seed, 1));
    }
}

TEST(ComposerTest, AllBarsLockedKeepEveryByteAndDrawOnlyPerRunAndPerBar)
{
    for (std::uint8_t scale : {0, 1})
    {
        TMuprop property;
        property.Scale = scale;
        TMunit u;
        u.SetProperty(&property);
        // Extreme bytes too: the +3 and -3 of a minor unit wrap and cancel.
        const int pitches[] = {-128, 127, 126, -126, 0, 5, -3, 24};
        for (int b = 0; b < 4; ++b)
        {
            u.SetLock(b, 1);
            for (int s = 0; s < 8; ++s)
            {
                u.SetRhythm(b, s, "*-.*"[(b + s) % 4]);
                u.SetMelody(b, s, pitches[(b * 3 + s) % 8]);
            }
        }
        const auto melody = u.Melody;
        Compose(u, 31337);
        EXPECT_EQ(u.Melody, melody);
        EXPECT_EQ(GetRandSeed(), Advanced(31337, DrawsWithoutOnsets));
    }
}

TEST(ComposerTest, LevelsRiseThroughTheMiddleBarsAndFallInTheLast)
{
    // Every level a drift of lo..hi from the previous one can reach, after the clamp.
    auto reachable = [](int from, int lo, int hi, int min, int max, int level)
    {
        for (int d = lo; d <= hi; ++d)
            if (std::clamp(from + d, min, max) == level)
                return true;
        return false;
    };
    std::set<int> lastDrops;
    for (std::uint32_t seed = 0; seed < 3000; ++seed)
    {
        TMunit u;
        TComposer c;
        c.SetMunit(&u);
        SetRandSeed(seed * 747796405u);
        c.Compose();
        ASSERT_EQ(c.Levels.size(), 4u);
        const int l0 = c.Levels[0], l1 = c.Levels[1], l2 = c.Levels[2], l3 = c.Levels[3];
        ASSERT_TRUE(l0 >= 0 && l0 <= 7) << l0;
        ASSERT_TRUE(reachable(l0, -1, 4, 2, 8, l1)) << l0 << " " << l1;
        ASSERT_TRUE(reachable(l1, -1, 4, 0, 10, l2)) << l1 << " " << l2;
        ASSERT_TRUE(reachable(l2, -7, -2, 2, 8, l3)) << l2 << " " << l3;
        if (l2 - 7 >= 2)
            lastDrops.insert(l2 - l3);
    }
    EXPECT_EQ(lastDrops, (std::set<int>{2, 3, 4, 5, 6, 7}));
}

TEST(ComposerTest, BarsWithoutOnsetsKeepTheirValues)
{
    TMuprop property;
    property.Scale = 1;
    TMunit u;
    u.SetProperty(&property);
    for (int b = 0; b < 4; ++b)
        for (int s = 0; s < 8; ++s)
        {
            u.SetRhythm(b, s, s < 3 ? '.' : '-');
            u.SetMelody(b, s, b * 10 - s);
        }
    const auto melody = u.Melody;
    Compose(u, 8);
    EXPECT_EQ(u.Melody, melody);
    EXPECT_EQ(GetRandSeed(), Advanced(8, DrawsWithoutOnsets));
}

TEST(ComposerTest, OnlyOnsetsOfUnlockedBarsChange)
{
    for (std::uint32_t seed = 0; seed < 300; ++seed)
    {
        TMuprop property;
        property.Scale = static_cast<std::uint8_t>(seed % 2);
        TMunit u;
        u.SetProperty(&property);
        u.SetCadence(static_cast<std::uint8_t>(seed % 3 == 0));
        u.SetShortNotes(static_cast<std::uint8_t>(seed % 5 < 2));
        ComposeAll(u, seed);
        // Give every step without an onset a value the composer would not pick, lock one
        // bar, compose again.
        u.SetRhythm(2, 5, '.');
        for (int b = 0; b < 4; ++b)
            for (int s = 0; s < 8; ++s)
                if (u.GetRhythm(b, s) != '*')
                    u.SetMelody(b, s, 100 - b * 8 - s);
        const int locked = static_cast<int>(seed % 4);
        u.SetLock(locked, 1);
        const TMunit before = u;
        Compose(u, seed);
        for (int b = 0; b < 4; ++b)
            for (int s = 0; s < 8; ++s)
            {
                if (b == locked || u.GetRhythm(b, s) != '*')
                {
                    ASSERT_EQ(u.GetMelody(b, s), before.GetMelody(b, s))
                        << "seed " << seed << " bar " << b << " step " << s;
                }
                else
                {
                    ASSERT_LT(u.GetMelody(b, s), 60) << "onset left uncomposed";
                }
            }
    }
}

TEST(ComposerTest, ComposedPitchesStayWithinTheEditorsRange)
{
    int lowest = 1000;
    int highest = -1000;
    for (std::uint32_t seed = 0; seed < 2000; ++seed)
    {
        TMuprop property;
        property.Scale = static_cast<std::uint8_t>(seed % 2);
        TMunit u;
        u.SetProperty(&property);
        u.SetCadence(static_cast<std::uint8_t>((seed / 2) % 2));
        u.SetShortNotes(static_cast<std::uint8_t>((seed / 4) % 2));
        ComposeAll(u, seed * 2654435761u);
        for (const TOnset& n : Onsets(u))
        {
            const int p = u.GetMelody(n.Bar, n.Step);
            lowest = std::min(lowest, p);
            highest = std::max(highest, p);
        }
    }
    EXPECT_GE(lowest, -12);
    EXPECT_LE(highest, 24);
    EXPECT_LT(lowest, 0);
    EXPECT_GT(highest, 12);
}

TEST(ComposerTest, ClosingUnitsEndOnTheTonicUnlessAResolutionRuleApplied)
{
    int tonic = 0;
    for (std::uint32_t seed = 0; seed < 3000; ++seed)
    {
        TMuprop property;
        property.Scale = static_cast<std::uint8_t>(seed % 2);
        const int shift = property.Scale == 1 ? 3 : 0; // working pitch 0 is the tonic
        TMunit u;
        u.SetProperty(&property);
        u.SetCadence(1);
        u.SetShortNotes(static_cast<std::uint8_t>((seed / 2) % 2));
        ComposeAll(u, seed * 40503u + 1);
        const std::vector<TOnset> onsets = Onsets(u);
        ASSERT_GE(onsets.size(), 2u);
        const TOnset last = onsets.back();
        const TOnset before = onsets[onsets.size() - 2];
        ASSERT_EQ(u.GetChord(last.Bar, last.Step / 2), 1);

        const int final = u.GetMelody(last.Bar, last.Step) + shift;
        const int prev = u.GetMelody(before.Bar, before.Step) + shift;
        const bool leadingNoteOrSeventhAfterV = u.GetChord(before.Bar, before.Step / 2) == 5 &&
                                                (PitchClass(prev) == 11 || PitchClass(prev) == 5);
        // The tonic would be a rising tritone: the chord note below it instead.
        const bool tritoneAvoided = (prev == -6 && final == -5) || (prev == 6 && final == 7);
        if (PitchClass(final) == 0)
        {
            EXPECT_TRUE(final == 0 || final == 12) << "seed " << seed << ": final " << final;
            ++tonic;
        }
        else
            EXPECT_TRUE(leadingNoteOrSeventhAfterV || tritoneAvoided)
                << "seed " << seed << ": final " << final << " after " << prev;
    }
    // The exceptions are rare: the rules before the last note keep the fourth degree away
    // from it, and a leading note after V resolves up to the tonic anyway.
    EXPECT_GT(tonic, 2900);
}

TEST(ComposerTest, ArbitraryUnitRecordsComposeWithoutFault)
{
    std::uint32_t bytes = 12345;
    auto next = [&bytes]
    {
        bytes = bytes * 1103515245u + 12345u;
        return static_cast<std::uint8_t>(bytes >> 16);
    };
    for (int round = 0; round < 400; ++round)
    {
        // Unit record: version and dimensions, flags, then chords, rhythm and melody.
        std::uint8_t record[256] = {};
        const std::int32_t header[] = {1, 2, 4, 4};
        std::memcpy(record, header, sizeof header);
        for (int at : {16, 20, 24, 28})
            record[at] = next() % 3 == 0 ? next() : 0;
        for (int i = 0; i < 16; ++i)
            record[64 + i] = next() % 4 == 0 ? next() : next() % 7;
        for (int i = 0; i < 32; ++i)
        {
            const std::uint8_t pick = next();
            record[96 + i] = pick < 200 ? static_cast<std::uint8_t>("*-."[pick % 3]) : next();
            record[160 + i] = next();
        }
        std::istringstream stream(std::string(reinterpret_cast<char*>(record), sizeof record));
        TMunit u;
        u.ReadFromStream(stream);
        TMuprop property;
        property.Scale = static_cast<std::uint8_t>(round % 3 == 0 ? next() : round % 2);
        if (round % 7 != 0)
            u.SetProperty(&property);
        for (int b = 0; b < 4; ++b)
            u.SetLock(b, next() % 4 == 0);

        const TMunit before = u;
        Compose(u, static_cast<std::uint32_t>(round));
        for (int b = 0; b < 4; ++b)
            for (int s = 0; s < 8; ++s)
                if (u.GetLock(b) != 0 || u.GetRhythm(b, s) != '*')
                {
                    ASSERT_EQ(u.GetMelody(b, s), before.GetMelody(b, s)) << "round " << round;
                }
        ComposeAll(u, static_cast<std::uint32_t>(round) * 3u);
        EXPECT_EQ(u.Chords.size(), 16u);
        EXPECT_EQ(u.Melody.size(), 32u);
    }
}

TEST_F(ChoosePitchTest, LeapUpTurnsDownWithoutADrawForDirection)
{
    C.PrevInterval = 7;
    SetRandSeed(2024);
    C.ChoosePitch();
    EXPECT_EQ(C.Direction, -1);
    // Only the weighted choice of the kind drew: its gate and its pick.
    EXPECT_EQ(GetRandSeed(), Advanced(2024, 2));
    EXPECT_EQ(C.Note.Pitch, 0);

    SetUp();
    C.PrevInterval = 6;
    SetRandSeed(2024);
    C.ChoosePitch();
    EXPECT_NE(GetRandSeed(), Advanced(2024, 2));
}

TEST_F(ChoosePitchTest, RisingTritoneBecomesTheChordNoteBelow)
{
    ResolveTo(6);
    C.Prev = 0;
    SetRandSeed(9);
    C.ChoosePitch();
    EXPECT_EQ(C.Note.Pitch, 4);
    EXPECT_EQ(C.Mark, TComposer::ChordTone);
    EXPECT_EQ(GetRandSeed(), 9u);

    SetUp();
    ResolveTo(5);
    C.Prev = 0;
    C.ChoosePitch();
    EXPECT_EQ(C.Note.Pitch, 5);
}

TEST_F(ChoosePitchTest, FinalNoteOfAClosingUnitIsTheTonic)
{
    struct TCase
    {
        int Prev2, Prev, Target, Pitch;
    };
    const TCase cases[] = {
        {4, 7, 7, 0},    // 4, 7 falls to the tonic below
        {2, 7, 7, 12},   // from 6 or higher the tonic above
        {2, 5, 9, 0},    // lower: the tonic below
        {0, 0, 0, 0},    // already the tonic
        {0, 12, 12, 12}, // the upper tonic stays
        {0, -6, 7, -5},  // the tonic would rise a tritone: the chord note below
        {0, 6, 7, 7},    // the same above: 12 is a tritone over 6
    };
    for (const TCase& t : cases)
    {
        SetUp();
        C.Note.IsFinalNote = true;
        C.Prev2 = t.Prev2;
        C.Prev = t.Prev;
        ResolveTo(t.Target);
        C.ChoosePitch();
        EXPECT_EQ(C.Note.Pitch, t.Pitch) << "prev " << t.Prev << " target " << t.Target;
        EXPECT_EQ(C.Mark, TComposer::ChordTone);
    }
}

TEST_F(ChoosePitchTest, LeadingNoteAfterVKeepsItsResolution)
{
    // The previous note resolves to 14, not the tonic: the leading note rule has the last
    // word over the final-note rule.
    C.Note.IsFinalNote = true;
    C.PrevChord = 5;
    C.Prev = 11;
    ResolveTo(14);
    C.ChoosePitch();
    EXPECT_EQ(C.Note.Pitch, 14);
    EXPECT_EQ(C.Direction, 1);
}

TEST_F(ChoosePitchTest, AfterVTheLeadingNoteRisesAndTheSeventhFalls)
{
    for (std::uint32_t seed = 0; seed < 100; ++seed)
    {
        for (const int prev : {11, 5})
        {
            SetUp();
            C.PrevChord = 5;
            C.Prev = prev;
            C.Note.Upper = 12;
            SetRandSeed(seed);
            C.ChoosePitch();
            EXPECT_EQ(C.Direction, prev == 11 ? 1 : -1);
            EXPECT_EQ(C.Note.Pitch, prev == 11 ? 12 : 4) << "seed " << seed;
            EXPECT_EQ(C.Mark, TComposer::ChordTone);
        }
    }
}

TEST_F(ChoosePitchTest, NoAugmentedSecondUpToTheRaisedSeventhInMinor)
{
    for (std::uint8_t scale : {0, 1})
    {
        SetUp();
        Property.Scale = scale;
        C.Note.Chord = 5;
        C.Prev = 8;
        ResolveTo(11);
        C.ChoosePitch();
        EXPECT_EQ(C.Note.Pitch, scale == 1 ? 7 : 11);
    }
}

TEST_F(ChoosePitchTest, LineReachesTheFinalTonicFromTheSecondDegree)
{
    struct TCase
    {
        std::uint8_t Scale;
        int Prev, Target, Pitch;
        std::uint8_t Mark;
    };
    const TCase cases[] = {
        {0, 4, 0, 2, TComposer::PassingTone},  // major, from the third above
        {0, -1, 0, 2, TComposer::PassingTone}, // major, from the leading note
        {1, 3, 0, 2, TComposer::PassingTone},  // minor, from the third above
        {1, 4, 0, 0, TComposer::ChordTone},    // minor: a major third above is no cue
        {0, 7, 5, 4, TComposer::ChordTone},    // the fourth degree steps down to a chord note
    };
    for (const TCase& t : cases)
    {
        SetUp();
        Property.Scale = t.Scale;
        C.Note.NextIsFinal = true;
        C.Prev = t.Prev;
        ResolveTo(t.Target);
        C.ChoosePitch();
        EXPECT_EQ(C.Note.Pitch, t.Pitch) << "scale " << int(t.Scale) << " prev " << t.Prev;
        EXPECT_EQ(C.Mark, t.Mark);
    }
}

TEST_F(ChoosePitchTest, LoneNoteAfterVAvoidsAnEarlyTonic)
{
    struct TCase
    {
        int Target, NotesInBar;
        bool Final;
        int Pitch;
    };
    const TCase cases[] = {
        {12, 1, false, 7}, // the chord note below
        {0, 1, false, 4},  // from 0 or lower: the chord note above
        {12, 2, false, 12},
        {12, 1, true, 12}, // the closing note keeps its tonic
    };
    for (const TCase& t : cases)
    {
        SetUp();
        C.PrevChord = 5;
        C.Prev = 2;
        C.Note.NotesInBar = t.NotesInBar;
        C.Note.IsFinalNote = t.Final;
        ResolveTo(t.Target);
        C.ChoosePitch();
        EXPECT_EQ(C.Note.Pitch, t.Pitch) << "target " << t.Target << " notes " << t.NotesInBar;
    }
}

TEST_F(ChoosePitchTest, BeforeVResolvesToALoneNoteTheTendencyToneMovesAway)
{
    struct TCase
    {
        std::uint8_t NextChord;
        bool NextFinal;
        int Direction, Prev, Target, Pitch;
    };
    const TCase cases[] = {
        {1, false, 1, 7, 11, 5},   // the leading note steps down past the previous pitch
        {1, false, -1, 7, 11, 14}, // or up
        {6, true, 1, 2, 5, -1},    // the seventh before the closing note, past 2 as well
        {6, false, 1, 2, 5, 5},    // the seventh only matters before the closing note
    };
    for (const TCase& t : cases)
    {
        SetUp();
        C.Note.Chord = 5;
        C.Note.Upper = 12;
        C.Note.NextChord = t.NextChord;
        C.Note.NotesInNextBar = 1;
        C.Note.NextIsFinal = t.NextFinal;
        C.Direction = t.Direction;
        C.Prev = t.Prev;
        ResolveTo(t.Target);
        C.ChoosePitch();
        EXPECT_EQ(C.Note.Pitch, t.Pitch) << "target " << t.Target << " direction " << t.Direction;
        EXPECT_EQ(C.Mark, TComposer::ChordTone);
    }
}

TEST_F(ChoosePitchTest, PassingLineStopsBeforeANoteHalfAsLong)
{
    for (const int nextLength : {24, 12})
    {
        SetUp();
        C.PrevMark = TComposer::PassingTone;
        C.Direction = -1;
        C.Note.NextLength96 = nextLength;
        C.ChoosePitch();
        if (nextLength == 24)
        {
            EXPECT_EQ(C.Mark, TComposer::PassingTone);
            EXPECT_EQ(C.Note.Pitch, 2); // one scale step down
        }
        else
        {
            EXPECT_EQ(C.Mark, TComposer::ChordTone);
            EXPECT_EQ(C.Note.Pitch, 0); // one chord note down
        }
    }
}

TEST_F(ChoosePitchTest, LongRunOfChordNotesForcesANonChordNote)
{
    int chordTones = 0;
    for (std::uint32_t seed = 0; seed < 200; ++seed)
    {
        for (int run : {0, 4, 6})
        {
            SetUp();
            C.PrevInterval = 7; // direction -1 without draws: only passing notes can win
            C.PassingRate = 99;
            C.ChordToneRun = run;
            SetRandSeed(seed);
            C.ChoosePitch();
            if (run >= 4)
            {
                ASSERT_EQ(C.Mark, TComposer::PassingTone) << "seed " << seed;
                ASSERT_EQ(C.Note.Pitch, 2);
            }
            else if (C.Mark == TComposer::ChordTone)
                ++chordTones;
        }
    }
    EXPECT_GT(chordTones, 0);
}
