#include "base/Exceptions.h"
#include "midi/MidiData.h"

#include "SmfBytes.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace
{
/// The body of the first track chunk of a file written with one track.
std::string FirstTrackBody(const std::string& file)
{
    EXPECT_GE(file.size(), 22u);
    EXPECT_EQ(file.substr(14, 4), "MTrk");
    return file.substr(22);
}

std::string SingleTrackFile(const TMidiData& midi)
{
    return FirstTrackBody(midi.SaveToString());
}

/// (time, duration, bytes) of every event of a list, for whole-list comparisons.
using TEventRow = std::tuple<std::int32_t, std::int32_t, std::vector<std::uint8_t>>;
std::vector<TEventRow> Rows(const TMidiTrack& track)
{
    std::vector<TEventRow> rows;
    for (const auto& e : track)
        rows.emplace_back(e->Time, e->Duration, e->Data);
    return rows;
}

void ExpectInvalid(const std::string& bytes)
{
    TMidiData midi;
    EXPECT_THROW(midi.LoadFromString(bytes), EInvalidMidiFile);
}
} // namespace

// --- Event list ------------------------------------------------------------------------

TEST(MidiDataTest, InsertEventKeepsTimeOrderAndAddingOrderAtEqualTicks)
{
    TMidiData midi;
    int marker = 0;
    for (std::int32_t time : {10, 5, 10, 0, 5, -3})
        midi.InsertEvent(2, time)->Data = {static_cast<std::uint8_t>(marker++)};
    ASSERT_EQ(midi.TrackCount(), 3);
    EXPECT_EQ(midi.GetTrack(0)->Count(), 0);

    std::vector<std::pair<std::int32_t, int>> order;
    for (const auto& e : *midi.GetTrack(2))
        order.emplace_back(e->Time, e->Data[0]);
    const std::vector<std::pair<std::int32_t, int>> expected = {{-3, 5}, {0, 3},  {5, 1},
                                                                {5, 4},  {10, 0}, {10, 2}};
    EXPECT_EQ(order, expected);

    midi.SetTrackCount(1);
    EXPECT_EQ(midi.TrackCount(), 1);
    midi.SetTrackCount(4);
    EXPECT_EQ(midi.TrackCount(), 4);
    EXPECT_EQ(midi.GetTrack(3)->Count(), 0);
}

TEST(MidiDataTest, InsertEventsPlacesEventsAsInsertingThemOneByOneWould)
{
    // A track already holding events at and after the new ones' ticks, and new events out
    // of order with ties among themselves and with the old ones.
    const std::vector<std::int32_t> old = {0, 4, 4, 9};
    const std::vector<std::int32_t> added = {9, 4, 2, 4, 12, 2, 9};
    TMidiData oneByOne;
    TMidiData atOnce;
    int marker = 0;
    for (std::int32_t time : old)
    {
        oneByOne.InsertEvent(0, time)->Data = {static_cast<std::uint8_t>(marker)};
        atOnce.InsertEvent(0, time)->Data = {static_cast<std::uint8_t>(marker++)};
    }
    std::vector<std::unique_ptr<TMidiEvent>> events;
    for (std::int32_t time : added)
    {
        oneByOne.InsertEvent(0, time)->Data = {static_cast<std::uint8_t>(marker)};
        events.push_back(std::make_unique<TMidiEvent>(time, 0));
        events.back()->Data = {static_cast<std::uint8_t>(marker++)};
    }
    atOnce.InsertEvents(0, std::move(events));
    ASSERT_EQ(atOnce.GetTrack(0)->Count(), oneByOne.GetTrack(0)->Count());
    for (int i = 0; i < atOnce.GetTrack(0)->Count(); ++i)
        EXPECT_EQ(atOnce.GetTrack(0)->Get(i)->Data, oneByOne.GetTrack(0)->Get(i)->Data) << i;
}

