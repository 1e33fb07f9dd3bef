#include "base/Exceptions.h"
#include "base/ObjectList.h"
#include "base/Random.h"
#include "base/Text.h"

#include <gtest/gtest.h>

#include <memory>

TEST(RandomTest, AdvancesSeedAndScalesByHighBits)
{
    SetRandSeed(0);
    EXPECT_EQ(Random(10), 0u);
    EXPECT_EQ(GetRandSeed(), 1u);
    EXPECT_EQ(Random(10), 0u);
    EXPECT_EQ(GetRandSeed(), 134775814u);

    // A fixed stream: "compose --seed" must make the same song in every version of the
    // program. Each step is the range asked, the value and the seed after it.
    struct TStep
    {
        std::uint32_t Range, Value, Seed;
    };
    const TStep steps[] = {{100u, 96u, 4160191484u},
                           {100u, 20u, 866343917u},
                           {7u, 3u, 2231304098u},
                           {1000000u, 132240u, 567969323u},
                           {0xFFFFFFFFu, 3754609367u, 3754609368u},
                           {2u, 0u, 105731641u}};
    SetRandSeed(0xFFFFFFFFu);
    for (const TStep& step : steps)
    {
        EXPECT_EQ(Random(step.Range), step.Value) << "range " << step.Range;
        EXPECT_EQ(GetRandSeed(), step.Seed);
    }
}

TEST(RandomTest, ZeroRangeReturnsZeroAndStillAdvances)
{
    SetRandSeed(12345);
    EXPECT_EQ(Random(0), 0u);
    EXPECT_EQ(GetRandSeed(), 1655067934u);
}

TEST(RandomTest, SameSeedGivesSameStreamAndStaysInRange)
{
    SetRandSeed(777);
    std::vector<std::uint32_t> first;
    for (int i = 0; i < 1000; ++i)
        first.push_back(Random(7));
    SetRandSeed(777);
    for (int i = 0; i < 1000; ++i)
    {
        const std::uint32_t v = Random(7);
        EXPECT_EQ(v, first[static_cast<size_t>(i)]);
        EXPECT_LT(v, 7u);
    }
}

TEST(RandomTest, RandomizeSeedsWithAMillisecondOfTheDay)
{
    Randomize();
    EXPECT_LT(GetRandSeed(), 86400000u);
}

TEST(ObjectListTest, OrderedOwningListRaisesListErrorOutsideRange)
{
    TObjectList<int> list;
    EXPECT_EQ(list.Add(std::make_unique<int>(1)), 0);
    EXPECT_EQ(list.Add(std::make_unique<int>(3)), 1);
    list.Insert(1, std::make_unique<int>(2));
    list.Insert(3, std::make_unique<int>(4)); // at Count appends
    ASSERT_EQ(list.Count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(*list.Get(i), i + 1);
    list.Delete(0);
    EXPECT_EQ(*list.Get(0), 2);
    EXPECT_THROW(list.Get(3), EListError);
    EXPECT_THROW(list.Get(-1), EListError);
    EXPECT_THROW(list.Delete(3), EListError);
    EXPECT_THROW(list.Insert(5, std::make_unique<int>(0)), EListError);
    list.Sort([](int a, int b) { return a > b; });
    EXPECT_EQ(*list.Get(0), 4);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    try
    {
        list.Get(2);
        FAIL();
    }
    catch (const EListError& e)
    {
        EXPECT_STREQ(e.what(), "List index out of bounds (2)");
    }
}

TEST(TextTest, CutNameKeepsWholeCharactersWithinBytes)
{
    EXPECT_EQ(CutName(std::string(70, 'a')), std::string(63, 'a'));
    // 40 three-byte characters: 64 characters allowed, but 63 bytes hold 21.
    std::string kana;
    for (int i = 0; i < 40; ++i)
        kana += "\xE3\x81\x82";
    EXPECT_EQ(CutName(kana).size(), 63u);
    EXPECT_TRUE(IsValidUtf8(CutName(kana)));
    // Shift-JIS: 40 two-byte characters cut to 31 characters (62 bytes), never half a one.
    std::string sjis;
    for (int i = 0; i < 40; ++i)
        sjis += "\x83\x41";
    EXPECT_EQ(CutName(sjis).size(), 62u);
    // Counting is by characters first: 65 ASCII letters keep 63.
    EXPECT_EQ(CutName(std::string(65, 'b'), 64, 1000).size(), 64u);
}

TEST(TextTest, TrimAndCaseInsensitiveCompare)
{
    EXPECT_EQ(TrimBlanks(" \t name \r"), "name");
    EXPECT_EQ(TrimBlanks("   "), "");
    EXPECT_TRUE(SameTextIgnoringCase("Pop 8 Beat", "POP 8 beat"));
    EXPECT_FALSE(SameTextIgnoringCase("Pop", "Pops"));
    // The second byte of a Shift-JIS character is not a letter to fold: 0x83 0x61 vs 0x83 0x41.
    EXPECT_FALSE(SameTextIgnoringCase("\x83\x61\xff", "\x83\x41\xff"));
    EXPECT_FALSE(IsValidUtf8("\x83\x41"));
    EXPECT_TRUE(IsValidUtf8("4\xE5\x88\x86"));
}
