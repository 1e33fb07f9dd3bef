// The figures of live playback that need the sound layer from inside: how far the play
// position (what the window's cursor shows) lags behind the sound, on the "file" output,
// and the gap at the loop point, on the rendered timeline of two passes of a unit and in
// the sound of a loop played into a file.
//   play_position_probe UNIT.mid FROM_TICK TO_TICK
// UNIT.mid: a unit as "Reproducir partitura" renders it; the loop repeats FROM..TO.
#include "audio/MediaPlayer.h"
#include "audio/Synthesizer.h"
#include "audio/Timeline.h"
#include "base/FileIO.h"
#include "base/TempDir.h"
#include "midi/MidiData.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <map>
#include <string>
#include <thread>
#include <vector>

using TClock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace
{
constexpr double Rate = 44100;
/// Ticks of one beat at 120 bpm: half a second.
constexpr std::int32_t Beat = 384;
constexpr int LagNotes = 12;

double Ms(TClock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

/// A short note on every beat at 120 bpm, silence between.
void WriteBeats(const std::string& path)
{
    TMidiData midi;
    midi.SetTrackCount(1);
    midi.AddTempo(0, 0, 120);
    midi.AddProgramChange(0, 0, 0, 1);
    for (int i = 0; i < LagNotes; ++i)
        midi.AddNote(0, (i + 1) * Beat, 48, 0, 72, 120);
    midi.SaveToFile(path);
}

/// Time from each note's first sounding block to the position reaching the note's tick.
void MeasureCursorLag(TSynthesizer& synth, const TTempDir& temp)
{
    const std::string midiFile = temp.Path() + "/beats.mid";
    WriteBeats(midiFile);
    std::vector<TClock::time_point> sounded;
    sounded.reserve(LagNotes);
    std::atomic<int> soundCount{0};
    int quietBlocks = 100;
    TOutputOptions output;
    output.Driver = "file";
    output.FileName = temp.Path() + "/beats.wav";
    output.BlockObserver = [&](const float* left, const float* right, int frames)
    {
        bool loud = false;
        for (int i = 0; i < frames && !loud; ++i)
            loud = std::fabs(left[i]) > 0.01f || std::fabs(right[i]) > 0.01f;
        if (loud && quietBlocks >= 20 && soundCount.load() < LagNotes)
        {
            sounded.push_back(TClock::now());
            ++soundCount;
        }
        quietBlocks = loud ? 0 : quietBlocks + 1;
    };
    std::vector<TClock::time_point> reached(LagNotes);
    {
        TMediaPlayer player(synth, output);
        player.SetFileName(midiFile);
        player.Open();
        std::this_thread::sleep_for(100ms);
        player.Play();
        int next = 0;
        const auto deadline = TClock::now() + 10s;
        // The window reads the position on a timer; here it is read as often as can be, to
        // see the sound layer's own lag.
        while (next < LagNotes && TClock::now() < deadline)
        {
            const TPlayPosition at = player.Position();
            while (next < LagNotes && at.Tick >= (next + 1) * Beat)
                reached[static_cast<std::size_t>(next++)] = TClock::now();
            std::this_thread::sleep_for(200us);
        }
        std::this_thread::sleep_for(300ms);
        player.Close();
    }
    if (soundCount.load() != LagNotes)
    {
        std::printf("  cursor lag: heard %d notes of %d, no figure\n", soundCount.load(), LagNotes);
        return;
    }
    std::vector<double> lags;
    for (int i = 0; i < LagNotes; ++i)
        lags.push_back(
            Ms(reached[static_cast<std::size_t>(i)] - sounded[static_cast<std::size_t>(i)]));
    const double worst = *std::max_element(lags.begin(), lags.end());
    std::printf("Cursor lag behind the sound (\"file\" output, %d notes; negative: the "
                "position is there before the block is written)\n",
                LagNotes);
    std::printf("  sound layer: median %.1f ms, worst %.1f ms\n", Median(lags), worst);
    std::printf("  in the window, which reads it every 30 ms: worst %.1f ms (limit 50 ms)\n",
                std::max(worst, 0.0) + 30.0);
}

/// The timeline of two passes of the unit's loop: the second pass must start exactly one
/// loop length after the first, and no note may be struck while it still sounds.
void MeasureTimelineGap(const std::string& unitFile, std::int32_t from, std::int32_t to)
{
    TMidiData midi;
    midi.LoadFromString(ReadWholeFile(unitFile, MaxDataFileSize));
    const TTimeline first(midi, Rate, 0, to);
    const TTimeline pass(midi, Rate, from, to);
    // The loop's own length, from the tempo map of the first pass (which reaches to).
    const double length = static_cast<double>(first.FrameAt(to)) - first.FrameAt(from);
    std::vector<TTimedMessage> joined = first.Messages();
    for (TTimedMessage m : pass.Messages())
    {
        m.Frame += first.Frames();
        joined.push_back(std::move(m));
    }
    const auto isOn = [](const TTimedMessage& m)
    { return (m.Data[0] & 0xF0) == 0x90 && m.Data.size() > 2 && m.Data[2] > 0; };
    // The first strike of the loop in each pass.
    double firstStrike = -1;
    double secondStrike = -1;
    for (const TTimedMessage& m : joined)
        if (isOn(m) && m.Tick >= from)
        {
            if (firstStrike < 0)
                firstStrike = static_cast<double>(m.Frame);
            else if (static_cast<double>(m.Frame) >= static_cast<double>(first.Frames()) &&
                     secondStrike < 0)
                secondStrike = static_cast<double>(m.Frame);
        }
    std::map<std::pair<int, int>, int> sounding;
    int doubled = 0;
    for (const TTimedMessage& m : joined)
    {
        const std::pair<int, int> key(m.Data[0] & 0x0F, m.Data.size() > 1 ? m.Data[1] : 0);
        if (isOn(m))
            doubled += sounding[key]++ > 0 ? 1 : 0;
        else if ((m.Data[0] & 0xF0) == 0x80 || (m.Data[0] & 0xF0) == 0x90)
            sounding[key] = std::max(sounding[key] - 1, 0);
    }
    const double gap = secondStrike - firstStrike - length;
    std::printf("Gap at the loop point, timeline of two passes of %s (ticks %d-%d, %.3f s)\n",
                unitFile.c_str(), from, to, length / Rate);
    std::printf("  gap %.3f ms (%g frames); notes struck while sounding: %d\n", 1000.0 * gap / Rate,
                gap, doubled);
}

/// One bar at 240 bpm with one note on its first beat, looped into a WAV file: the distance
/// between the strikes heard, against the bar's length.
void MeasureSoundGap(TSynthesizer& synth, const TTempDir& temp)
{
    const std::string midiFile = temp.Path() + "/bar.mid";
    TMidiData midi;
    midi.SetTrackCount(1);
    midi.AddTempo(0, 0, 240);
    midi.AddProgramChange(0, 0, 0, 1);
    midi.AddNote(0, 0, 96, 0, 72, 120);
    midi.SaveToFile(midiFile);
    std::vector<std::uint64_t> strikes;
    std::uint64_t frame = 0;
    int quietFrames = 100;
    TOutputOptions output;
    output.Driver = "file";
    output.FileName = temp.Path() + "/loop.wav";
    output.BlockObserver = [&](const float* left, const float* right, int frames)
    {
        for (int i = 0; i < frames; ++i)
        {
            const bool loud = std::fabs(left[i]) > 0.02f || std::fabs(right[i]) > 0.02f;
            if (loud && quietFrames >= 4410)
                strikes.push_back(frame + static_cast<std::uint64_t>(i));
            quietFrames = loud ? 0 : quietFrames + 1;
        }
        frame += static_cast<std::uint64_t>(frames);
    };
    {
        TMediaPlayer player(synth, output);
        player.SetFileName(midiFile);
        player.Open();
        player.PlayLoop(0, 4 * Beat);
        std::this_thread::sleep_for(6300ms);
        player.Close();
    }
    std::vector<double> gaps;
    for (std::size_t i = 1; i < strikes.size(); ++i)
        gaps.push_back(static_cast<double>(strikes[i] - strikes[i - 1]) - Rate);
    if (gaps.empty())
    {
        std::printf("  sound of a loop: no strikes heard\n");
        return;
    }
    const auto [low, high] = std::minmax_element(gaps.begin(), gaps.end());
    std::printf("  sound of a one-second loop played into a file, %zu joins: strike-to-strike "
                "minus the loop's length %.2f to %.2f ms (FluidSynth starts a note on its "
                "next 64-frame block: +-1.45 ms)\n",
                gaps.size(), 1000.0 * *low / Rate, 1000.0 * *high / Rate);
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
    {
        std::fprintf(stderr, "usage: play_position_probe UNIT.mid FROM_TICK TO_TICK\n");
        return 2;
    }
    try
    {
        TSynthesizer synth;
        synth.WaitUntilLoaded();
        const TTempDir temp;
        MeasureCursorLag(synth, temp);
        MeasureTimelineGap(argv[1], std::atoi(argv[2]), std::atoi(argv[3]));
        MeasureSoundGap(synth, temp);
        return 0;
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "play_position_probe: %s\n", e.what());
        return 1;
    }
}
