// Full composition of one unit (chords, rhythm, melody), the work of the bar editor's
// "Comp. Automatica" and of lyravane-cli compose per unit.

#include "base/Random.h"
#include "compose/ComposeUnit.h"
#include "model/Munit.h"
#include "model/Muprop.h"

#include <benchmark/benchmark.h>

namespace
{
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
        SetRandSeed(seed);
        ComposeUnit(unit, {.Chords = true, .Rhythm = true, .Melody = true}, seed);
        seed = seed * 69069u + 1u;
        benchmark::DoNotOptimize(unit.Melody.data());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("units");
}

// Args: scale (0 major, 1 minor), short notes.
BENCHMARK(BM_ComposeUnit)->Args({0, 0})->Args({1, 0})->Args({0, 1});
} // namespace
