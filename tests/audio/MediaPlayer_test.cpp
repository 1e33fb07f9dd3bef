#include "AudioTestSupport.h"

#include "audio/AudioError.h"
#include "audio/MediaPlayer.h"
#include "audio/Synthesizer.h"
#include "base/Exceptions.h"
#include "midi/MidiData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include <sys/stat.h>

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

TSynthesizer& PlayerSynth()
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
    TMediaPlayer player(PlayerSynth(), Listener.Output());
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
    TMediaPlayer player(PlayerSynth(), Listener.Output());
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
    TMediaPlayer player(PlayerSynth(), Listener.Output());
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
    TMediaPlayer player(PlayerSynth(), Listener.Output());
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
    TMediaPlayer player(PlayerSynth(), Listener.Output());
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
    TMediaPlayer player(PlayerSynth(), Listener.Output());
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
    TMediaPlayer player(PlayerSynth(), output);
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
    TMediaPlayer player(PlayerSynth(), Listener.Output());
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

namespace
{
/// Frames where sound starts after at least gap seconds below level.
std::vector<std::size_t> Onsets(const TWav& wav, double level, double gap)
{
    std::vector<std::size_t> onsets;
    const auto quiet = static_cast<std::size_t>(gap * wav.SampleRate);
    const auto threshold = static_cast<int>(level * 32767);
    std::size_t silent = quiet;
    for (std::size_t f = 0; f < wav.Frames(); ++f)
    {
        const int sample =
            std::max(std::abs(int{wav.Samples[2 * f]}), std::abs(int{wav.Samples[2 * f + 1]}));
        if (sample < threshold)
            ++silent;
        else
        {
            if (silent >= quiet)
                onsets.push_back(f);
            silent = 0;
        }
    }
    return onsets;
}

/// One bar at 240 bpm (a second), one short piano note at beat.
void WriteBar(const std::string& path, int beat)
{
    TMidiData midi;
    midi.SetTrackCount(1);
    midi.AddTempo(0, 0, 240);
    midi.AddProgramChange(0, 0, 0, 1);
    midi.AddNote(0, beat * 384, 96, 0, 72, 120);
    midi.SaveToFile(path);
}
} // namespace

TEST_F(MediaPlayerTest, PositionFollowsWhatIsHeardOnTheFileOutput)
{
    const std::string file = Dir.File("$$$.mid");
    WriteSong(file, 0.2, 0.75); // the second note ends at 1.25 s (120 bpm: 768 ticks a second)
    TOutputOptions output;
    output.Driver = "file";
    output.FileName = Dir.File("heard.wav");
    {
        TMediaPlayer player(PlayerSynth(), output);
        EXPECT_FALSE(player.Position().Playing) << "nothing open";
        player.SetFileName(file);
        player.Open();
        EXPECT_EQ(player.DriverName(), "file");
        const auto start = TClock::now();
        player.Play();
        double lastSeconds = -1;
        std::int32_t lastTick = -1;
        int samples = 0;
        while (TClock::now() - start < 2s)
        {
            const TPlayPosition at = player.Position();
            const double wall = std::chrono::duration<double>(TClock::now() - start).count();
            if (!at.Playing)
                break;
            EXPECT_GE(at.Tick, lastTick);
            EXPECT_GE(at.Seconds, lastSeconds);
            EXPECT_NEAR(at.Seconds, wall, 0.05) << "the file output runs in real time";
            EXPECT_NEAR(at.Tick, at.Seconds * 768, 2) << "120 bpm";
            EXPECT_NEAR(at.TotalSeconds, 1.25, 0.001);
            EXPECT_EQ(at.FromTick, 0);
            EXPECT_EQ(at.ToTick, 960);
            EXPECT_EQ(at.Pass, 0);
            lastSeconds = at.Seconds;
            lastTick = at.Tick;
            ++samples;
            std::this_thread::sleep_for(20ms);
        }
        const double ended = std::chrono::duration<double>(TClock::now() - start).count();
        EXPECT_NEAR(ended, 1.25, 0.1) << "Playing ends with the last note";
        EXPECT_GT(samples, 40);
        EXPECT_EQ(player.Position().Tick, 960) << "the end stays shown until Close";
        player.Close();
        EXPECT_FALSE(player.Position().Playing);
    }
    // The file holds what was played, both notes, 0.75 s apart (give or take FluidSynth's
    // 64-frame block and the attacks of two different notes).
    const TWav wav = ReadWav(output.FileName);
    const std::vector<std::size_t> onsets = Onsets(wav, 0.02, 0.1);
    ASSERT_EQ(onsets.size(), 2u);
    EXPECT_NEAR(static_cast<double>(onsets[1] - onsets[0]) / wav.SampleRate, 0.75, 0.005);
}

TEST_F(MediaPlayerTest, TheFileOutputTakesOnlyARegularFile)
{
    // A FIFO would hold Open until a reader came; /dev/full would swallow the sound unheard.
    const std::string file = Dir.File("$$$.mid");
    WriteSong(file, 0.2, 0.75);
    const std::string fifo = Dir.File("fifo.wav");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& name : {fifo, std::string("/dev/full")})
    {
        TOutputOptions output;
        output.Driver = "file";
        output.FileName = name;
        TMediaPlayer player(PlayerSynth(), output);
        player.SetFileName(file);
        try
        {
            player.Open();
            ADD_FAILURE() << name << " was taken";
        }
        catch (const EAudioError& error)
        {
            EXPECT_NE(std::string(error.what()).find("is not a regular file"), std::string::npos)
                << error.what();
        }
    }
}

