#include "base/Bytes.h"
#include "base/Exceptions.h"
#include "midi/ArrangeList.h"
#include "midi/MidiData.h"
#include "model/Munit.h"
#include "model/Muprop.h"
#include "model/MusicProject.h"
#include "model/SongBytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace
{
std::uint8_t At(const std::string& s, size_t i)
{
    return static_cast<std::uint8_t>(s[i]);
}

/// Libraries with known first names for the defaults; restored empty afterwards.
class LibraryFixture : public ::testing::Test
{
protected:
    void TearDown() override
    {
        BackPatterns.Clear();
        BassPatterns.Clear();
        DrumPatterns.Clear();
    }
    static void Fill(TArrangeList& list, std::initializer_list<const char*> names)
    {
        list.Clear();
        for (const char* n : names)
        {
            list.Names.emplace_back(n);
            list.FileNames.emplace_back(std::string("/p/") + n);
        }
    }
};

using MupropTest = LibraryFixture;
using ProjectFileTest = LibraryFixture;
} // namespace

TEST_F(MupropTest, ResetTakesTrackTableAndFirstPatternNames)
{
    Fill(BackPatterns, {"Pop", "Balada", QuarterNoteArpeggioUtf8});
    Fill(BassPatterns, {"Bajo Pop"});
    Fill(DrumPatterns, {"Bateria Pop", "Rock"});
    TMuprop p;
    EXPECT_EQ(p.Scale, 0);
    EXPECT_EQ(p.Key, 0);
    EXPECT_EQ(p.Tempo, 120);
    EXPECT_EQ(p.Use7th + p.AltSnare + p.OctaveUp, 0);
    EXPECT_EQ(p.GetPatternName(0), "Pop");
    EXPECT_EQ(p.GetPatternName(1), QuarterNoteArpeggioUtf8);
    EXPECT_EQ(p.GetPatternName(2), "Bajo Pop");
    EXPECT_EQ(p.GetPatternName(3), "Bateria Pop");
    const int expected[5][5] = {{68, 100, 64, 40, 20},
                                {16, 80, 32, 40, 20},
                                {4, 80, 96, 40, 20},
                                {34, 100, 64, 20, 20},
                                {0, 100, 64, 40, 0}};
    for (int i = 0; i < 5; ++i)
    {
        const TTrackSetting& t = p.GetTrack(i);
        EXPECT_EQ(t.Instrument, expected[i][0]);
        EXPECT_EQ(t.Volume, expected[i][1]);
        EXPECT_EQ(t.Pan, expected[i][2]);
        EXPECT_EQ(t.Reverb, expected[i][3]);
        EXPECT_EQ(t.Chorus, expected[i][4]);
    }
    // Reset leaves the three flags alone.
    p.Use7th = 1;
    p.Key = 5;
    p.Reset();
    EXPECT_EQ(p.Use7th, 1);
    EXPECT_EQ(p.Key, 0);
}

TEST_F(MupropTest, ArpeggioDefaultInShiftJisAndWithoutIt)
{
    Fill(BackPatterns, {"Pop", QuarterNoteArpeggioShiftJis});
    TMuprop withSjis;
    EXPECT_EQ(withSjis.GetPatternName(1), QuarterNoteArpeggioShiftJis);
    Fill(BackPatterns, {"Pop", "Balada"});
    TMuprop without;
    EXPECT_EQ(without.GetPatternName(0), "Pop");
    EXPECT_EQ(without.GetPatternName(1), "Pop");
    BackPatterns.Clear();
    TMuprop empty;
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(empty.GetPatternName(i), "");
}

