#include "base/Exceptions.h"
#include "midi/ArrangeList.h"
#include "midi/MidiData.h"
#include "model/Munit.h"
#include "model/Muprop.h"
#include "model/MusicProject.h"
#include "render/PatternCache.h"
#include "render/PatternPreview.h"
#include "render/RenderSong.h"
#include "render/RenderUnit.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace fs = std::filesystem;

namespace
{
constexpr std::int32_t Beat = 384;
constexpr std::int32_t Bar = 1536;

/// (time, length, channel, key, velocity) of a rendered note.
using TNote = std::tuple<std::int32_t, std::int32_t, int, int, int>;

std::vector<TNote> Notes(const TMidiData& midi, int track)
{
    std::vector<TNote> notes;
    for (const auto& e : *midi.GetTrack(track))
        if ((e->Status() & 0xF0) == 0x90)
            notes.emplace_back(e->Time, e->Duration, e->Status() & 0x0F, e->Data[1], e->Data[2]);
    return notes;
}

std::vector<int> Keys(const TMidiData& midi, int track)
{
    std::vector<int> keys;
    for (const TNote& n : Notes(midi, track))
        keys.push_back(std::get<3>(n));
    return keys;
}

/// (time, bytes) of every event that is not a note.
using TOther = std::tuple<std::int32_t, std::vector<std::uint8_t>>;
std::vector<TOther> Others(const TMidiData& midi, int track)
{
    std::vector<TOther> others;
    for (const auto& e : *midi.GetTrack(track))
        if ((e->Status() & 0xF0) != 0x90)
            others.emplace_back(e->Time, e->Data);
    return others;
}

int CountOthers(const TMidiData& midi)
{
    int count = 0;
    for (int t = 0; t < midi.TrackCount(); ++t)
        count += static_cast<int>(Others(midi, t).size());
    return count;
}

void SetBarChords(TMunit& unit, int bar, std::initializer_list<int> degrees)
{
    int beat = 0;
    for (int degree : degrees)
        unit.SetChord(bar, beat++, static_cast<std::uint8_t>(degree));
}

void AddRaw(TMidiData& midi, int track, std::int32_t time, std::vector<std::uint8_t> data,
            std::int32_t duration = 0)
{
    TMidiEvent* e = midi.InsertEvent(track, time);
    e->Data = std::move(data);
    e->Duration = duration;
}

/// A unit governed by its own property set, chord I throughout, no melody, and an output
/// sequence with the five tracks.
class RenderBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Unit.SetProperty(&Property);
        for (int bar = 0; bar < 4; ++bar)
            Unit.SetChordRun(bar, 0, 1);
        Out.SetTrackCount(TrackCount);
    }

    void RenderBars(int track, int channel, bool use7th = false, bool altSnare = false, int key = 0)
    {
        for (int bar = 0; bar < 4; ++bar)
            RenderPatternBar(Unit, Out, track, bar, bar * Bar, channel, Pattern, key, Unit.Scale(),
                             use7th, altSnare);
    }

    TMuprop Property;
    TMunit Unit{4, 4};
    TMidiData Pattern;
    TMidiData Out;
};

TEST_F(RenderBarTest, BackingBarsAlternateAndSeventhBarsReplaceThem)
{
    for (int n = 0; n < 4; ++n)
        Pattern.AddNote(0, n * Bar, 100, 0, 60 + 2 * n, 90);

    RenderBars(1, 1);
    EXPECT_EQ(Keys(Out, 1), (std::vector<int>{60, 62, 60, 62}));

    Out.SetTrackCount(0);
    RenderBars(2, 2, true);
    EXPECT_EQ(Keys(Out, 2), (std::vector<int>{64, 66, 64, 66}));
    EXPECT_EQ(std::get<0>(Notes(Out, 2)[3]), 3 * Bar);
}

TEST_F(RenderBarTest, DrumFillBarOnlyInFillUnitAndBassPlaysFourBars)
{
    const int keys[4] = {36, 38, 42, 49};
    for (int n = 0; n < 4; ++n)
        Pattern.AddNote(0, n * Bar, 100, 9, keys[n], 100);

    RenderBars(4, DrumChannel);
    EXPECT_EQ(Keys(Out, 4), (std::vector<int>{36, 38, 42, 42}));

    Unit.SetFill(1);
    Out.SetTrackCount(0);
    RenderBars(4, DrumChannel);
    EXPECT_EQ(Keys(Out, 4), (std::vector<int>{36, 38, 42, 49}));

    // Fill belongs to the drums: the bass plays its fourth bar either way.
    Unit.SetFill(0);
    RenderBars(3, 3);
    EXPECT_EQ(Keys(Out, 3), (std::vector<int>{36, 38, 42, 49}));
}

