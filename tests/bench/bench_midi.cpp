#include "midi/MidiData.h"

#include <benchmark/benchmark.h>

#include <string>

namespace
{
constexpr int BenchTracks = 5;
constexpr int NotesPerTrack = 20000;

/// Five tracks of 20,000 notes each, as a renderer adds them: ascending time, chords of
/// three notes on every eighth, with a program and two controllers up front.
void MakeSequence(TMidiData& midi)
{
    for (int track = 0; track < BenchTracks; ++track)
    {
        const int channel = track == 4 ? 9 : track;
        midi.AddProgramChange(track, 0, channel, 1 + track);
        midi.AddControlChange(track, 0, channel, 7, 100);
        midi.AddControlChange(track, 0, channel, 10, 64);
        for (int i = 0; i < NotesPerTrack; ++i)
            midi.AddNote(track, (i / 3) * 192, 96 + (i % 4) * 48, channel, 48 + (i * 7) % 36,
                         80 + i % 40);
    }
}

/// Time per thousand events of the lists (each note is one event, two in the file).
void ReportPerThousand(benchmark::State& state)
{
    const double thousands = BenchTracks * (NotesPerTrack + 3) / 1000.0;
    state.counters["per_1000_events"] =
        benchmark::Counter(thousands * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetItemsProcessed(state.iterations() * BenchTracks * (NotesPerTrack + 3));
}

void BM_MidiAddNotes(benchmark::State& state)
{
    for (auto _ : state)
    {
        TMidiData midi;
        MakeSequence(midi);
        benchmark::DoNotOptimize(midi.GetTrack(0)->Count());
    }
    ReportPerThousand(state);
}

void BM_MidiWrite(benchmark::State& state)
{
    TMidiData midi;
    MakeSequence(midi);
    for (auto _ : state)
    {
        const std::string bytes = midi.SaveToString();
        benchmark::DoNotOptimize(bytes.data());
    }
    ReportPerThousand(state);
}

void BM_MidiRead(benchmark::State& state)
{
    TMidiData midi;
    MakeSequence(midi);
    const std::string bytes = midi.SaveToString();
    for (auto _ : state)
    {
        TMidiData back;
        back.LoadFromString(bytes);
        benchmark::DoNotOptimize(back.GetTrack(0)->Count());
    }
    ReportPerThousand(state);
}

void BM_MidiWriteAndRead(benchmark::State& state)
{
    TMidiData midi;
    MakeSequence(midi);
    for (auto _ : state)
    {
        TMidiData back;
        back.LoadFromString(midi.SaveToString());
        benchmark::DoNotOptimize(back.GetTrack(0)->Count());
    }
    ReportPerThousand(state);
}
} // namespace

BENCHMARK(BM_MidiAddNotes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MidiWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MidiRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MidiWriteAndRead)->Unit(benchmark::kMillisecond);