TEST_F(MupropTest, EmitTrackSetupSendsOnlyWhatChanged)
{
    TMuprop p;
    TMidiData midi;
    p.EmitTrackSetup(midi, 0, nullptr);
    ASSERT_EQ(midi.TrackCount(), 5);
    int events = 0;
    for (int t = 0; t < 5; ++t)
        events += midi.GetTrack(t)->Count();
    EXPECT_EQ(events, 26);
    // Track 0: tempo first, then program, volume, pan, reverb, chorus.
    const TMidiTrack& t0 = *midi.GetTrack(0);
    EXPECT_EQ(t0.Get(0)->Data, (std::vector<std::uint8_t>{0xFF, 0x51, 0x07, 0xA1, 0x20}));
    EXPECT_EQ(t0.Get(1)->Data, (std::vector<std::uint8_t>{0xC0, 68}));
    EXPECT_EQ(t0.Get(2)->Data, (std::vector<std::uint8_t>{0xB0, 7, 100}));
    EXPECT_EQ(t0.Get(5)->Data, (std::vector<std::uint8_t>{0xB0, 93, 20}));
    // The drums go to channel 9 with the kit's program.
    EXPECT_EQ(midi.GetTrack(4)->Get(0)->Data, (std::vector<std::uint8_t>{0xC9, 0}));

    TMuprop same;
    TMidiData none;
    p.EmitTrackSetup(none, 1536, &same);
    for (int t = 0; t < none.TrackCount(); ++t)
        EXPECT_EQ(none.GetTrack(t)->Count(), 0);

    TMuprop faster;
    faster.Tempo = 300;
    TMidiData one;
    faster.EmitTrackSetup(one, 1536, &same);
    ASSERT_EQ(one.GetTrack(0)->Count(), 1);
    EXPECT_EQ(one.GetTrack(0)->Get(0)->Time, 1536);
    EXPECT_EQ(one.GetTrack(0)->Get(0)->Data,
              (std::vector<std::uint8_t>{0xFF, 0x51, 0x03, 0x0D, 0x40}));
}

TEST_F(MupropTest, DrumKitsAndOutOfRangeValuesGiveValidDataBytes)
{
    TMuprop p;
    p.GetTrack(4).Instrument = 9;
    TMidiData midi;
    p.EmitTrackSetup(midi, 0, nullptr);
    EXPECT_EQ(midi.GetTrack(4)->Get(0)->Data, (std::vector<std::uint8_t>{0xC9, 127}));

    // Values a file can hold (0..255) or a kit outside 0..9 never set bit 7 of a data byte.
    p.GetTrack(4).Instrument = 200;
    p.GetTrack(1).Instrument = 255;
    p.GetTrack(2).Volume = 200;
    p.GetTrack(3).Pan = -5;
    TMidiData clamped;
    p.EmitTrackSetup(clamped, 0, nullptr);
    EXPECT_EQ(clamped.GetTrack(4)->Get(0)->Data, (std::vector<std::uint8_t>{0xC9, 0}));
    EXPECT_EQ(clamped.GetTrack(1)->Get(0)->Data, (std::vector<std::uint8_t>{0xC1, 127}));
    EXPECT_EQ(clamped.GetTrack(2)->Get(1)->Data, (std::vector<std::uint8_t>{0xB2, 7, 127}));
    EXPECT_EQ(clamped.GetTrack(3)->Get(2)->Data, (std::vector<std::uint8_t>{0xB3, 10, 0}));
}

TEST_F(ProjectFileTest, NewSongIs1296BytesWithKnownLayout)
{
    TMusicProject song;
    const std::string bytes = ToBytes(song);
    ASSERT_EQ(bytes.size(), 1296u);
    EXPECT_EQ(bytes.substr(0, 8), "LYRV1999");
    EXPECT_EQ(GetInt32LE(reinterpret_cast<const std::uint8_t*>(bytes.data()) + 8), 1);
    EXPECT_EQ(GetInt32LE(reinterpret_cast<const std::uint8_t*>(bytes.data()) + 12), 2);
    EXPECT_EQ(At(bytes, 208), 1);
    EXPECT_EQ(At(bytes, 209), 2);
    for (size_t i = 16; i < 208; ++i)
        ASSERT_EQ(At(bytes, i), 0) << i;
    for (size_t i = 210; i < 400; ++i)
        ASSERT_EQ(At(bytes, i), 0) << i;

    // Property record at 400: version, tempo 120 at +12, track blocks from +65.
    const size_t p = 400;
    EXPECT_EQ(At(bytes, p), 1);
    EXPECT_EQ(At(bytes, p + 12), 120);
    EXPECT_EQ(At(bytes, p + 64), 0);
    EXPECT_EQ(At(bytes, p + 65), 68);
    EXPECT_EQ(At(bytes, p + 66), 100);
    EXPECT_EQ(At(bytes, p + 73), 16);
    EXPECT_EQ(At(bytes, p + 97 + 1), 100);
    EXPECT_EQ(At(bytes, p + 97 + 5), 0);

    // Unit record at 1040: chords at +64, rhythm at +96.
    const size_t u = 1040;
    const std::uint8_t chords[16] = {1, 1, 1, 1, 4, 4, 4, 4, 5, 5, 5, 5, 1, 1, 1, 1};
    for (size_t i = 0; i < 16; ++i)
        EXPECT_EQ(At(bytes, u + 64 + i), chords[i]) << i;
    for (size_t i = 0; i < 32; ++i)
        EXPECT_EQ(bytes[u + 96 + i], '.') << i;
}

