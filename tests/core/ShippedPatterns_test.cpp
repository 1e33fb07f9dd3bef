#include "midi/ArrangeList.h"
#include "midi/MidiData.h"
#include "midi/PatternCheck.h"
#include "model/Munit.h"
#include "model/Muprop.h"
#include "render/RenderUnit.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

// The shipped library, rendered the way songs use it: every pattern under every degree, in
// major and minor, in every key the property page offers.

namespace
{
class ShippedPatternsTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        LoadPatternLibraries(std::string(LYRAVANE_SOURCE_DIR) + "/data/PATTERN");
    }
    static void TearDownTestSuite()
    {
        BackPatterns.Clear();
        BassPatterns.Clear();
        DrumPatterns.Clear();
    }
};

/// Every note-on of the loaded pattern file with its key.
std::vector<int> PatternKeys(const std::string& file)
{
    TMidiData pattern;
    pattern.LoadFromFile(ResolvePatternFile(file));
    std::vector<int> keys;
    for (const auto& track : pattern.Tracks)
        for (const auto& e : *track)
            if ((e->Status() & 0xF0) == 0x90 && e->Data.size() == 3 && e->Data[2] > 0)
                keys.push_back(e->Data[1]);
    return keys;
}
} // namespace

TEST_F(ShippedPatternsTest, LibrariesHoldTheDefaultSongsPatterns)
{
    EXPECT_GE(BackPatterns.Count(), 40);
    EXPECT_GE(BassPatterns.Count(), 24);
    EXPECT_GE(DrumPatterns.Count(), 28);
    TMuprop defaults;
    EXPECT_EQ(defaults.GetPatternName(0), BackPatterns.Names[0]);
    EXPECT_EQ(defaults.GetPatternName(1), QuarterNoteArpeggioUtf8);
    EXPECT_EQ(defaults.GetPatternName(2), BassPatterns.Names[0]);
    EXPECT_EQ(defaults.GetPatternName(3), DrumPatterns.Names[0]);
}

TEST_F(ShippedPatternsTest, PitchedPatternsStayInMidiRangeUnderEveryChordAndKey)
{
    for (const TArrangeList* library : {&BackPatterns, &BassPatterns})
    {
        for (int i = 0; i < library->Count(); ++i)
        {
            const std::vector<int> keys = PatternKeys(library->FileNames[static_cast<size_t>(i)]);
            ASSERT_FALSE(keys.empty()) << library->Names[static_cast<size_t>(i)];
            for (int scale = 0; scale <= 1; ++scale)
                for (int degree = 1; degree <= 6; ++degree)
                    for (int key = -12; key <= 12; ++key)
                        for (int n : keys)
                        {
                            const int pitch = key + PatternNoteForChord(degree, scale, n);
                            ASSERT_TRUE(pitch >= 0 && pitch <= 127)
                                << library->Names[static_cast<size_t>(i)] << " note " << n
                                << " degree " << degree << " scale " << scale << " key " << key;
                        }
        }
    }
}

TEST_F(ShippedPatternsTest, EveryPatternRendersInEveryPartUnderAllDegrees)
{
    // Each slot takes each pattern of its library in turn; the other slots are silent.
    for (int slot = 0; slot < PatternSlotCount; ++slot)
    {
        const TArrangeList& library = PartLibrary(slot + 1);
        for (int i = 0; i < library.Count(); ++i)
        {
            for (int scale = 0; scale <= 1; ++scale)
            {
                TMuprop property;
                property.Scale = static_cast<std::uint8_t>(scale);
                property.Use7th = static_cast<std::uint8_t>(scale); // both bar sets in turn
                for (int s = 0; s < PatternSlotCount; ++s)
                    property.SetPatternName(s, "None");
                property.SetPatternName(slot, library.Names[static_cast<size_t>(i)]);
                TMunit unit;
                unit.SetProperty(&property);
                unit.Fill = 1;
                // Degrees I..VI, then I..II: two changes per bar, every degree on every beat.
                for (int k = 0; k < 16; ++k)
                    unit.Chords[static_cast<size_t>(k)] =
                        static_cast<std::uint8_t>(1 + (k / 2) % 6);
                TMidiData midi;
                ASSERT_NO_THROW(RenderToMidi(unit, midi, 0))
                    << library.Names[static_cast<size_t>(i)];
                int notes = 0;
                for (const auto& e : *midi.GetTrack(slot + 1))
                {
                    if ((e->Status() & 0xF0) != 0x90)
                        continue;
                    ++notes;
                    EXPECT_GT(e->Duration, 0);
                    EXPECT_LE(e->Time + e->Duration, 4 * 1536);
                }
                EXPECT_GT(notes, 0) << library.Names[static_cast<size_t>(i)];
                for (int t = 0; t < midi.TrackCount(); ++t)
                {
                    if (t != slot + 1)
                    {
                        EXPECT_EQ(midi.GetTrack(t)->Count(), 0);
                    }
                }
            }
        }
    }
}

TEST_F(ShippedPatternsTest, EveryShippedPatternPassesTheCheckOfAUsersFile)
{
    // What "Añadir patrón" asks of a user's file, the library itself keeps.
    for (TPatternKind kind : {TPatternKind::Back, TPatternKind::Bass, TPatternKind::Drum})
    {
        const TArrangeList& library = PatternLibrary(kind);
        for (int i = 0; i < library.Count(); ++i)
        {
            TMidiData pattern;
            pattern.LoadFromFile(ResolvePatternFile(library.FileNames[static_cast<size_t>(i)]));
            const TPatternCheck check = CheckPattern(pattern, kind);
            EXPECT_TRUE(check.Usable()) << check.Report();
        }
    }
}