TEST_F(RenderBarTest, BassNoteMovesOntoTheChordAndKey)
{
    Pattern.AddNote(0, 0, 384, 3, 48, 100);
    Unit.SetChordRun(0, 0, 5);
    RenderPatternBar(Unit, Out, 3, 0, 0, 3, Pattern, 0, Unit.Scale(), false, false);
    Unit.SetChordRun(0, 0, 2);
    RenderPatternBar(Unit, Out, 3, 0, Bar, 3, Pattern, 0, Unit.Scale(), false, false);
    Unit.SetChordRun(0, 0, 5);
    RenderPatternBar(Unit, Out, 3, 0, 2 * Bar, 3, Pattern, 2, Unit.Scale(), false, false);

    EXPECT_EQ(Notes(Out, 3),
              (std::vector<TNote>{
                  {0, 384, 3, 43, 100}, {Bar, 384, 3, 50, 100}, {2 * Bar, 384, 3, 45, 100}}));
}

TEST_F(RenderBarTest, NoteIsCutAtChordChangeAndStruckAgainInEveryPart)
{
    Pattern.AddNote(0, 0, Bar, 0, 60, 90);

    RenderPatternBar(Unit, Out, 1, 0, 0, 1, Pattern, 0, Unit.Scale(), false, false);
    EXPECT_EQ(Notes(Out, 1), (std::vector<TNote>{{0, Bar, 1, 60, 90}}));

    // Notes that end at or before the change are not struck again.
    Pattern.AddNote(0, 0, 768, 0, 64, 90);
    Pattern.AddNote(0, 0, 100, 0, 67, 90);
    SetBarChords(Unit, 0, {1, 1, 5, 5});
    Out.SetTrackCount(0);
    RenderPatternBar(Unit, Out, 1, 0, 0, 1, Pattern, 0, Unit.Scale(), false, false);
    EXPECT_EQ(
        Notes(Out, 1),
        (std::vector<TNote>{
            {0, 768, 1, 60, 90}, {0, 768, 1, 64, 90}, {0, 100, 1, 67, 90}, {768, 768, 1, 55, 90}}));

    // Drums too, with the key as written.
    TMidiData drums;
    drums.AddNote(0, 0, Bar, 9, 36, 100);
    RenderPatternBar(Unit, Out, 4, 0, 0, DrumChannel, drums, 0, Unit.Scale(), false, false);
    EXPECT_EQ(Notes(Out, 4), (std::vector<TNote>{{0, 768, 9, 36, 100}, {768, 768, 9, 36, 100}}));
}

TEST_F(RenderBarTest, NoteSpanningTwoChangesIsCutAtTheFirst)
{
    Pattern.AddNote(0, 0, Bar, 0, 60, 90);
    SetBarChords(Unit, 0, {1, 4, 4, 5});
    RenderPatternBar(Unit, Out, 1, 0, 0, 1, Pattern, 0, Unit.Scale(), false, false);
    EXPECT_EQ(
        Notes(Out, 1),
        (std::vector<TNote>{{0, 384, 1, 60, 90}, {384, 768, 1, 65, 90}, {1152, 384, 1, 55, 90}}));
}

TEST_F(RenderBarTest, NoteOutlastingTheBarKeepsItsLengthAfterTheLastChange)
{
    Pattern.AddNote(0, 0, 2 * Bar, 0, 60, 90);
    RenderPatternBar(Unit, Out, 1, 0, 0, 1, Pattern, 0, Unit.Scale(), false, false);
    SetBarChords(Unit, 1, {1, 1, 5, 5});
    RenderPatternBar(Unit, Out, 2, 1, Bar, 2, Pattern, 0, Unit.Scale(), false, false);

    EXPECT_EQ(Notes(Out, 1), (std::vector<TNote>{{0, 2 * Bar, 1, 60, 90}}));
    // Bar 1 reads pattern bar 1, where this note does not start: nothing.
    EXPECT_TRUE(Notes(Out, 2).empty());

    Out.SetTrackCount(0);
    SetBarChords(Unit, 0, {1, 1, 5, 5});
    RenderPatternBar(Unit, Out, 1, 0, 0, 1, Pattern, 0, Unit.Scale(), false, false);
    EXPECT_EQ(Notes(Out, 1),
              (std::vector<TNote>{{0, 768, 1, 60, 90}, {768, 2 * Bar - 768, 1, 55, 90}}));
}

