// Full composition of one unit (chords, rhythm, melody), the work of the bar editor's
// "Comp. Automatica" and of lyravane-cli compose per unit.

#include "base/Random.h"
#include "compose/ChordMaker.h"
#include "compose/Composer.h"
#include "compose/RhythmMaker.h"
#include "model/Munit.h"
#include "model/Muprop.h"

#include <benchmark/benchmark.h>

namespace
{
void ComposeUnit(TMunit& unit, std::uint32_t seed)
{
    SetRandSeed(seed);
    TChordMaker chords;
    chords.SetMunit(&unit);
    chords.MakeChords();
    TRhythmMaker rhythm;
    rhythm.SetMunit(&unit);
    rhythm.MakeRhythm();
    SetRandSeed(seed % 1000);
    TComposer composer;
    composer.SetMunit(&unit);
    composer.Compose();
}

void BM_ComposeUnit(benchmark::State& state)
{
    TMuprop property;
    property.Scale = static_cast<std::uint8_t>(state.range(0));
    TMunit unit;
    unit.SetProperty(&property);
    unit.SetShortNotes(static_cast<std::uint8_t>(state.range(1)));
    unit.SetCadence(1);
    std::uint32_t seed = 1;
    for (auto _ : state)
    {
        ComposeUnit(unit, seed);
        seed = seed * 69069u + 1u;
        benchmark::DoNotOptimize(unit.Melody.data());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("units");
}

// Args: scale (0 major, 1 minor), short notes.
BENCHMARK(BM_ComposeUnit)->Args({0, 0})->Args({1, 0})->Args({0, 1});
} // namespace
