#include "ComposeTestUtil.h"

#include "compose/RandomSetting.h"
#include "model/Muprop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using composetest::Advanced;
using composetest::FindSeed;
using composetest::Peek;

namespace
{
// Lists of different lengths, so a slot drawing from the wrong list shows.
const TPatternChoices Choices = {{
    {"None", "Back A", "Back B"},
    {"None", "Back A", "Back B"},
    {"None", "Bass A", "Bass B", "Bass C", "Bass D"},
    {"None", "Drums A"},
}};

// Draw numbers (1-based): instruments 1-5, volumes 6-10 when no accompaniment volume is
// drawn again, pans 11-15, reverbs 16-20, choruses 21-24, patterns 25-28, options 29-31,
// scale 32, key 33, tempo 34.
constexpr int DrawsWithoutRedraw = 34;

bool AccompanimentVolumesFitAtOnce(std::uint32_t seed)
{
    const std::uint32_t melody = Peek(seed, 6, 40);
    return Peek(seed, 7, 40) <= melody + 20 && Peek(seed, 8, 40) <= melody + 20;
}

TMuprop RandomSet(std::uint32_t seed)
{
    TMuprop p;
    SetRandSeed(seed);
    RandomPropertySetting(p, Choices);
    return p;
}
} // namespace

TEST(RandomSettingTest, GuaranteesHoldOverManySeeds)
{
    std::set<int> keys;
    std::set<int> tempos;
    int minor = 0;
    const int runs = 5000;
    for (std::uint32_t seed = 0; seed < runs; ++seed)
    {
        const TMuprop p = RandomSet(seed * 2246822519u);
        const TTrackSetting& drums = p.GetTrack(4);
        ASSERT_TRUE(drums.Instrument >= 0 && drums.Instrument <= 9);
        ASSERT_NE(drums.Instrument, 7) << "orchestra kit";
        ASSERT_NE(drums.Instrument, 8) << "effects kit";
        ASSERT_EQ(drums.Chorus, 0);
        const int melodyVolume = p.GetTrack(0).Volume;
        ASSERT_LE(p.GetTrack(1).Volume, melodyVolume - 10);
        ASSERT_LE(p.GetTrack(2).Volume, melodyVolume - 10);
        ASSERT_GE(p.GetTrack(1).Volume, 50);
        for (int t = 0; t < 4; ++t)
        {
            ASSERT_GE(p.GetTrack(t).Instrument, 0);
            ASSERT_LE(p.GetTrack(t).Instrument, 127);
        }
        ASSERT_LT(p.GetTrack(1).Pan, 64);
        ASSERT_GE(p.GetTrack(2).Pan, 64);
        ASSERT_LE(p.GetTrack(2).Pan, 127);
        ASSERT_GE(p.Key, -11);
        ASSERT_LE(p.Key, 11);
        ASSERT_GE(p.Tempo, 80);
        ASSERT_LE(p.Tempo, 179);
        ASSERT_LE(p.Scale, 1);
        for (std::size_t slot = 0; slot < Choices.size(); ++slot)
        {
            const auto& items = Choices[slot];
            ASSERT_NE(std::find(items.begin(), items.end(), p.PatternNames[slot]), items.end());
        }
        keys.insert(p.Key);
        tempos.insert(p.Tempo);
        minor += p.Scale;
    }
    EXPECT_EQ(keys.size(), 23u);
    EXPECT_EQ(*tempos.begin(), 80);
    EXPECT_EQ(*tempos.rbegin(), 179);
    EXPECT_GT(minor, runs / 4);
    EXPECT_LT(minor, runs * 35 / 100);
}

TEST(RandomSettingTest, DrawsInFixedOrderEndingWithKeyAndTempo)
{
    const std::uint32_t seed = FindSeed(AccompanimentVolumesFitAtOnce);
    ASSERT_NE(seed, 0xFFFFFFFFu);
    const TMuprop p = RandomSet(seed);
    EXPECT_EQ(GetRandSeed(), Advanced(seed, DrawsWithoutRedraw));
    EXPECT_EQ(p.GetTrack(0).Volume, 80 + static_cast<int>(Peek(seed, 6, 40)));
    EXPECT_EQ(p.GetTrack(1).Volume, 50 + static_cast<int>(Peek(seed, 7, 40)));
    for (std::size_t slot = 0; slot < Choices.size(); ++slot)
    {
        const auto& items = Choices[slot];
        const int k = 25 + static_cast<int>(slot);
        EXPECT_EQ(p.PatternNames[slot],
                  items[Peek(seed, k, static_cast<std::uint32_t>(items.size()))]);
    }
    EXPECT_EQ(p.Key, -11 + static_cast<int>(Peek(seed, 33, 23)));
    EXPECT_EQ(p.Tempo, 80 + static_cast<int>(Peek(seed, 34, 100)));
}

TEST(RandomSettingTest, TooLoudAccompanimentIsDrawnAgain)
{
    // The first accompaniment draw is too loud for the melody; the second fits.
    const std::uint32_t seed = FindSeed(
        [](std::uint32_t s)
        {
            const std::uint32_t melody = Peek(s, 6, 40);
            return Peek(s, 7, 40) > melody + 20 && Peek(s, 8, 40) <= melody + 20 &&
                   Peek(s, 9, 40) <= melody + 20;
        });
    ASSERT_NE(seed, 0xFFFFFFFFu);
    const TMuprop p = RandomSet(seed);
    EXPECT_EQ(p.GetTrack(1).Volume, 50 + static_cast<int>(Peek(seed, 8, 40)));
    EXPECT_EQ(p.GetTrack(2).Volume, 50 + static_cast<int>(Peek(seed, 9, 40)));
    EXPECT_EQ(GetRandSeed(), Advanced(seed, DrawsWithoutRedraw + 1));
}