TEST(MidiDataTest, AddersClampEveryDataByteIntoRange)
{
    TMidiData midi;
    midi.AddNote(0, 0, 10, 17, 130, 200);
    midi.AddNote(0, 0, 10, 9, -5, -3);
    midi.AddControlChange(0, 0, 3, 300, -1);
    midi.AddProgramChange(0, 0, 2, 0);
    midi.AddProgramChange(0, 0, 2, 1);
    midi.AddProgramChange(0, 0, 2, 128);
    midi.AddProgramChange(0, 0, 2, 999);
    const std::vector<std::vector<std::uint8_t>> expected = {
        {0x91, 118, 127}, {0x99, 7, 0}, {0xB3, 127, 0}, {0xC2, 0},
        {0xC2, 0},        {0xC2, 127},  {0xC2, 127}};
    std::vector<std::vector<std::uint8_t>> data;
    for (const auto& e : *midi.GetTrack(0))
        data.push_back(e->Data);
    EXPECT_EQ(data, expected);
    EXPECT_EQ(midi.GetTrack(0)->Get(0)->Duration, 10);
}

TEST(MidiDataTest, FoldNoteMovesByWholeOctavesNeverModulo128)
{
    EXPECT_EQ(FoldNoteIntoRange(0), 0);
    EXPECT_EQ(FoldNoteIntoRange(127), 127);
    EXPECT_EQ(FoldNoteIntoRange(128), 116);
    EXPECT_EQ(FoldNoteIntoRange(139), 127);
    EXPECT_EQ(FoldNoteIntoRange(140), 116);
    EXPECT_EQ(FoldNoteIntoRange(-1), 11);
    EXPECT_EQ(FoldNoteIntoRange(-12), 0);
    EXPECT_EQ(FoldNoteIntoRange(-13), 11);
    for (int note : {INT_MIN, INT_MIN + 7, -1000, 1000, INT_MAX - 3, INT_MAX})
    {
        const int folded = FoldNoteIntoRange(note);
        EXPECT_GE(folded, 0) << note;
        EXPECT_LE(folded, 127) << note;
        EXPECT_EQ((static_cast<long long>(note) - folded) % 12, 0) << note;
        // The nearest octave: one more step would leave the range.
        EXPECT_TRUE(folded + 12 > 127 || note < 0) << note;
        EXPECT_TRUE(folded - 12 < 0 || note > 127) << note;
    }
}

// --- Writer ----------------------------------------------------------------------------

TEST(MidiWriterTest, TempoSingleTrackFileIsExact)
{
    TMidiData midi;
    midi.AddTempo(0, 0, 120);
    const std::string body = Bytes({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}) + EndOfTrack;
    EXPECT_EQ(midi.SaveToString(), Header(1, 1, 384) + Chunk(body));
}

TEST(MidiWriterTest, TempoIsClampedSoItFitsThreeBytes)
{
    for (auto [bpm, b1, b2, b3] :
         {std::tuple{300, 0x03, 0x0D, 0x40}, std::tuple{0, 0xE4, 0xE1, 0xC0},
          std::tuple{-50, 0xE4, 0xE1, 0xC0}, std::tuple{70000000, 0x00, 0x00, 0x01}})
    {
        TMidiData midi;
        midi.AddTempo(0, 0, bpm);
        EXPECT_EQ(SingleTrackFile(midi), Bytes({0x00, 0xFF, 0x51, 0x03, b1, b2, b3}) + EndOfTrack)
            << bpm;
    }
}

TEST(MidiWriterTest, EmptyTracksAndNoTracks)
{
    TMidiData none;
    EXPECT_EQ(none.SaveToString(), Header(1, 1, 384) + "MTrk" + UInt32(0));

    TMidiData two;
    two.SetTrackCount(2);
    EXPECT_EQ(two.SaveToString(), Header(1, 2, 384) + Chunk(EndOfTrack) + Chunk(EndOfTrack));
}