TEST_F(ProjectFileTest, RoundTripKeepsEverythingButLocks)
{
    TMusicProject song;
    TMuprop* p = song.PropertyAt(0);
    p->Scale = 1;
    p->Key = -7;
    p->Tempo = 250;
    p->Use7th = 1;
    p->OctaveUp = 1;
    p->GetTrack(2).Chorus = 127;
    const std::string name63(63, 'n');
    p->SetPatternName(0, name63);
    p->SetPatternName(3, "None");
    TMunit* u = song.UnitAt(1);
    u->SetBarRhythm(0, "*-*-*---");
    u->SetMelody(0, 2, -12);
    u->Cadence = 1;
    u->SetLock(2, 1);
    song.Items.Add(std::make_unique<TMunit>());

    TMusicProject copy;
    copy.Assign(song);
    EXPECT_EQ(ToBytes(copy), ToBytes(song));
    ASSERT_EQ(copy.Count(), 3);
    EXPECT_EQ(copy.PropertyAt(0)->GetPatternName(0), name63);
    EXPECT_EQ(copy.PropertyAt(0)->Key, -7);
    EXPECT_EQ(copy.UnitAt(1)->GetMelody(0, 2), -12);
    EXPECT_EQ(copy.UnitAt(1)->GetLock(2), 0);
    EXPECT_EQ(copy.UnitAt(1)->Property, nullptr);
}

TEST_F(ProjectFileTest, LongNamesAreCutToFitTheirField)
{
    TMusicProject song;
    song.PropertyAt(0)->SetPatternName(1, std::string(80, 'x'));
    const std::string bytes = ToBytes(song);
    EXPECT_EQ(bytes.size(), 1296u);
    TMusicProject back;
    FromBytes(bytes, back);
    EXPECT_EQ(back.PropertyAt(0)->GetPatternName(1), std::string(63, 'x'));
    EXPECT_EQ(back.PropertyAt(0)->GetPatternName(2), song.PropertyAt(0)->GetPatternName(2));
}

TEST_F(ProjectFileTest, HeaderViolationsAreRefusedAndLeaveTheSongAsItWas)
{
    TMusicProject good;
    const std::string bytes = ToBytes(good);

    TMusicProject live;
    live.Items.Add(std::make_unique<TMunit>());
    const std::string before = ToBytes(live);

    auto refused = [&](std::string bad)
    {
        EXPECT_THROW(FromBytes(bad, live), EReadError);
        EXPECT_EQ(ToBytes(live), before);
    };
    std::string magic = bytes;
    magic[7] = '8';
    refused(magic);
    std::string version = bytes;
    version[8] = 2;
    refused(version);
    for (int count : {0, 51, -1})
    {
        std::string c = bytes;
        PutInt32LE(reinterpret_cast<std::uint8_t*>(c.data()) + 12, count);
        refused(c);
    }
    refused(bytes.substr(0, 399));
    refused(bytes.substr(0, 1295)); // the last record is cut short
    std::string propertyVersion = bytes;
    propertyVersion[400] = 7;
    refused(propertyVersion);
    std::string dims = bytes;
    dims[1040 + 12] = 8; // 2, 4, 8
    refused(dims);
    // Entry 0 must be a property set: a file of units only is refused.
    std::string unitOnly = bytes.substr(0, 400) + bytes.substr(1040);
    PutInt32LE(reinterpret_cast<std::uint8_t*>(unitOnly.data()) + 12, 1);
    unitOnly[208] = 2;
    unitOnly[209] = 0;
    refused(unitOnly);
    // Every kind byte skipped: nothing at all to take.
    std::string skipped = bytes;
    skipped[208] = 0;
    skipped[209] = 9;
    refused(skipped);
}