TEST_F(RenderBarTest, AltSnareChangesOnlyTheDrumSnare)
{
    Pattern.AddNote(0, 0, 100, 9, 38, 100);
    Pattern.AddNote(0, 192, 100, 9, 36, 100);
    RenderPatternBar(Unit, Out, 4, 0, 0, DrumChannel, Pattern, 0, Unit.Scale(), false, true);
    RenderPatternBar(Unit, Out, 4, 0, Bar, DrumChannel, Pattern, 0, Unit.Scale(), false, false);
    RenderPatternBar(Unit, Out, 3, 0, 0, 3, Pattern, 0, Unit.Scale(), false, true);

    EXPECT_EQ(Keys(Out, 4), (std::vector<int>{40, 36, 38, 36}));
    EXPECT_EQ(Keys(Out, 3), (std::vector<int>{38, 36}));
}

TEST_F(RenderBarTest, ChannelMessagesCopiedToThePartsChannelExceptOwnedOnes)
{
    AddRaw(Pattern, 0, 10, {0xC5, 0x05});
    for (int controller : {0, 7, 10, 32, 91, 93})
        AddRaw(Pattern, 0, 10, {0xB5, static_cast<std::uint8_t>(controller), 0x33});
    AddRaw(Pattern, 0, 10, {0xB5, 0x01, 0x40});
    AddRaw(Pattern, 0, 10, {0xE5, 0x00, 0x48});
    AddRaw(Pattern, 0, 10, {0xD5, 0x22});
    AddRaw(Pattern, 0, 10, {0xA5, 0x3C, 0x14});
    AddRaw(Pattern, 0, 10, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7});
    AddRaw(Pattern, 0, 10, {0xFF, 0x51, 0x07, 0xA1, 0x20});
    AddRaw(Pattern, 0, 20, {0x85, 0x3C, 0x00});

    RenderPatternBar(Unit, Out, 2, 0, 3000, 2, Pattern, 0, Unit.Scale(), false, false);
    EXPECT_EQ(Others(Out, 2), (std::vector<TOther>{{3010, {0xB2, 0x01, 0x40}},
                                                   {3010, {0xE2, 0x00, 0x48}},
                                                   {3010, {0xD2, 0x22}},
                                                   {3010, {0xA2, 0x3C, 0x14}}}));
    EXPECT_TRUE(Notes(Out, 2).empty());
}

TEST_F(RenderBarTest, NotesWithoutLengthAreNotRendered)
{
    AddRaw(Pattern, 0, 0, {0x90, 60, 90}, 0);
    AddRaw(Pattern, 0, 0, {0x90, 64, 90}, -1);
    AddRaw(Pattern, 0, 384, {0x90, 67, 0}, 100);
    SetBarChords(Unit, 0, {1, 5, 5, 5});
    RenderPatternBar(Unit, Out, 1, 0, 0, 1, Pattern, 0, Unit.Scale(), false, false);
    EXPECT_EQ(Out.GetTrack(1)->Count(), 0);
}

TEST_F(RenderBarTest, EqualTicksKeepBeatThenPatternTrackThenEventOrder)
{
    Pattern.AddNote(0, 0, Bar, 0, 60, 90);
    Pattern.AddNote(0, 768, 100, 0, 64, 90);
    Pattern.AddNote(1, 768, 100, 0, 67, 90);
    AddRaw(Pattern, 1, 768, {0xB0, 0x01, 0x10});
    SetBarChords(Unit, 0, {1, 1, 5, 5});
    RenderPatternBar(Unit, Out, 1, 0, 0, 1, Pattern, 0, Unit.Scale(), false, false);

    std::vector<std::vector<std::uint8_t>> atChange;
    for (const auto& e : *Out.GetTrack(1))
        if (e->Time == 768)
            atChange.push_back(e->Data);
    // The re-struck note of beat 0, then the notes that start in beat 2, track by track.
    EXPECT_EQ(atChange, (std::vector<std::vector<std::uint8_t>>{
                            {0x91, 55, 90}, {0x91, 59, 90}, {0x91, 62, 90}, {0xB1, 0x01, 0x10}}));
}

