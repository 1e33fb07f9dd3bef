// The bytes of rendered files against those the renderer wrote when it kept the whole song
// in memory: the song streamed through a spool file must come out the same, byte for byte,
// with the limiter at work or not. The reference sums were taken with FluidSynth 2.3 and
// FluidR3_GM; another synthesiser makes other sound, and the test says so and skips.

#include "AudioTestSupport.h"

#include "audio/OfflineRenderer.h"
#include "audio/Synthesizer.h"
#include "base/FileIO.h"
#include "midi/MidiData.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include <fluidsynth.h>

namespace
{
/// Chords over a beat at the velocity given; loud ones drive the limiter at a high target.
std::string ReferenceSong(int velocity, int beats)
{
    TMidiData midi;
    midi.SetTrackCount(1);
    midi.AddTempo(0, 0, 132);
    midi.AddProgramChange(0, 0, 0, 30);
    midi.AddProgramChange(0, 0, 1, 0);
    for (int beat = 0; beat < beats; ++beat)
    {
        const std::int32_t at = beat * 192;
        for (const int key : {40, 47, 52})
            midi.AddNote(0, at, 170, 0, key + (beat % 4) * 2, velocity);
        midi.AddNote(0, at + 96, 90, 1, 72 + beat % 5, velocity);
        midi.AddNote(0, at, 96, 9, beat % 2 ? 38 : 36, 127);
        midi.AddNote(0, at + 96, 96, 9, beat % 3 ? 42 : 49, velocity);
    }
    return midi.SaveToString();
}

std::string Fnv1a(const std::string& bytes)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes)
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    char text[40];
    std::snprintf(text, sizeof text, "%016llx/%zu", static_cast<unsigned long long>(hash),
                  bytes.size());
    return text;
}
} // namespace

TEST(RenderReferenceTest, StreamedRenderingWritesTheBytesOfTheInMemoryOne)
{
    if (!HaveDefaultSoundFont())
        GTEST_FAIL() << "No SoundFont at " << DefaultSoundFont;
    if (FLUIDSYNTH_VERSION_MAJOR != 2 || FLUIDSYNTH_VERSION_MINOR != 3)
        GTEST_SKIP() << "the reference sums come from FluidSynth 2.3";
    struct TCase
    {
        const char* Name;
        int Velocity;
        int Beats;
        bool Normalize;
        double Lufs;
        int Bits;
        const char* Sum;
    };
    // -6 LUFS needs the limiter on every beat; -14 and -23 need one factor only.
    const TCase cases[] = {
        {"limited.wav", 127, 24, true, -6, 16, "c7d87ce75ff197f5/2077804"},
        {"limited.flac", 127, 24, true, -6, 24, "be919c34e1079f15/2041060"},
        {"limited.ogg", 127, 24, true, -6, 16, "46d018149c743cf5/164439"},
        {"plain.wav", 80, 16, true, -14, 16, "0119e5368da79631/1631932"},
        {"quiet.flac", 60, 16, true, -23, 16, "e1bf24ff8239ab0c/532219"},
        {"quiet.ogg", 60, 16, true, -23, 16, "17860fa6368ebbad/99304"},
        {"raw.wav", 100, 12, false, 0, 24, "ca3b68793771ce7d/1781972"},
    };
    TScratchDir dir;
    for (const TCase& c : cases)
    {
        SCOPED_TRACE(c.Name);
        TRenderOptions options;
        options.Format = *AudioFormatFromPath(c.Name);
        options.Bits = c.Bits;
        options.Normalize = c.Normalize;
        options.Target.Lufs = c.Lufs;
        TSynthesizer synth;
        const TRenderResult result =
            RenderMidiToFile(synth, ReferenceSong(c.Velocity, c.Beats), dir.File(c.Name), options);
        EXPECT_EQ(Fnv1a(ReadWholeFile(dir.File(c.Name), std::uint64_t{1} << 30)), c.Sum)
            << "gain " << result.GainDb << " dB, after " << result.After.Lufs << " LUFS "
            << result.After.TruePeakDb << " dBTP";
    }
}
