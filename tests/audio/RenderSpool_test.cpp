// The normaliser's spool: never a name in the output's folder, no descriptor left after a
// cancel or a failure, a song too long for the free room refused before it is rendered; a
// clear message when the libraries that write and measure are missing; a failure on the
// encoder's thread reaching the caller.

#include "AudioTestSupport.h"

#include "audio/AudioError.h"
#include "audio/OfflineRenderer.h"
#include "audio/Synthesizer.h"
#include "audio/WorkQueue.h"
#include "base/Exceptions.h"
#include "midi/MidiData.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include <sys/resource.h>

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

/// Descriptors of this process open on files in dir, removed or not.
int OpenFilesIn(const std::string& dir)
{
    int count = 0;
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd"))
    {
        std::error_code ec;
        const std::string target = std::filesystem::read_symlink(fd.path(), ec).string();
        count += !ec && target.rfind(dir + "/", 0) == 0;
    }
    return count;
}
} // namespace

TEST(RenderSpoolTest, CancelOrFailureAtAnyStepLeavesNoFileAndNoDescriptor)
{
    if (!HaveDefaultSoundFont())
        GTEST_FAIL() << "No SoundFont at " << DefaultSoundFont;
    TSynthesizer synth;
    const std::string midi = SpoolSong(8 * 192);
    TRenderOptions options;
    options.Format = TAudioFormat::Flac;
    options.Normalize = true;
    // Rendering into the spool, working out the gain, writing from the spool.
    for (const double at : {0.3, 0.85, 0.95})
        for (const bool fail : {false, true})
        {
            SCOPED_TRACE(std::to_string(at) + (fail ? " failing" : " cancelled"));
            TScratchDir dir;
            std::size_t seen = 0;
            auto stop = [&](double done)
            {
                // Only the output's own temporary file has a name.
                seen = std::max(seen, dir.List().size());
                if (done >= at && fail)
                    throw std::runtime_error("disk gone");
                return done < at;
            };
            try
            {
                RenderMidiToFile(synth, midi, dir.File("song.flac"), options, stop);
                ADD_FAILURE() << "the rendering went on";
            }
            catch (const ERenderCancelled&)
            {
                EXPECT_FALSE(fail);
            }
            catch (const std::runtime_error& e)
            {
                EXPECT_TRUE(fail) << e.what();
            }
            EXPECT_EQ(seen, 1u);
            EXPECT_TRUE(dir.List().empty());
            EXPECT_EQ(OpenFilesIn(dir.Path()), 0);
        }
}

TEST(RenderSpoolTest, SongTooLongForTheFreeRoomIsRefusedBeforeRendering)
{
    TSynthesizer synth;
    TScratchDir dir;
    TRenderOptions options;
    options.Format = TAudioFormat::Ogg;
    options.Normalize = true;
    // A month of music would need close to a terabyte of spool.
    try
    {
        RenderMidiToFile(synth, SpoolSong(2000000000), dir.File("long.ogg"), options,
                         [](double) -> bool { throw std::logic_error("rendering began"); });
        ADD_FAILURE() << "no error";
    }
    catch (const EAudioError& e)
    {
        EXPECT_NE(std::string(e.what()).find("No hay espacio libre suficiente en «" + dir.Path()),
                  std::string::npos)
            << e.what();
    }
    EXPECT_TRUE(dir.List().empty());
}

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

TEST(RenderSpoolDeathTest, AWriteFailingOnTheEncoderThreadFailsTheRendering)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Past the file size limit write() fails (EFBIG) on the thread that encodes the FLAC
    // file; the failure must reach the caller, and the file must not be left behind.
    EXPECT_EXIT(
        {
            std::signal(SIGXFSZ, SIG_IGN);
            TScratchDir dir;
            rlimit limit{};
            limit.rlim_cur = limit.rlim_max = 64 * 1024;
            ::setrlimit(RLIMIT_FSIZE, &limit);
            TRenderOptions options;
            options.Format = TAudioFormat::Flac;
            try
            {
                TSynthesizer synth;
                RenderMidiToFile(synth, SpoolSong(20 * 192), dir.File("song.flac"), options);
            }
            catch (const EFCreateError& error)
            {
                std::fprintf(stderr, "%s\n", error.what());
                std::_Exit(dir.List().empty() ? 3 : 4);
            }
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(3), "song.flac.*File too large");
}

TEST(WorkQueueTest, AFailedTaskIsRaisedOnceAndTheTasksBehindItAreDropped)
{
    TWorkQueue queue(2);
    std::atomic<int> ran{0};
    queue.Push([] { throw std::runtime_error("disk gone"); });
    bool raised = false;
    try
    {
        for (int i = 0; i < 100; ++i)
            queue.Push([&] { ++ran; });
        queue.Finish();
    }
    catch (const std::runtime_error&)
    {
        raised = true;
    }
    EXPECT_TRUE(raised);
    queue.Finish();
    EXPECT_EQ(ran, 0) << "tasks behind the failed one were dropped";
    queue.Push([&] { ++ran; });
    queue.Finish();
    EXPECT_EQ(ran, 1);
}
