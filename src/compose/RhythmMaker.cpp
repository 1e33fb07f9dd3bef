#include "compose/RhythmMaker.h"

#include "base/Random.h"
#include "model/Munit.h"
#include "model/MusicFunctions.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace
{
constexpr std::array<const char*, 16> NormalHalfBars = {
    "*---", "*---", "*---", "*---", "*---", "*---", "*---", "*---",
    "*-*-", "*-*-", "*-*-", "*-*-", "*-*-", "*-*-", "*-*-", "*-*-",
};

constexpr std::array<const char*, 16> ShortHalfBars = {
    "*-*-", "*-*-", "*-*-", "*-*-", "*-*-", "*-*-", "*-*-", "*-*-",
    "*-**", "***-", "**-*", "*--*", "*-**", "***-", "****", "****",
};

// Row k: weight of repeating half-bar j < k, and in column k the weight of keeping the new
// figure. Every row adds up to 9, the range of the draw.
constexpr int HalfBarRows = 8;
constexpr std::array<std::array<int, HalfBarRows>, HalfBarRows> RepeatWeights = {{
    {9, 0, 0, 0, 0, 0, 0, 0},
    {2, 7, 0, 0, 0, 0, 0, 0},
    {4, 2, 3, 0, 0, 0, 0, 0},
    {1, 4, 1, 3, 0, 0, 0, 0},
    {5, 0, 2, 0, 2, 0, 0, 0},
    {0, 4, 0, 3, 0, 2, 0, 0},
    {1, 0, 3, 0, 2, 1, 2, 0},
    {0, 0, 0, 6, 0, 1, 0, 2},
}};

constexpr const char* WholeNote = "*---";
constexpr const char* HeldOn = "----";

/// The column whose running weight first exceeds r; a half-bar beyond the table keeps its
/// own figure.
int RepeatColumn(int k, int r)
{
    if (k >= HalfBarRows)
        return k;
    int sum = 0;
    for (int j = 0; j <= k; ++j)
    {
        sum += RepeatWeights[static_cast<std::size_t>(k)][static_cast<std::size_t>(j)];
        if (sum > r)
            return j;
    }
    return k;
}
} // namespace

void TRhythmMaker::MakeRhythm()
{
    if (FUnit == nullptr)
        return;
    TMunit& unit = *FUnit;
    const int halfBars = 2 * std::max(0, BarCount);
    // Room for the eight half-bars the closing rules name, whatever BarCount is.
    std::vector<std::string> figures(static_cast<std::size_t>(std::max(halfBars, HalfBarRows)),
                                     WholeNote);

    // Both draws are made for every half-bar, repeat or not, and for locked bars too, so a
    // lock never shifts the stream.
    for (int k = 0; k < halfBars; ++k)
    {
        const auto& table = unit.ShortNotes != 0 ? ShortHalfBars : NormalHalfBars;
        figures[static_cast<std::size_t>(k)] = table[Random(16)];
        const int column = RepeatColumn(k, static_cast<int>(Random(9)));
        if (column < k)
            figures[static_cast<std::size_t>(k)] = figures[static_cast<std::size_t>(column)];
    }

    if (unit.Cadence != 0)
    {
        figures[7] = WholeNote;
        if (Random(100) < 50)
        {
            figures[6] = WholeNote;
            if (unit.ShortNotes == 0)
            {
                // Two chances, drawn one after the other: the second draw happens only when
                // the first fails, and the draws keep every later figure where it is.
                if (Random(100) < 70)
                    figures[7] = HeldOn; // NOLINT(bugprone-branch-clone)
                else if (Random(100) < 30)
                    figures[7] = HeldOn;
            }
            else if (Random(100) < 30)
                figures[7] = HeldOn;
        }
        if (Random(100) < 30)
        {
            figures[3] = WholeNote;
            if (Random(100) < 20)
                figures[1] = WholeNote;
        }
    }

    for (int bar = 0; bar < halfBars / 2; ++bar)
    {
        if (unit.GetLock(bar) != 0)
            continue;
        unit.SetBarRhythm(bar, figures[static_cast<std::size_t>(2 * bar)] +
                                   figures[static_cast<std::size_t>(2 * bar + 1)]);
    }

    // Every step gets its beat's chord root, held steps included.
    const int scale = unit.Scale();
    const int stepsPerBeat = std::max(1, unit.StepsPerBeat);
    for (int bar = 0; bar < unit.BarCount; ++bar)
    {
        if (unit.GetLock(bar) != 0)
            continue;
        for (int step = 0; step < unit.StepsPerBar(); ++step)
            unit.SetMelody(bar, step,
                           ChordRootOffset(unit.GetChord(bar, step / stepsPerBeat), scale));
    }
}
