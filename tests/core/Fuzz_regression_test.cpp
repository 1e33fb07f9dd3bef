// Inputs the fuzz targets in tests/fuzz found breaking a reader, each cut down to what
// matters. The whole inputs are kept as regress-* files in tests/fuzz/corpus, which the
// fuzz_replay_* tests run through the targets.

#include "base/Exceptions.h"
#include "midi/ArrangeList.h"
#include "midi/MidiData.h"
#include "model/Munit.h"
#include "model/Muprop.h"
#include "render/RenderUnit.h"

#include "SmfBytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace
{
std::string OneTrackFile(const std::string& events)
{
    return Header(1, 1, 384) + Chunk(events + EndOfTrack);
}

/// Every note of the track lies in 0..127 and has the pitch class of the unfolded pitch the
/// caller expected, in the octave nearest the side it came from.
void ExpectFolded(const TMidiData& midi, int track, const std::vector<std::int64_t>& pitches)
{
    const TMidiTrack& events = *midi.GetTrack(track);
    std::vector<std::int64_t> wanted = pitches;
    for (const auto& event : events)
    {
        if ((event->Status() & 0xF0) != 0x90)
            continue;
        const int note = event->Data[1];
        ASSERT_FALSE(wanted.empty());
        const std::int64_t pitch = wanted.front();
        wanted.erase(wanted.begin());
        EXPECT_GE(note, 0);
        EXPECT_LE(note, 127);
        EXPECT_EQ(((pitch - note) % 12 + 12) % 12, 0) << "pitch " << pitch << " sounded " << note;
        if (pitch > 127)
        {
            EXPECT_GE(note, 116);
        }
        if (pitch < 0)
        {
            EXPECT_LE(note, 11);
        }
    }
    EXPECT_TRUE(wanted.empty());
}

/// A pattern name as a song stores it and reads it back.
std::string ThroughPropertyRecord(const std::string& name)
{
    TMuprop property;
    property.SetPatternName(0, name);
    std::stringstream record(std::ios::in | std::ios::out | std::ios::binary);
    property.WriteToStream(record);
    TMuprop back;
    back.ReadFromStream(record);
    return back.GetPatternName(0);
}
} // namespace

// fuzz_midi: a byte with bit 7 set where a data byte belongs was stored as data. A pattern
// holding one passed it on to every song exported with it, as a status byte in the middle
// of a message, so the written file broke in other programs.
TEST(FuzzRegressionTest, AStatusByteWhereADataByteBelongsIsAnInvalidFile)
{
    const std::string brokenEvents[] = {
        Bytes({0x00, 0x90, 0x85, 0x40}),                   // note-on, key 0x85
        Bytes({0x00, 0x90, 0x3C, 0xC0}),                   // note-on, velocity 0xC0
        Bytes({0x00, 0xB0, 0x07, 0x90}),                   // controller value 0x90
        Bytes({0x00, 0xE0, 0x00, 0xFF}),                   // pitch bend
        Bytes({0x00, 0x90, 0x3C, 0x40, 0x00, 0x3E, 0x80}), // running status, second byte
    };
    for (const std::string& events : brokenEvents)
    {
        TMidiData midi;
        EXPECT_THROW(midi.LoadFromString(OneTrackFile(events)), EInvalidMidiFile);
    }

    // Program change and channel pressure have one data byte: the byte after it is the
    // next delta time, which may have bit 7 set.
    TMidiData midi;
    midi.LoadFromString(OneTrackFile(Bytes({0x00, 0xC0, 0x05, 0x81, 0x00, 0xD0, 0x7F})));
    ASSERT_EQ(midi.GetTrack(0)->Count(), 2);
    EXPECT_EQ(midi.GetTrack(0)->Get(1)->Time, 128);
}

// fuzz_index: a zero byte inside a display name was kept, but the project file stores the
// name only up to its zero byte, so a song that chose the pattern found another one, or
// none, when it was opened again.
TEST(FuzzRegressionTest, AZeroByteEndsTheLineOfAnIndexFile)
{
    static const char text[] = "A.MID|Pop\0 junk\r\nB\0.MID|Rock\nC.MID|Jazz";
    TArrangeList list;
    list.LoadIndexText(std::string(text, sizeof text - 1), "/p");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Names[0], "Pop");
    EXPECT_EQ(list.FileNames[0], "/p/A.MID");
    // The zero byte comes before the bar: the line names neither a file nor a pattern.
    EXPECT_EQ(list.Names[1], "");
    EXPECT_FALSE(list.NamesPattern(1));
    EXPECT_EQ(list.Names[2], "Jazz");

    for (const std::string& name : list.Names)
        EXPECT_EQ(ThroughPropertyRecord(name), name);
}

// fuzz_render: a song file may hold any 32-bit Key. The reference pitch 60 + Key, and a
// pattern note moved by Key, overflowed an int near either end of the range (undefined
// behaviour) instead of being folded by octaves into 0..127 like every other pitch.
TEST(FuzzRegressionTest, AnExtremeKeyIsFoldedIntoTheMidiRange)
{
    constexpr std::int32_t Max = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t Min = std::numeric_limits<std::int32_t>::min();
    for (const std::int32_t key : {Max, Max - 70, Min, Min + 100})
    {
        TMuprop property;
        property.Key = key;
        property.OctaveUp = 1;
        for (int slot = 0; slot < PatternSlotCount; ++slot)
            property.SetPatternName(slot, "None");
        TMunit unit;
        unit.SetProperty(&property);
        unit.SetBarRhythm(0, "*---*---");
        unit.SetMelody(0, 0, -128);
        unit.SetMelody(0, 4, 127);
        unit.SetHarmonyVoice(1);

        TMidiData midi;
        RenderToMidi(unit, midi, 0);
        const std::int64_t reference = std::int64_t{72} + key;
        const int chord = unit.GetChord(0, 0);
        ExpectFolded(midi, 0,
                     {reference - 128, reference + HarmonyPitch(chord, 0, -128), reference + 127,
                      reference + HarmonyPitch(chord, 0, 127)});

        TMidiData pattern;
        pattern.AddNote(0, 0, 384, 1, 0, 100);
        pattern.AddNote(0, 0, 384, 1, 127, 100);
        TMidiData backing;
        RenderPatternBar(unit, backing, 1, 0, 0, 1, pattern, key, unit.Scale(), false, false);
        ExpectFolded(backing, 1,
                     {std::int64_t{key} + PatternNoteForChord(chord, 0, 0),
                      std::int64_t{key} + PatternNoteForChord(chord, 0, 127)});
    }
}