TEST_F(RenderBarTest, PitchesOutsideTheMidiRangeMoveByOctaves)
{
    Pattern.AddNote(0, 0, 100, 0, 127, 90);
    Unit.SetChordRun(0, 0, 4);
    RenderPatternBar(Unit, Out, 1, 0, 0, 1, Pattern, 0, Unit.Scale(), false, false);
    EXPECT_EQ(Keys(Out, 1), (std::vector<int>{120})); // 132, not 132 mod 128 = 4

    TMidiData bass;
    bass.AddNote(0, 0, 100, 3, 2, 90);
    Unit.SetChordRun(0, 0, 5);
    RenderPatternBar(Unit, Out, 3, 0, 0, 3, bass, -12, Unit.Scale(), false, false);
    EXPECT_EQ(Keys(Out, 3), (std::vector<int>{9})); // -15, not -15 mod 128 = 113

    Property.Key = 12;
    Property.OctaveUp = 1;
    Unit.SetRhythm(0, 0, RhythmOnset);
    Unit.SetMelody(0, 0, 60); // 60 + 84 = 144
    Property.SetPatternName(0, "None");
    Property.SetPatternName(1, "None");
    Property.SetPatternName(2, "None");
    Property.SetPatternName(3, "None");
    TMidiData melody;
    RenderToMidi(Unit, melody, 0);
    EXPECT_EQ(Keys(melody, 0), (std::vector<int>{120}));
}

/// The melody needs no patterns: every slot names nothing.
class RenderMelodyTest : public RenderBarTest
{
protected:
    void SetUp() override
    {
        RenderBarTest::SetUp();
        for (int slot = 0; slot < PatternSlotCount; ++slot)
            Property.SetPatternName(slot, "None");
        Out.SetTrackCount(0);
    }
};

TEST_F(RenderMelodyTest, NotesSoundFifteenSixteenthsOfTheirSteps)
{
    Unit.SetBarRhythm(0, "*--.*-*-");
    Unit.SetMelody(0, 0, 0);
    Unit.SetMelody(0, 4, 4);
    Unit.SetMelody(0, 6, 7);
    Unit.SetBarRhythm(3, "*-------");
    RenderToMidi(Unit, Out, 100);

    ASSERT_EQ(Out.TrackCount(), TrackCount);
    EXPECT_EQ(Notes(Out, 0), (std::vector<TNote>{{100, 540, 0, 60, 100},
                                                 {100 + 768, 360, 0, 64, 100},
                                                 {100 + 1152, 360, 0, 67, 100},
                                                 {100 + 3 * Bar, 1440, 0, 60, 100}}));
    for (int track = 1; track < TrackCount; ++track)
        EXPECT_EQ(Out.GetTrack(track)->Count(), 0);
}

TEST_F(RenderMelodyTest, KeyAndOctaveUpMoveTheReferencePitch)
{
    Property.Key = 2;
    Property.SetOctaveUp(1);
    Unit.SetRhythm(1, 2, RhythmOnset);
    RenderToMidi(Unit, Out, 0);
    EXPECT_EQ(Notes(Out, 0), (std::vector<TNote>{{Bar + 384, 180, 0, 74, 100}}));
}

TEST_F(RenderMelodyTest, HarmonyVoiceTakesTheChordOfTheStepsBeat)
{
    Unit.SetHarmonyVoice(1);
    SetBarChords(Unit, 0, {1, 1, 5, 5});
    Unit.SetBarRhythm(0, "*---*---");
    Unit.SetMelody(0, 0, 7);
    Unit.SetMelody(0, 4, 7);
    RenderToMidi(Unit, Out, 0);
    // Step 4 is in beat 2 (chord V): the fifth below the root; step 0 under I a third below.
    EXPECT_EQ(Keys(Out, 0), (std::vector<int>{67, 64, 67, 62}));
}