TEST_F(ProjectFileTest, CountFiftyAcceptedAndUnknownKindsSkipped)
{
    TMusicProject song;
    while (song.Count() < 50)
        song.Items.Add(std::make_unique<TMunit>());
    const std::string fifty = ToBytes(song);
    TMusicProject back;
    FromBytes(fifty, back);
    EXPECT_EQ(back.Count(), 50);

    // Kind 3 at entry 1 consumes no record: the unit record is read for entry 2's kind.
    TMusicProject two;
    std::string bytes = ToBytes(two);
    PutInt32LE(reinterpret_cast<std::uint8_t*>(bytes.data()) + 12, 3);
    bytes[209] = 3;
    bytes[210] = 2;
    FromBytes(bytes, back);
    ASSERT_EQ(back.Count(), 2);
    EXPECT_NE(back.UnitAt(1), nullptr);

    // A later property set is kept and governs the units after it.
    TMusicProject mixed;
    mixed.Items.Add(std::make_unique<TMuprop>());
    mixed.Items.Add(std::make_unique<TMunit>());
    mixed.PropertyAt(2)->Tempo = 90;
    FromBytes(ToBytes(mixed), back);
    back.AttachProperties();
    EXPECT_EQ(back.UnitAt(1)->Property, back.PropertyAt(0));
    EXPECT_EQ(back.UnitAt(3)->Property, back.PropertyAt(2));
    EXPECT_EQ(back.GoverningProperty(3)->Tempo, 90);

    // More than the file can hold is never written.
    song.Items.Add(std::make_unique<TMunit>());
    std::ostringstream out;
    EXPECT_THROW(song.SaveToStream(out), EWriteError);
}

TEST_F(ProjectFileTest, ScaleAndFlagsReadAsLowBytes)
{
    TMusicProject song;
    std::string bytes = ToBytes(song);
    PutInt32LE(reinterpret_cast<std::uint8_t*>(bytes.data()) + 400 + 4, 0x105);  // low byte 5
    PutInt32LE(reinterpret_cast<std::uint8_t*>(bytes.data()) + 400 + 16, 0x100); // low byte 0
    TMusicProject back;
    FromBytes(bytes, back);
    EXPECT_EQ(back.PropertyAt(0)->Scale, 1);
    EXPECT_EQ(back.PropertyAt(0)->Use7th, 0);
}

TEST_F(ProjectFileTest, FilesAreWrittenWholeOrNotAtAll)
{
    namespace fs = std::filesystem;
    const fs::path dir =
        fs::temp_directory_path() / ("lyravane-project-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / "song.lvp").string();

    TMusicProject song;
    song.SaveToFile(path);
    TMusicProject back;
    back.LoadFromFile(path);
    EXPECT_EQ(ToBytes(back), ToBytes(song));

    // A failed save leaves the old file as it was.
    while (song.Count() <= 50)
        song.Items.Add(std::make_unique<TMunit>());
    EXPECT_THROW(song.SaveToFile(path), ELyravaneError);
    EXPECT_EQ(fs::file_size(path), 1296u);
    EXPECT_THROW(back.SaveToFile(dir.string()), EFCreateError); // a directory in the way
    EXPECT_THROW(back.LoadFromFile((dir / "missing.lvp").string()), EFOpenError);
    EXPECT_THROW(back.LoadFromFile(dir.string()), EFOpenError);
    size_t leftovers = 0;
    for (const auto& entry : fs::directory_iterator(dir))
        leftovers += entry.path().filename() != "song.lvp";
    EXPECT_EQ(leftovers, 0u);
    fs::remove_all(dir);
}