TEST(MidiWriterTest, DeltaTimesUseTheShortestVariableLengthForm)
{
    TMidiData midi;
    const std::int32_t big = (1 << 28) - 1;
    for (std::int32_t time : {0, 127, 255, 1791, 1791 + big})
        midi.AddControlChange(0, time, 0, 7, 1);
    const std::string cc = Bytes({0xB0, 0x07, 0x01});
    const std::string expected = Bytes({0x00}) + cc + Bytes({0x7F}) + cc + Bytes({0x81, 0x00}) +
                                 cc + Bytes({0x8C, 0x00}) + cc + Bytes({0xFF, 0xFF, 0xFF, 0x7F}) +
                                 cc + EndOfTrack;
    EXPECT_EQ(SingleTrackFile(midi), expected);

    // A gap beyond four groups is written as the largest four-byte delta, never longer.
    TMidiData far;
    far.AddControlChange(0, big + 5, 0, 7, 1);
    EXPECT_EQ(SingleTrackFile(far), Bytes({0xFF, 0xFF, 0xFF, 0x7F}) + cc + EndOfTrack);
}

TEST(MidiWriterTest, MetaAndSystemExclusiveCarryTheirLength)
{
    TMidiData midi;
    midi.AddGMSystemOn(0, 0);
    TMidiEvent* name = midi.InsertEvent(0, 0);
    name->Data = {0xFF, 0x03, 'B', 'a', 's', 's'};
    TMidiEvent* empty = midi.InsertEvent(0, 0);
    empty->Data = {0xFF, 0x7F};
    EXPECT_EQ(SingleTrackFile(midi),
              Bytes({0x00, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7, 0x00, 0xFF,
                     0x03, 0x04, 'B',  'a',  's',  's',  0x00, 0xFF, 0x7F, 0x00}) +
                  EndOfTrack);
}

TEST(MidiWriterTest, NoteOffPrecedesEverythingAtItsTickInAddingOrder)
{
    TMidiData midi;
    midi.AddNote(0, 0, 384, 0, 60, 100);
    midi.AddNote(0, 384, 384, 0, 60, 90);
    // Added after the note at 384 but at the same tick: follows it.
    midi.AddProgramChange(0, 384, 0, 5);
    // A negative length is a note of length 0, closed right after it is opened, never
    // before (that would leave it sounding).
    midi.AddNote(0, 800, -1, 1, 62, 80);
    const std::string expected = Bytes({0x00, 0x90, 60,   100,  0x83, 0x00, 0x80, 60,   0x00, 0x00,
                                        0x90, 60,   90,   0x00, 0xC0, 0x04, 0x83, 0x00, 0x80, 60,
                                        0x00, 0x20, 0x91, 62,   80,   0x00, 0x81, 62,   0x00}) +
                                 EndOfTrack;
    EXPECT_EQ(SingleTrackFile(midi), expected);
}

TEST(MidiWriterTest, NoteOffsOfOneTickFollowTheOrderOfTheirNoteOns)
{
    // Enough notes ending at the same few ticks that an unstable sort would mix them.
    TMidiData midi;
    for (int i = 0; i < 100; ++i)
    {
        const std::int32_t start = i * 7 % 500;
        const std::int32_t end = 1000 + (i % 3) * 100;
        midi.AddNote(0, start, end - start, 0, 20 + i, 64);
    }
    // Expected: per end tick, keys in list order of the note-ons.
    std::vector<std::pair<std::int64_t, int>> expected;
    for (std::int32_t end : {1000, 1100, 1200})
        for (const auto& e : *midi.GetTrack(0))
            if (e->Time + e->Duration == end)
                expected.emplace_back(end, e->Data[1]);

    const std::string body = SingleTrackFile(midi);
    std::vector<std::pair<std::int64_t, int>> offs;
    std::int64_t time = 0;
    for (std::size_t i = 0; i + 4 < body.size();)
    {
        std::int64_t delta = 0;
        std::uint8_t b;
        do
        {
            b = static_cast<std::uint8_t>(body[i++]);
            delta = (delta << 7) | (b & 0x7F);
        } while (b & 0x80);
        time += delta;
        const auto status = static_cast<std::uint8_t>(body[i]);
        if ((status & 0xF0) == 0x80)
            offs.emplace_back(time, static_cast<std::uint8_t>(body[i + 1]));
        i += 3;
    }
    EXPECT_EQ(offs, expected);
    // Writing twice gives the same bytes: the lists are not changed by saving.
    EXPECT_EQ(midi.SaveToString(), midi.SaveToString());
}