/// A pattern library on disk in a directory of its own, loaded into the three libraries.
class RenderSongTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Dir = fs::temp_directory_path() /
              ("lyravane-render-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Dir);
        fs::create_directories(Dir);

        // Backing: a whole-bar C chord tone per bar and a modulation controller.
        TMidiData back;
        AddRaw(back, 0, 0, {0xB0, 0x01, 0x20});
        for (int n = 0; n < 4; ++n)
            back.AddNote(0, n * Bar, Bar, 0, 64, 80);
        back.SaveToFile((Dir / "BACK.MID").string());
        // Bass: quarter notes on C.
        TMidiData bass;
        for (int n = 0; n < 16; ++n)
            bass.AddNote(0, n * Beat, 300, 0, 36, 90);
        bass.SaveToFile((Dir / "BASS.MID").string());
        // Drums: a kick per beat, the snare in the fill bar.
        TMidiData drums;
        for (int n = 0; n < 16; ++n)
            drums.AddNote(0, n * Beat, 90, 9, n < 12 ? 36 : 38, 100);
        drums.SaveToFile((Dir / "DRUM.MID").string());

        BackPatterns.Clear();
        BassPatterns.Clear();
        DrumPatterns.Clear();
        BackPatterns.LoadIndexText("BACK.MID | Back\n| Empty\nMISSING.MID | Gone\n"
                                   "BAD.MID | Bad\n",
                                   Dir.string());
        BassPatterns.LoadIndexText("BASS.MID | Bass\n", Dir.string());
        DrumPatterns.LoadIndexText("drum.mid | Drums\n", Dir.string());
        std::ofstream(Dir / "BAD.MID") << "MThd";
    }

    void TearDown() override
    {
        BackPatterns.Clear();
        BassPatterns.Clear();
        DrumPatterns.Clear();
        fs::remove_all(Dir);
    }

    /// A song of one property set and count units, each with one melody note at its start.
    void MakeSong(int count)
    {
        Song.Items.Clear();
        auto property = std::make_unique<TMuprop>();
        property->SetPatternName(0, "back");
        property->SetPatternName(1, "Back");
        property->SetPatternName(2, "Bass");
        property->SetPatternName(3, "Drums");
        Song.Items.Add(std::move(property));
        for (int i = 0; i < count; ++i)
            AddUnit();
    }

    TMunit& AddUnit()
    {
        auto unit = std::make_unique<TMunit>(4, 4);
        unit->SetRhythm(0, 0, RhythmOnset);
        TMunit& added = *unit;
        Song.Items.Add(std::move(unit));
        return added;
    }

    TMuprop& Properties() { return *Song.PropertyAt(0); }

    fs::path Dir;
    TMusicProject Song;
};

TEST_F(RenderSongTest, UnitsFollowEachOtherAcrossRepeatsWithSetupOnce)
{
    MakeSong(2);
    Properties().SetPatternName(0, "None");
    Properties().SetPatternName(1, "None");
    TMidiData midi;
    RenderSong(Song, midi, 2, false);

    ASSERT_EQ(midi.TrackCount(), TrackCount);
    std::vector<std::int32_t> starts;
    for (const TNote& n : Notes(midi, 0))
        starts.push_back(std::get<0>(n));
    EXPECT_EQ(starts, (std::vector<std::int32_t>{0, 6144, 12288, 18432}));
    EXPECT_EQ(CountOthers(midi), 26);
    for (int t = 0; t < TrackCount; ++t)
        for (const TOther& o : Others(midi, t))
            EXPECT_EQ(std::get<0>(o), 0);
    EXPECT_EQ(Notes(midi, 3).size(), 4u * 16u);
    EXPECT_EQ(std::get<0>(Notes(midi, 4).back()), 18432 + 3 * Bar + 3 * Beat);
}

TEST_F(RenderSongTest, LeadInBarComesFirstAndIsClosedByController111)
{
    MakeSong(1);
    TMidiData midi;
    RenderSong(Song, midi, 1, true);

    const std::vector<TOther> track0 = Others(midi, 0);
    ASSERT_GE(track0.size(), 4u);
    EXPECT_EQ(track0[0], (TOther{0, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}}));
    EXPECT_EQ(track0[1], (TOther{0, {0xFF, 0x51, 0x03, 0x0D, 0x40}}));
    EXPECT_EQ(track0[2], (TOther{1535, {0xB0, 111, 0}}));
    EXPECT_EQ(track0[3], (TOther{1536, {0xFF, 0x51, 0x07, 0xA1, 0x20}}));
    EXPECT_EQ(std::get<0>(Notes(midi, 0).front()), 1536);
    EXPECT_EQ(std::get<0>(Notes(midi, 1).front()), 1536);
    // The lead-in, the set-up, and the backing pattern's controller in bars 0 and 2 of
    // both backing parts.
    EXPECT_EQ(CountOthers(midi), 3 + 26 + 4);
}

