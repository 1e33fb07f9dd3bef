#include "AudioTestSupport.h"

#include "audio/AudioError.h"
#include "audio/MediaPlayer.h"
#include "audio/Synthesizer.h"
#include "base/Exceptions.h"
#include "midi/MidiData.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

using namespace std::chrono_literals;
using TClock = std::chrono::steady_clock;

namespace
{
/// Watches the null output: when sound was last heard, and when the last block came.
struct TListener
{
    std::atomic<TClock::rep> LastSound{0};
    std::atomic<int> Blocks{0};

    TOutputOptions Output()
    {
        TOutputOptions options;
        options.Driver = "null";
        options.BlockObserver = [this](const float* left, const float* right, int frames)
        {
            for (int i = 0; i < frames; ++i)
                if (std::fabs(left[i]) > 1e-3f || std::fabs(right[i]) > 1e-3f)
                {
                    LastSound = TClock::now().time_since_epoch().count();
                    break;
                }
            ++Blocks;
        };
        return options;
    }
    TClock::time_point LastSoundAt() const
    {
        return TClock::time_point(TClock::duration(LastSound.load()));
    }
    /// Waits up to timeout for sound heard after since; the time it was heard, or nothing.
    bool SoundAfter(TClock::time_point since, std::chrono::milliseconds timeout) const
    {
        const auto end = TClock::now() + timeout;
        while (TClock::now() < end)
        {
            if (LastSoundAt() > since)
                return true;
            std::this_thread::sleep_for(1ms);
        }
        return false;
    }
};

/// A piano note at 0 s, silence, and a second note at `later` seconds (120 bpm).
void WriteSong(const std::string& path, double firstLength, double later)
{
    TMidiData midi;
    midi.SetTrackCount(1);
    midi.AddTempo(0, 0, 120);
    midi.AddProgramChange(0, 0, 0, 1);
    midi.AddNote(0, 0, static_cast<std::int32_t>(firstLength * 768), 0, 60, 110);
    midi.AddNote(0, static_cast<std::int32_t>(later * 768), 384, 0, 64, 110);
    midi.SaveToFile(path);
}

TSynthesizer& SharedSynth()
{
    static TSynthesizer synth;
    return synth;
}
} // namespace

class MediaPlayerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!HaveDefaultSoundFont())
            FAIL() << "No SoundFont at " << DefaultSoundFont
                   << ": run scripts/install-deps (package fluid-soundfont-gm)";
    }
    TScratchDir Dir;
    TListener Listener;
};

TEST_F(MediaPlayerTest, PlayReturnsAtOnceAndTheSoundGoesOn)
{
    const std::string file = Dir.File("$$$.mid");
    WriteSong(file, 3.0, 3.5);
    TMediaPlayer player(SharedSynth(), Listener.Output());
    player.SetFileName(file);
    player.Open();
    EXPECT_EQ(player.DriverName(), "null");

    const auto before = TClock::now();
    player.Play();
    const auto returned = TClock::now();
    EXPECT_LT(returned - before, 100ms) << "Play must not wait for the song";
    EXPECT_TRUE(player.Playing());
    EXPECT_TRUE(Listener.SoundAfter(before, 500ms));
    // Still sounding well after Play returned.
    std::this_thread::sleep_for(600ms);
    EXPECT_TRUE(Listener.SoundAfter(TClock::now() - 50ms, 200ms));
    EXPECT_TRUE(player.Playing());
}