TEST(MidiWriterTest, SaveToFileWritesTheSameBytesAndLoadFromFileReadsThem)
{
    const std::string path =
        (std::filesystem::temp_directory_path() / "lyravane_midi_test.mid").string();
    TMidiData midi;
    midi.AddTempo(0, 0, 90);
    midi.AddNote(1, 0, 192, 0, 64, 100);
    midi.SaveToFile(path);

    TMidiData back;
    back.LoadFromFile(path);
    std::filesystem::remove(path);
    ASSERT_EQ(back.TrackCount(), 2);
    EXPECT_EQ(Rows(*back.GetTrack(0)), Rows(*midi.GetTrack(0)));
    EXPECT_EQ(Rows(*back.GetTrack(1)), Rows(*midi.GetTrack(1)));
    EXPECT_THROW(back.LoadFromFile(path), EFOpenError);
}

// --- Reader ----------------------------------------------------------------------------

TEST(MidiReaderTest, ReadsBackWhatTheWriterWrote)
{
    TMidiData midi;
    midi.AddGMSystemOn(0, 0);
    midi.AddTempo(0, 0, 120);
    midi.AddProgramChange(1, 0, 1, 33);
    midi.AddControlChange(1, 0, 1, 10, 40);
    midi.AddNote(1, 0, 384, 1, 40, 100);
    midi.AddNote(1, 384, 384, 1, 40, 100);
    midi.AddNote(1, 384, 1536, 1, 47, 90);
    midi.AddNote(3, 100, 50, 9, 36, 127);

    TMidiData back;
    back.AddNote(7, 0, 1, 0, 1, 1); // replaced by the load
    back.LoadFromString(midi.SaveToString());
    EXPECT_EQ(back.Format, 1);
    EXPECT_EQ(back.FileTrackCount, 4);
    EXPECT_EQ(back.FileDivision, 384);
    ASSERT_EQ(back.TrackCount(), 4);
    for (int t = 0; t < 4; ++t)
        EXPECT_EQ(Rows(*back.GetTrack(t)), Rows(*midi.GetTrack(t))) << "track " << t;
}

TEST(MidiReaderTest, BrokenFilesAreInvalidMidiFiles)
{
    const std::string note = Bytes({0x00, 0x90, 60, 100, 0x10, 0x80, 60, 0x00});
    const std::string good = Header(1, 1, 384) + Chunk(note + EndOfTrack);
    TMidiData ok;
    ok.LoadFromString(good);
    ASSERT_EQ(ok.GetTrack(0)->Count(), 1);
    EXPECT_EQ(ok.GetTrack(0)->Get(0)->Duration, 16);

    // Cut anywhere, the file breaks: header, chunk header, or inside the track.
    for (std::size_t size = 0; size < good.size(); ++size)
        ExpectInvalid(good.substr(0, size));

    std::string badMagic = good;
    badMagic[3] = 'x';
    ExpectInvalid(badMagic);
    std::string headerLength7 = good;
    headerLength7[7] = 7;
    ExpectInvalid(headerLength7);
    ExpectInvalid(Header(2, 1, 384) + Chunk(note + EndOfTrack));
    ExpectInvalid(Header(1, 1, 0) + Chunk(note + EndOfTrack));
    ExpectInvalid(Header(1, 1, 384) + "MTrx" + UInt32(4) + EndOfTrack);
    // A data byte before any status byte.
    ExpectInvalid(Header(1, 1, 384) + Chunk(Bytes({0x00, 60, 100}) + EndOfTrack));
    // Five groups in a delta time and in a meta length.
    ExpectInvalid(Header(1, 1, 384) +
                  Chunk(Bytes({0x80, 0x80, 0x80, 0x80, 0x00}) + note + EndOfTrack));
    ExpectInvalid(Header(1, 1, 384) +
                  Chunk(Bytes({0x00, 0xFF, 0x01, 0x80, 0x80, 0x80, 0x80, 0x01, 'x'}) + EndOfTrack));
    // Lengths beyond the end of the chunk or file: nothing may be allocated from them.
    ExpectInvalid(Header(1, 1, 384) + "MTrk" + UInt32(0xFFFFFFF0u) + note + EndOfTrack);
    ExpectInvalid(Header(1, 1, 384) +
                  Chunk(Bytes({0x00, 0xFF, 0x01, 0xFF, 0xFF, 0xFF, 0x7F}) + EndOfTrack));
    ExpectInvalid(Header(1, 1, 384) + Chunk(Bytes({0x00, 0xF0, 0x8F, 0xFF, 0xFF, 0x7F, 0x01})));
    // A track that ends without its end-of-track event, with more bytes in the file.
    ExpectInvalid(Header(1, 1, 384) + Chunk(note) + Chunk(EndOfTrack));
    // Two tracks counted, one present.
    ExpectInvalid(Header(1, 2, 384) + Chunk(note + EndOfTrack));
}