TEST_F(RenderSongTest, UnitPlaybackStartsAfterTheLeadInWithoutController111)
{
    MakeSong(2);
    TMunit& unit = *Song.UnitAt(2);
    unit.SetProperty(&Properties());
    unit.SetRhythm(0, 0, RhythmRest);
    unit.SetRhythm(1, 0, RhythmOnset);

    TMidiData midi;
    RenderUnitPlayback(unit, midi, true);
    const std::vector<TOther> track0 = Others(midi, 0);
    ASSERT_GE(track0.size(), 3u);
    EXPECT_EQ(track0[0], (TOther{0, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}}));
    EXPECT_EQ(track0[1], (TOther{0, {0xFF, 0x51, 0x03, 0x0D, 0x40}}));
    EXPECT_EQ(track0[2], (TOther{1536, {0xFF, 0x51, 0x07, 0xA1, 0x20}}));
    EXPECT_EQ(CountOthers(midi), 2 + 26 + 4);
    for (int t = 0; t < TrackCount; ++t)
        for (const TOther& o : Others(midi, t))
            EXPECT_FALSE((std::get<1>(o)[0] & 0xF0) == 0xB0 && std::get<1>(o)[1] == 111);
    EXPECT_EQ(Notes(midi, 0), (std::vector<TNote>{{1536 + Bar, 180, 0, 60, 100}}));

    TMidiData plain;
    RenderUnitPlayback(unit, plain, false);
    EXPECT_EQ(CountOthers(plain), 26 + 4);
    EXPECT_EQ(std::get<0>(Notes(plain, 0).front()), Bar);
}

TEST_F(RenderSongTest, SongOfOnlyPropertiesRendersOnlySetup)
{
    MakeSong(0);
    TMidiData midi;
    RenderSong(Song, midi, 4, true);
    EXPECT_EQ(CountOthers(midi), 3 + 26);
    for (int t = 0; t < TrackCount; ++t)
        EXPECT_TRUE(Notes(midi, t).empty());
}

TEST_F(RenderSongTest, LaterPropertySetSendsOnlyWhatChangesAndGovernsTheUnitsAfterIt)
{
    MakeSong(1);
    auto second = std::make_unique<TMuprop>();
    second->PatternNames = Properties().PatternNames;
    second->Tempo = 90;
    second->Key = 5;
    TMuprop* secondProperties = second.get();
    Song.Items.Add(std::move(second));
    AddUnit();

    const TMuprop* attached = Song.UnitAt(3)->Property;
    TMidiData midi;
    RenderSong(Song, midi, 2, false);
    // At each boundary only the tempo differs: P1 at 0, P2 at 6144, P1 again at 12288 (the
    // start of the second pass compares with P2), P2 at 18432; the backing controller comes
    // twice per backing part and unit.
    EXPECT_EQ(CountOthers(midi), 26 + 3 + 4 * 4);
    std::vector<std::int32_t> tempos;
    for (const TOther& o : Others(midi, 0))
        if (std::get<1>(o)[0] == 0xFF)
            tempos.push_back(std::get<0>(o));
    EXPECT_EQ(tempos, (std::vector<std::int32_t>{0, 6144, 12288, 18432}));
    EXPECT_EQ(Keys(midi, 0), (std::vector<int>{60, 65, 60, 65}));
    // The second set governs through the rendering alone: the song's links stay as they were.
    EXPECT_NE(attached, secondProperties);
    EXPECT_EQ(Song.UnitAt(3)->Property, attached);
}