TEST_F(MediaPlayerTest, PlayOnAPlayingSongRestartsIt)
{
    // A short note, then nothing until 5 s: sound soon after the second Play can only come
    // from the start of the song.
    const std::string file = Dir.File("$$$.mid");
    WriteSong(file, 0.1, 5.0);
    TMediaPlayer player(SharedSynth(), Listener.Output());
    player.SetFileName(file);
    player.Open();
    player.Play();
    ASSERT_TRUE(Listener.SoundAfter(TClock::now() - 10ms, 500ms));

    // Wait for the first note and its echo to die away.
    const auto deadline = TClock::now() + 4s;
    while (TClock::now() - Listener.LastSoundAt() < 300ms && TClock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    ASSERT_GE(TClock::now() - Listener.LastSoundAt(), 300ms) << "the first note never ended";
    ASSERT_TRUE(player.Playing());

    const auto again = TClock::now();
    player.Play();
    EXPECT_TRUE(Listener.SoundAfter(again, 300ms)) << "the second Play did not restart the song";
}

TEST_F(MediaPlayerTest, CloseSilencesEveryNoteAndReleasesTheFile)
{
    const std::string file = Dir.File("$$$.mid");
    WriteSong(file, 4.0, 4.5);
    TMediaPlayer player(SharedSynth(), Listener.Output());
    player.SetFileName(file);
    player.Open();
    player.Play();
    ASSERT_TRUE(Listener.SoundAfter(TClock::now() - 10ms, 500ms));

    player.Close();
    const auto closed = TClock::now();
    EXPECT_FALSE(player.Playing());
    EXPECT_FALSE(player.IsOpen());
    // A block under way may still be reported just after; after that, silence.
    std::this_thread::sleep_for(100ms);
    const auto lastHeard = Listener.LastSoundAt();
    EXPECT_LT(lastHeard, closed + 100ms);
    EXPECT_FALSE(Listener.SoundAfter(lastHeard, 300ms)) << "notes go on sounding after Close";

    // The file is free: it can be rewritten and opened again.
    WriteSong(file, 1.0, 1.5);
    player.Open();
    const auto again = TClock::now();
    player.Play();
    EXPECT_TRUE(Listener.SoundAfter(again, 500ms));
}

TEST_F(MediaPlayerTest, CloseWithNothingOpenDoesNothing)
{
    TMediaPlayer player(SharedSynth(), Listener.Output());
    EXPECT_NO_THROW(player.Close());
    EXPECT_NO_THROW(player.Close());
    EXPECT_FALSE(player.IsOpen());
    EXPECT_EQ(player.DriverName(), "") << "nothing opened, so no output either";

    // Nor does it wait for, or complain about, a SoundFont that is not there.
    TSynthOptions options;
    options.SoundFont = "/nonexistent/GM.sf2";
    TSynthesizer missing(options);
    TMediaPlayer lonely(missing, Listener.Output());
    EXPECT_NO_THROW(lonely.Close());
}

TEST_F(MediaPlayerTest, OpenOfAMissingFileFailsWithItsName)
{
    TMediaPlayer player(SharedSynth(), Listener.Output());
    player.SetFileName(Dir.File("nothing-here.mid"));
    try
    {
        player.Open();
        FAIL() << "Open of a missing file succeeded";
    }
    catch (const EFOpenError& e)
    {
        EXPECT_NE(std::string(e.what()).find(Dir.File("nothing-here.mid")), std::string::npos)
            << e.what();
        EXPECT_NE(std::string(e.what()).find("No such file"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(player.IsOpen());
    EXPECT_THROW(player.Play(), EAudioError);
}

TEST_F(MediaPlayerTest, OpenOfABrokenFileIsRefused)
{
    const std::string file = Dir.File("broken.mid");
    {
        TMidiData midi;
        midi.SetTrackCount(1);
        midi.AddNote(0, 0, 384, 0, 60, 100);
        std::string bytes = midi.SaveToString();
        bytes.resize(bytes.size() - 6);
        std::FILE* f = std::fopen(file.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    TMediaPlayer player(SharedSynth(), Listener.Output());
    player.SetFileName(file);
    EXPECT_THROW(player.Open(), EInvalidMidiFile);
    EXPECT_FALSE(player.IsOpen());
}

TEST_F(MediaPlayerTest, OpenWithoutSoundFontSaysWhatIsMissing)
{
    const std::string file = Dir.File("$$$.mid");
    WriteSong(file, 1.0, 1.5);
    TSynthOptions options;
    options.SoundFont = "/nonexistent/GM.sf2";
    TSynthesizer missing(options);
    TMediaPlayer player(missing, Listener.Output());
    player.SetFileName(file);
    try
    {
        player.Open();
        FAIL() << "Open without a SoundFont succeeded";
    }
    catch (const EAudioError& e)
    {
        EXPECT_NE(std::string(e.what()).find("No SoundFont found at /nonexistent/GM.sf2"),
                  std::string::npos);
        EXPECT_NE(std::string(e.what()).find("fluid-soundfont-gm"), std::string::npos);
    }
    EXPECT_FALSE(player.IsOpen());
}

TEST_F(MediaPlayerTest, OpenWithoutAudioOutputSaysSo)
{
    const std::string file = Dir.File("$$$.mid");
    WriteSong(file, 1.0, 1.5);
    TOutputOptions output;
    output.Driver = "no-such-driver";
    TMediaPlayer player(SharedSynth(), output);
    player.SetFileName(file);
    try
    {
        player.Open();
        FAIL() << "Open without an audio output succeeded";
    }
    catch (const EAudioError& e)
    {
        const std::string text = e.what();
        EXPECT_EQ(text.rfind("No audio output could be opened (tried no-such-driver", 0), 0u)
            << text;
        EXPECT_NE(text.find("render"), std::string::npos) << "the way around it: " << text;
    }
    EXPECT_FALSE(player.IsOpen());
}

TEST_F(MediaPlayerTest, PrimingWithOnlyGmSystemOnPlaysSilently)
{
    // The start-up priming: one track, General MIDI System On at time 0, nothing else.
    const std::string file = Dir.File("$$$.mid");
    TMidiData midi;
    midi.SetTrackCount(1);
    midi.AddGMSystemOn(0, 0);
    midi.SaveToFile(file);
    TMediaPlayer player(SharedSynth(), Listener.Output());
    player.Close();
    player.SetFileName(file);
    player.Open();
    const auto start = TClock::now();
    player.Play();
    const int blocksBefore = Listener.Blocks;
    std::this_thread::sleep_for(200ms);
    EXPECT_GT(Listener.Blocks, blocksBefore) << "the output runs";
    EXPECT_LT(Listener.LastSoundAt(), start);
}

// Without the FluidSynth library the synthesiser still comes into being (the desktop program
// makes one at start-up), and whatever needs it says what to install. In a process of its
// own: the library may already be loaded in this one.
TEST(MediaPlayerDeathTest, WithoutFluidSynthEveryUseSaysWhatToInstall)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ::setenv("LYRAVANE_FLUIDSYNTH_LIBRARY", "libfluidsynth-not-here.so.3", 1);
            TSynthesizer synth;
            TMediaPlayer player(synth);
            player.SetFileName(std::string(LYRAVANE_TEST_DATA) + "/vectors/render/unit_0.mid");
            try
            {
                player.Open();
            }
            catch (const EAudioError& error)
            {
                std::fprintf(stderr, "%s\n", error.what());
                std::_Exit(3);
            }
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(3), "libfluidsynth-not-here.*install the package libfluidsynth3");
}