TEST_F(MediaPlayerTest, ALoopRepeatsWithoutGapAndTakesANewPassAtItsNextStart)
{
    const std::string file = Dir.File("$$$.mid");
    WriteBar(file, 0);
    TOutputOptions output;
    output.Driver = "file";
    output.FileName = Dir.File("loop.wav");
    {
        TMediaPlayer player(PlayerSynth(), output);
        EXPECT_NO_THROW(player.QueueLoopPass()) << "nothing loops: nothing to do";
        player.SetFileName(file);
        player.Open();
        EXPECT_THROW(player.PlayLoop(1536, 1536), EAudioError);
        player.PlayLoop(0, 1536);
        const auto waitFor = [&player](int pass, double seconds)
        {
            const auto deadline = TClock::now() + 8s;
            TPlayPosition at = player.Position();
            while ((at.Pass < pass || (at.Pass == pass && at.Seconds < seconds)) &&
                   TClock::now() < deadline)
            {
                std::this_thread::sleep_for(5ms);
                at = player.Position();
            }
            return at;
        };
        // Halfway through the third pass: from the fourth on, the note falls on beat 2.
        const TPlayPosition third = waitFor(2, 0.5);
        ASSERT_EQ(third.Pass, 2);
        EXPECT_TRUE(player.Playing());
        EXPECT_NEAR(third.TotalSeconds, 1.0, 1e-9);
        WriteBar(file, 1);
        player.QueueLoopPass();
        EXPECT_EQ(waitFor(4, 0.5).Pass, 4);
        player.Close();
    }
    const TWav wav = ReadWav(output.FileName);
    const std::vector<std::size_t> onsets = Onsets(wav, 0.02, 0.3);
    ASSERT_GE(onsets.size(), 5u);
    // A second apart, then a quarter of a bar later: to within two of FluidSynth's 64-frame
    // blocks (it starts a note at the start of its next block), where a gap at the loop
    // point would add at least a block.
    const auto distance = [&](std::size_t i)
    { return static_cast<double>(onsets[i + 1] - onsets[i]); };
    EXPECT_NEAR(distance(0), 44100, 128);
    EXPECT_NEAR(distance(1), 44100, 128);
    EXPECT_NEAR(distance(2), 44100 + 11025, 128);
    EXPECT_NEAR(distance(3), 44100, 128);
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
                // Another SoundFont has nothing to load into either.
                synth.ChangeSoundFont(DefaultSoundFont).get();
                std::_Exit(4);
            }
            catch (const EAudioError& error)
            {
                if (std::strstr(error.what(), "libfluidsynth-not-here") == nullptr)
                    std::_Exit(5);
            }
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

// A muted channel falls silent within 50 ms while the song plays and sounds again when the
// mute is lifted; the metronome's clicks are not on the muted channel.
TEST_F(MediaPlayerTest, AMutedChannelFallsSilentAtOnceAndTheClicksGoOn)
{
    const std::string file = Dir.File("$$$.mid");
    TMidiData midi;
    midi.SetTrackCount(1);
    midi.AddTempo(0, 0, 120);
    midi.AddProgramChange(0, 0, 0, 20); // an organ holds its level
    midi.AddControlChange(0, 0, 0, 91, 0);
    midi.AddControlChange(0, 0, 0, 93, 0);
    midi.AddNote(0, 0, 768 * 6, 0, 60, 110);
    midi.SaveToFile(file);
    TMediaPlayer player(PlayerSynth(), Listener.Output());
    player.SetFileName(file);
    player.Open();

    const auto start = TClock::now();
    player.Play();
    ASSERT_TRUE(Listener.SoundAfter(start, 500ms));
    player.SetMutedChannels(1);
    const auto muted = TClock::now();
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(Listener.SoundAfter(TClock::now(), 300ms)) << "still heard after the mute";
    player.SetMutedChannels(0);
    EXPECT_TRUE(Listener.SoundAfter(TClock::now(), 200ms)) << "not heard again after the mute";
    EXPECT_LT(muted - start, 1s);

    // With the song's channel muted, the metronome alone is heard on every beat.
    player.SetMutedChannels(1);
    player.SetClicks({false, true});
    player.Play();
    const auto clicked = TClock::now();
    EXPECT_TRUE(Listener.SoundAfter(clicked, 300ms)) << "no click";
}

// The output gain raises what is heard at once, and the limiter keeps its peaks under full
// scale however high the gain.
TEST_F(MediaPlayerTest, TheOutputGainIsHeardUnderTheLimiter)
{
    const std::string file = Dir.File("$$$.mid");
    WriteSong(file, 3.0, 3.5);
    std::atomic<float> peak{0};
    TOutputOptions output = Listener.Output();
    output.BlockObserver = [&peak](const float* left, const float* right, int frames)
    {
        float most = peak;
        for (int i = 0; i < frames; ++i)
            most = std::max({most, std::fabs(left[i]), std::fabs(right[i])});
        peak = most;
    };
    TMediaPlayer player(PlayerSynth(), output);
    player.SetFileName(file);
    player.Open();
    player.Play();
    std::this_thread::sleep_for(400ms);
    const float plain = peak;
    ASSERT_GT(plain, 0.01f);
    player.SetOutputGain(40);
    std::this_thread::sleep_for(300ms);
    EXPECT_GT(peak.load(), 2 * plain) << "the gain is heard";
    EXPECT_LE(peak.load(), 0.8415f) << "the limiter holds the peaks 1.5 dB under full scale";
}