TEST_F(RenderSongTest, APatternsBendAndPedalEndWhereAPropertySetChangesIt)
{
    // "Back" sends modulation: where the next set plays another backing pattern, that
    // channel's controllers are reset; where it keeps "Back" (any case), nothing is added.
    MakeSong(1);
    const auto addSet = [this](const char* backing)
    {
        auto next = std::make_unique<TMuprop>();
        next->PatternNames = Properties().PatternNames;
        next->SetPatternName(0, backing);
        Song.Items.Add(std::move(next));
        AddUnit();
    };
    addSet("BACK");
    addSet("Empty");
    TMidiData midi;
    RenderSong(Song, midi, 2, false);
    std::vector<std::int32_t> resets;
    for (int t = 0; t < midi.TrackCount(); ++t)
        for (const auto& [time, bytes] : Others(midi, t))
            if (bytes == std::vector<std::uint8_t>{std::uint8_t(0xB0 | TrackChannel(t)), 121, 0})
                resets.push_back(time);
    // Into the third unit of each pass (Back -> Empty); each pass starts under "back" again
    // after "Empty", which sent nothing to reset.
    EXPECT_EQ(resets, (std::vector<std::int32_t>{2 * 6144, 5 * 6144}));
}

TEST_F(RenderSongTest, PlayingFromAnEntryStartsThereUnderTheSettingsBeforeIt)
{
    MakeSong(1);
    auto second = std::make_unique<TMuprop>();
    second->PatternNames = Properties().PatternNames;
    second->Tempo = 90;
    second->Key = 5;
    Song.Items.Add(std::move(second));
    AddUnit();

    // From the start with a layout asked for: the same bytes as ever.
    TMidiData plain;
    RenderSong(Song, plain, 2, true);
    TMidiData traced;
    std::vector<TSongSpan> layout;
    TPatternCache patterns;
    RenderSong(Song, traced, 2, true, patterns, 0, &layout);
    EXPECT_EQ(traced.SaveToString(), plain.SaveToString());
    ASSERT_EQ(layout.size(), 4u);
    EXPECT_EQ(layout[0].Entry, 1);
    EXPECT_EQ(layout[0].FromTick, Bar);
    EXPECT_EQ(layout[3].Entry, 3);
    EXPECT_EQ(layout[3].ToTick, Bar + 4 * 6144);

    // From the second unit: it plays first, in its key and tempo, then the repetitions whole.
    TMidiData midi;
    layout.clear();
    RenderSong(Song, midi, 2, false, patterns, 3, &layout);
    ASSERT_EQ(layout.size(), 3u);
    const std::vector<std::pair<int, std::int32_t>> spans = {{layout[0].Entry, layout[0].FromTick},
                                                             {layout[1].Entry, layout[1].FromTick},
                                                             {layout[2].Entry, layout[2].FromTick}};
    EXPECT_EQ(spans, (std::vector<std::pair<int, std::int32_t>>{{3, 0}, {1, 6144}, {3, 12288}}));
    EXPECT_EQ(Keys(midi, 0), (std::vector<int>{65, 60, 65}));
    std::vector<std::pair<std::int32_t, std::uint8_t>> tempos;
    for (const TOther& o : Others(midi, 0))
        if (std::get<1>(o)[0] == 0xFF)
            tempos.emplace_back(std::get<0>(o), std::get<1>(o)[4]);
    // 90 bpm is 666666 microseconds a beat (…0x2A), 120 is 500000 (…0x20).
    EXPECT_EQ(tempos, (std::vector<std::pair<std::int32_t, std::uint8_t>>{
                          {0, 0x2A}, {6144, 0x20}, {12288, 0x2A}}));
    // The whole set-up of the settings in force goes first: as many messages as at a start.
    EXPECT_EQ(CountOthers(midi), 26 + 2 + 3 * 4);
}

TEST_F(RenderSongTest, NoneAndEmptyFileEntriesContributeNothing)
{
    MakeSong(1);
    Properties().SetPatternName(0, "None");
    Properties().SetPatternName(1, "Empty");
    TMidiData midi;
    RenderSong(Song, midi, 1, false);
    EXPECT_EQ(Others(midi, 1).size(), 5u);
    EXPECT_EQ(Others(midi, 2).size(), 5u);
    EXPECT_TRUE(Notes(midi, 1).empty());
    EXPECT_TRUE(Notes(midi, 2).empty());
    EXPECT_FALSE(Notes(midi, 3).empty());
}

TEST_F(RenderSongTest, MissingOrMalformedPatternEndsTheRendering)
{
    MakeSong(1);
    Properties().SetPatternName(1, "Gone");
    TMidiData midi;
    EXPECT_THROW(RenderSong(Song, midi, 1, false), EFOpenError);
    Properties().SetPatternName(1, "Bad");
    TMidiData again;
    EXPECT_THROW(RenderSong(Song, again, 1, false), EInvalidMidiFile);
}

