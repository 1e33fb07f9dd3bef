#include "compose/ChordMaker.h"

#include "base/Random.h"
#include "model/Munit.h"

#include <array>
#include <cstdint>

namespace
{
using TProgression = std::array<std::uint8_t, 4>;

// Rows are the values of the draw; every closing row ends on I.
constexpr std::array<TProgression, 8> ClosingProgressions = {{
    {1, 4, 5, 1},
    {1, 2, 5, 1},
    {3, 4, 5, 1},
    {3, 6, 5, 1},
    {6, 2, 5, 1},
    {6, 4, 5, 1},
    {1, 3, 4, 1},
    {3, 6, 4, 1},
}};

// No open row ends on I, so the phrase asks to go on.
constexpr std::array<TProgression, 8> OpenProgressions = {{
    {1, 6, 2, 5},
    {1, 3, 4, 5},
    {1, 4, 3, 5},
    {1, 2, 3, 4},
    {3, 6, 4, 5},
    {3, 4, 5, 6},
    {6, 2, 5, 4},
    {6, 5, 4, 5},
}};
} // namespace

void TChordMaker::MakeChords()
{
    // The row is drawn before any lock is looked at, so locks never change the stream.
    const std::uint32_t row = Random(8);
    if (FUnit == nullptr)
        return;
    const auto& table = FUnit->Cadence != 0 ? ClosingProgressions : OpenProgressions;
    for (int bar = 0; bar < 4; ++bar)
    {
        if (FUnit->GetLock(bar) != 0)
            continue;
        const std::uint8_t degree = table[row][static_cast<std::size_t>(bar)];
        FUnit->SetChordRun(bar, 0, degree);
        FUnit->SetChordRun(bar, 2, degree);
    }
}