TEST(MidiReaderTest, TimesBeyondThirtyOneBitsAreInvalid)
{
    const std::string maxDelta = Bytes({0xFF, 0xFF, 0xFF, 0x7F, 0xB0, 0x07, 0x01});
    std::string seven; // 7 * (2^28 - 1): still below 2^31
    for (int i = 0; i < 7; ++i)
        seven += maxDelta;
    TMidiData midi;
    midi.LoadFromString(Header(1, 1, 384) + Chunk(seven + EndOfTrack));
    EXPECT_EQ(midi.GetTrack(0)->Get(6)->Time, 7 * ((1 << 28) - 1));
    // The ninth passes 2^31 - 1 in the file's ticks.
    ExpectInvalid(Header(1, 1, 384) + Chunk(seven + maxDelta + maxDelta + EndOfTrack));
    // 2^29 at 96 per quarter is fine in the file but 2^31 once rescaled.
    ExpectInvalid(Header(1, 1, 96) +
                  Chunk(maxDelta + maxDelta + Bytes({0x02, 0xB0, 0x07, 0x01}) + EndOfTrack));
    TMidiData scaled;
    scaled.LoadFromString(Header(1, 1, 96) + Chunk(maxDelta + maxDelta +
                                                   Bytes({0x01, 0xB0, 0x07, 0x01}) + EndOfTrack));
    EXPECT_EQ(scaled.GetTrack(0)->Get(2)->Time, INT_MAX - 3);
}

TEST(MidiReaderTest, ChunksAfterTheCountedTracksAreIgnored)
{
    TMidiData midi;
    midi.LoadFromString(Header(1, 1, 384) + Chunk(EndOfTrack) + "JUNK" + UInt32(1000) + "xx");
    EXPECT_EQ(midi.TrackCount(), 1);
    EXPECT_EQ(midi.GetTrack(0)->Count(), 0);
}

TEST(MidiReaderTest, FormatZeroSortsChannelsIntoSixteenLists)
{
    const std::string body = Bytes({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, // tempo
                                    0x00, 0x90, 60,   100,                    // channel 1, key 60
                                    0x00, 0x99, 60,   110,                    // channel 10, key 60
                                    0x00, 0xF0, 0x02, 0x01, 0xF7,             // sysex
                                    0x83, 0x00, 0x89, 60,   0x00,  // channel 10 off at 384
                                    0x83, 0x00, 0x80, 60,   0x00}) // channel 1 off at 768
                             + EndOfTrack;
    TMidiData midi;
    // A second chunk in a format 0 file is not part of the sequence.
    midi.LoadFromString(Header(0, 2, 384) + Chunk(body) +
                        Chunk(Bytes({0x00, 0x92, 1, 1}) + EndOfTrack));
    EXPECT_EQ(midi.Format, 0);
    ASSERT_EQ(midi.TrackCount(), 16);
    const std::vector<TEventRow> list0 = {{0, 0, {0xFF, 0x51, 0x07, 0xA1, 0x20}},
                                          {0, 768, {0x90, 60, 100}},
                                          {0, 0, {0xF0, 0x01, 0xF7}}};
    EXPECT_EQ(Rows(*midi.GetTrack(0)), list0);
    const std::vector<TEventRow> list9 = {{0, 384, {0x99, 60, 110}}};
    EXPECT_EQ(Rows(*midi.GetTrack(9)), list9);
    for (int t : {1, 2, 8, 15})
        EXPECT_EQ(midi.GetTrack(t)->Count(), 0);
}