TEST_F(RenderSongTest, PatternCacheReadsEachFileOnceAndChangesNothing)
{
    MakeSong(3);
    Song.UnitAt(2)->SetFill(1);
    SetBarChords(*Song.UnitAt(3), 2, {2, 2, 5, 5});
    Properties().SetUse7th(1);
    Properties().SetAltSnare(1);

    TPatternCache patterns;
    TMidiData cached;
    RenderSong(Song, cached, 3, true, patterns);
    EXPECT_EQ(patterns.FilesRead(), 3);

    // The same song built unit by unit, each unit loading its own patterns.
    TMidiData reference;
    reference.SetTrackCount(TrackCount);
    AddLeadIn(reference);
    reference.AddControlChange(0, Bar - 1, 0, 111, 0);
    std::int32_t tick = Bar;
    for (int repeat = 0; repeat < 3; ++repeat)
    {
        if (repeat == 0)
            Properties().EmitTrackSetup(reference, tick, nullptr);
        for (int i = 1; i <= 3; ++i)
        {
            TPatternCache ownPatterns;
            RenderToMidi(*Song.UnitAt(i), &Properties(), reference, tick, ownPatterns);
            tick += 4 * Bar;
        }
    }
    EXPECT_EQ(cached.SaveToString(), reference.SaveToString());
}

TEST_F(RenderSongTest, PreviewPlaysTwoBarsOfTheSlotOverChordI)
{
    MakeSong(1);
    Properties().Key = 3;
    TMidiData midi;
    RenderPatternPreview(Properties(), 3, midi, false);
    ASSERT_EQ(midi.TrackCount(), TrackCount);
    EXPECT_EQ(CountOthers(midi), 26);
    const std::vector<TNote> bass = Notes(midi, 3);
    ASSERT_EQ(bass.size(), 8u);
    for (const TNote& n : bass)
        EXPECT_EQ(std::get<3>(n), 39); // C moved by the key only, in both bars
    EXPECT_EQ(std::get<0>(bass.back()), Bar + 3 * Beat);
    for (int t : {0, 1, 2, 4})
        EXPECT_TRUE(Notes(midi, t).empty());

    TMidiData drums;
    Properties().SetAltSnare(1);
    RenderPatternPreview(Properties(), 4, drums, true);
    EXPECT_EQ(CountOthers(drums), 2 + 26);
    EXPECT_EQ(std::get<0>(Notes(drums, 4).front()), Bar);
    EXPECT_EQ(std::get<2>(Notes(drums, 4).front()), DrumChannel);

    TMidiData silent;
    Properties().SetPatternName(0, "None");
    RenderPatternPreview(Properties(), 1, silent, true);
    EXPECT_EQ(CountOthers(silent), 2 + 26);
    EXPECT_THROW(RenderPatternPreview(Properties(), 5, silent, false), std::out_of_range);
}

TEST(RenderTest, UnitWithoutPropertiesIsRefused)
{
    TMunit unit(4, 4);
    TMidiData midi;
    EXPECT_THROW(RenderToMidi(unit, midi, 0), ELyravaneError);
    EXPECT_THROW(RenderUnitPlayback(unit, midi, false), ELyravaneError);
}
} // namespace

TEST(SongSecondsTest, UnitsAtTheTempoBeforeThemTimesTheRepeatsAfterTheLeadIn)
{
    const struct
    {
        int Repeats;
        bool Reset;
        int LaterTempo; // of a property set before a third unit; 0: none
        double Seconds;
    } cases[] = {{1, false, 0, 16.0}, {2, true, 0, 32.8}, {2, false, 60, 64.0}};
    for (const auto& c : cases)
    {
        TMusicProject song;
        song.NewSong(); // tempo 120: a bar lasts 2 seconds
        song.Items.Add(std::make_unique<TMunit>());
        if (c.LaterTempo > 0)
        {
            auto property = std::make_unique<TMuprop>();
            property->Tempo = c.LaterTempo;
            song.Items.Add(std::move(property));
            song.Items.Add(std::make_unique<TMunit>());
        }
        EXPECT_DOUBLE_EQ(SongSeconds(song, c.Repeats, c.Reset), c.Seconds) << c.LaterTempo;
    }
}
