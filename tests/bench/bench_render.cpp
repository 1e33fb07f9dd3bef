#include "midi/ArrangeList.h"
#include "midi/MidiData.h"
#include "model/Munit.h"
#include "model/Muprop.h"
#include "model/MusicProject.h"
#include "render/RenderSong.h"
#include "render/RenderUnit.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

namespace
{
constexpr int BenchUnits = 48;
constexpr int BenchRepeats = 4;

/// The shipped library when it is there, else the small one of the reference cases.
std::string BenchPatternDir()
{
    const std::filesystem::path shipped =
        std::filesystem::path(LYRAVANE_SOURCE_DIR) / "data" / "PATTERN";
    std::error_code ec;
    if (std::filesystem::file_size(shipped / "BACK00.DAT", ec) > 0 && !ec)
        return shipped.string();
    return (std::filesystem::path(LYRAVANE_SOURCE_DIR) / "tests" / "data" / "vectors" / "PATTERN")
        .string();
}

/// One property set (default patterns, seventh chords) and 48 busy units: a melody on every
/// eighth, harmony on every other unit, a chord change in the middle of every bar so the
/// cut and re-strike run everywhere, and a fill every fourth unit.
void MakeSong(TMusicProject& song)
{
    LoadPatternLibraries(BenchPatternDir());
    song.Items.Clear();
    auto property = std::make_unique<TMuprop>();
    property->SetUse7th(1);
    song.Items.Add(std::move(property));
    for (int u = 0; u < BenchUnits; ++u)
    {
        auto unit = std::make_unique<TMunit>(4, 4);
        for (int bar = 0; bar < 4; ++bar)
        {
            unit->SetChordRun(bar, 0, static_cast<std::uint8_t>(1 + (u + bar) % 6));
            unit->SetChordRun(bar, 2, static_cast<std::uint8_t>(1 + (u + bar + 3) % 6));
            unit->SetBarRhythm(bar, "********");
            for (int step = 0; step < 8; ++step)
                unit->SetMelody(bar, step, (u * 5 + bar * 3 + step * 2) % 17 - 5);
        }
        unit->SetHarmonyVoice(static_cast<std::uint8_t>(u % 2));
        unit->SetFill(static_cast<std::uint8_t>(u % 4 == 3));
        song.Items.Add(std::move(unit));
    }
}

void BM_RenderSong48Units4Repeats(benchmark::State& state)
{
    TMusicProject song;
    MakeSong(song);
    std::size_t size = 0;
    for (auto _ : state)
    {
        TMidiData midi;
        RenderSong(song, midi, BenchRepeats, true);
        const std::string bytes = midi.SaveToString();
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.data());
    }
    state.counters["file_bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_RenderSong48Units4Repeats)->Unit(benchmark::kMillisecond);

/// The rendering alone, without the writer.
void BM_RenderSongOnly(benchmark::State& state)
{
    TMusicProject song;
    MakeSong(song);
    int events = 0;
    for (auto _ : state)
    {
        TMidiData midi;
        RenderSong(song, midi, BenchRepeats, true);
        events = 0;
        for (const auto& track : midi.Tracks)
            events += track->Count();
        benchmark::DoNotOptimize(events);
    }
    state.counters["events"] = events;
}
BENCHMARK(BM_RenderSongOnly)->Unit(benchmark::kMillisecond);

/// One bar of a bass pattern of two tracks with state.range(0) notes each, spread over the
/// bar, under a chord change on every beat: the notes of the second track fall between
/// those of the first in the output.
void BM_RenderTwoTrackPatternBar(benchmark::State& state)
{
    const auto notes = static_cast<int>(state.range(0));
    TMidiData pattern;
    pattern.SetTrackCount(2);
    for (int track = 0; track < 2; ++track)
        for (int n = 0; n < notes; ++n)
            pattern.AddNote(track, n * pattern.BarLength() / notes, 24, 2, 36 + (n + track) % 24,
                            90);
    TMunit unit(4, 4);
    for (int beat = 0; beat < 4; ++beat)
        unit.SetChordRun(0, beat, static_cast<std::uint8_t>(1 + beat));
    int events = 0;
    for (auto _ : state)
    {
        TMidiData midi;
        RenderPatternBar(unit, midi, BassTrack, 0, 0, TrackChannel(BassTrack), pattern, 0, 0, false,
                         false);
        events = midi.GetTrack(BassTrack)->Count();
        benchmark::DoNotOptimize(events);
    }
    state.counters["events"] = events;
}
BENCHMARK(BM_RenderTwoTrackPatternBar)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
} // namespace