TEST(MidiReaderTest, OtherDivisionsAreRescaledFromAbsoluteTime)
{
    TMidiData at96;
    at96.LoadFromString(
        Header(1, 1, 96) +
        Chunk(Bytes({0x60, 0x90, 60, 100, 0x30, 0x80, 60, 0, 0x01, 0xC0, 3}) + EndOfTrack));
    const std::vector<TEventRow> rows96 = {{384, 192, {0x90, 60, 100}}, {580, 0, {0xC0, 3}}};
    EXPECT_EQ(Rows(*at96.GetTrack(0)), rows96);

    // 1, 2, 3 ticks at 480 become 0, 1, 2: each time is truncated, not each delta.
    TMidiData at480;
    at480.LoadFromString(Header(1, 1, 480) +
                         Chunk(Bytes({0x01, 0x90, 60, 100, 0x01, 0x90, 62, 100, 0x01, 0x80, 60, 0,
                                      0x83, 0x5D, 0x80, 62, 0}) +
                               EndOfTrack));
    // 62 ends at 3 + 477 = 480 file ticks = 384.
    const std::vector<TEventRow> rows480 = {{0, 2, {0x90, 60, 100}}, {1, 383, {0x90, 62, 100}}};
    EXPECT_EQ(Rows(*at480.GetTrack(0)), rows480);
    EXPECT_EQ(at480.FileDivision, 480);
    EXPECT_EQ(at480.Division, 384);
}

TEST(MidiReaderTest, NoteOffsCloseTheOldestOpenNoteOfTheirKey)
{
    const std::string body = Bytes({0x00, 0x90, 60, 100,  // a
                                    0x0A, 0x91, 60, 100,  // b, another channel
                                    0x00, 0x90, 64, 100,  // c
                                    0x0A, 0x90, 60, 0,    // closes a (channel not compared)
                                    0x0A, 0x82, 60, 0,    // closes b
                                    0x0A, 0x80, 60, 0,    // nothing open: dropped
                                    0x00, 0x90, 67, 100}) // never closed
                             + EndOfTrack;
    TMidiData midi;
    midi.LoadFromString(Header(1, 1, 384) + Chunk(body));
    const std::vector<TEventRow> rows = {{0, 20, {0x90, 60, 100}},
                                         {10, 20, {0x91, 60, 100}},
                                         {10, -1, {0x90, 64, 100}},
                                         {40, -1, {0x90, 67, 100}}};
    EXPECT_EQ(Rows(*midi.GetTrack(0)), rows);
}

TEST(MidiReaderTest, RunningStatusSurvivesMetaAndSystemExclusive)
{
    const std::string body = Bytes({0x00, 0x90, 60, 100}) +
                             Bytes({0x00, 0xFF, 0x01, 0x02, 'h', 'i'}) + // text
                             Bytes({0x10, 60, 0}) +                      // off by running status
                             Bytes({0x00, 0xF0, 0x01, 0xF7}) +           // sysex
                             Bytes({0x00, 62, 90}) +                     // note-on again
                             Bytes({0x00, 0xC5, 7, 0x05, 8}) +           // one data byte each
                             Bytes({0x20, 0x80, 62, 0}) + EndOfTrack;
    TMidiData midi;
    midi.LoadFromString(Header(1, 1, 384) + Chunk(body));
    const std::vector<TEventRow> rows = {{0, 16, {0x90, 60, 100}}, {0, 0, {0xFF, 0x01, 'h', 'i'}},
                                         {16, 0, {0xF0, 0xF7}},    {16, 37, {0x90, 62, 90}},
                                         {16, 0, {0xC5, 7}},       {21, 0, {0xC5, 8}}};
    EXPECT_EQ(Rows(*midi.GetTrack(0)), rows);
}
