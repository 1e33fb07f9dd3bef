#include "model/Munit.h"
#include "model/Muprop.h"
#include "model/MusicProject.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>

namespace
{
/// A song of one property set and 48 units with varied content: 49 entries, the UI's limit.
void MakeFullSong(TMusicProject& song)
{
    song.NewSong();
    while (song.Count() < MaxEditorEntries)
    {
        auto unit = std::make_unique<TMunit>();
        for (int b = 0; b < 4; ++b)
        {
            unit->SetBarRhythm(b, "*-*-*---");
            for (int s = 0; s < 8; ++s)
                unit->SetMelody(b, s, (b * 8 + s + song.Count()) % 24 - 12);
        }
        song.Items.Add(std::move(unit));
    }
}

void BM_ProjectSave49Entries(benchmark::State& state)
{
    TMusicProject song;
    MakeFullSong(song);
    for (auto _ : state)
    {
        std::ostringstream out(std::ios::binary);
        song.SaveToStream(out);
        benchmark::DoNotOptimize(out.str().size());
    }
    state.SetItemsProcessed(state.iterations() * song.Count());
}
BENCHMARK(BM_ProjectSave49Entries);

void BM_ProjectLoad49Entries(benchmark::State& state)
{
    TMusicProject song;
    MakeFullSong(song);
    std::ostringstream out(std::ios::binary);
    song.SaveToStream(out);
    const std::string bytes = out.str();
    TMusicProject loaded;
    for (auto _ : state)
    {
        std::istringstream in(bytes, std::ios::binary);
        loaded.LoadFromStream(in);
        benchmark::DoNotOptimize(loaded.Count());
    }
    state.SetItemsProcessed(state.iterations() * song.Count());
}
BENCHMARK(BM_ProjectLoad49Entries);
} // namespace
