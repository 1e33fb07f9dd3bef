// A clear message when the libraries that write and measure are missing.

#include "AudioTestSupport.h"

#include "audio/AudioError.h"
#include "audio/OfflineRenderer.h"
#include "audio/Synthesizer.h"
#include "midi/MidiData.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace
{
std::string SpoolSong(std::int32_t lastTick)
{
    TMidiData midi;
    midi.SetTrackCount(1);
    midi.AddTempo(0, 0, 120);
    for (int beat = 0; beat < 8; ++beat)
        midi.AddNote(0, beat * 192, 150, 0, 60 + beat, 100);
    midi.AddNote(0, lastTick, 10, 0, 72, 1);
    return midi.SaveToString();
}

} // namespace

TEST(RenderSpoolDeathTest, WithoutTheFileOrLoudnessLibraryTheExportSaysWhatToInstall)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const struct
    {
        const char* Variable;
        const char* Expected;
    } cases[] = {
        {"LYRAVANE_SNDFILE_LIBRARY",
         "biblioteca libsndfile .*not-here.*instale el paquete libsndfile1"},
        {"LYRAVANE_EBUR128_LIBRARY",
         "biblioteca libebur128 .*not-here.*instale el paquete libebur128-1"},
    };
    for (const auto& c : cases)
        EXPECT_EXIT(
            {
                ::setenv(c.Variable, "lib-not-here.so.1", 1);
                TScratchDir dir;
                TRenderOptions options;
                options.Normalize = true;
                try
                {
                    TSynthesizer synth;
                    RenderMidiToFile(synth, SpoolSong(192), dir.File("song.wav"), options);
                }
                catch (const EAudioError& error)
                {
                    std::fprintf(stderr, "%s\n", error.what());
                    std::_Exit(dir.List().empty() ? 3 : 4);
                }
                std::_Exit(0);
            },
            ::testing::ExitedWithCode(3), c.Expected);
}
