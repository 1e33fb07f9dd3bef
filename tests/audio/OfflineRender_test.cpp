#include "AudioTestSupport.h"

#include "audio/AudioError.h"
#include "audio/OfflineRenderer.h"
#include "audio/Synthesizer.h"
#include "base/Exceptions.h"
#include "base/FileIO.h"
#include "midi/ArrangeList.h"
#include "midi/MidiData.h"
#include "model/Munit.h"
#include "model/Muprop.h"
#include "model/MusicProject.h"
#include "render/RenderSong.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include <sys/stat.h>

namespace
{

/// A synthesiser used for many renderings, as the desktop program keeps one for its run.
TSynthesizer& SharedSynth()
{
    static TSynthesizer synth;
    return synth;
}

/// Renders with a synthesiser of its own, as lyravane-cli does: the same bytes every time.
TWav Render(const TMidiData& midi, TRenderResult* result = nullptr,
            TSynthOptions options = TSynthOptions())
{
    TScratchDir dir;
    const std::string path = dir.File("out.wav");
    TSynthesizer synth(options);
    const TRenderResult r = RenderMidiToFile(synth, midi.SaveToString(), path);
    if (result)
        *result = r;
    return ReadWav(path);
}

/// Mean square of the difference of two renderings, over the shorter one.
double DifferenceRms(const TWav& a, const TWav& b)
{
    const std::size_t n = std::min(a.Samples.size(), b.Samples.size());
    double sum = 0;
    for (std::size_t i = 0; i < n; ++i)
    {
        const double d = (a.Samples[i] - b.Samples[i]) / 32768.0;
        sum += d * d;
    }
    return n ? std::sqrt(sum / static_cast<double>(n)) : 0;
}

void LoadSong(TMusicProject& song, const std::string& name)
{
    LoadPatternLibraries(Vectors + "/PATTERN");
    song.LoadFromFile(Vectors + "/compose/" + name);
    song.AttachProperties();
}

/// A trumpet note on channel 0 from 0.25 s to 0.75 s after the given controller values.
/// The trumpet is a mono sample, so the pan controller moves all of it.
TMidiData TrumpetNote(int volume, int pan, int reverb, int chorus)
{
    TMidiData midi;
    midi.SetTrackCount(1);
    midi.AddTempo(0, 0, 120);
    midi.AddProgramChange(0, 0, 0, 57);
    midi.AddControlChange(0, 0, 0, 7, volume);
    midi.AddControlChange(0, 0, 0, 10, pan);
    midi.AddControlChange(0, 0, 0, 91, reverb);
    midi.AddControlChange(0, 0, 0, 93, chorus);
    midi.AddNote(0, 192, 384, 0, 60, 100);
    return midi;
}

/// Kick, snare and closed hi-hat on channel 9 after selecting kit (0-based program).
TMidiData DrumHits(int kit, bool gmSystemOn, int channel = 9)
{
    TMidiData midi;
    midi.SetTrackCount(1);
    if (gmSystemOn)
        midi.AddGMSystemOn(0, 0);
    midi.AddTempo(0, 0, 120);
    if (kit >= 0)
        midi.AddProgramChange(0, 192, channel, kit + 1);
    midi.AddNote(0, 384, 96, channel, 36, 110);
    midi.AddNote(0, 576, 96, channel, 38, 110);
    midi.AddNote(0, 768, 96, channel, 42, 110);
    return midi;
}
} // namespace

class OfflineRenderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!HaveDefaultSoundFont())
            FAIL() << "No SoundFont at " << DefaultSoundFont
                   << ": run scripts/install-deps (package fluid-soundfont-gm)";
    }
};

TEST_F(OfflineRenderTest, LengthFollowsTicksAndTempoChanges)
{
    // Two seconds at 120 bpm, then four at 60; nothing sounds, so the file ends exactly
    // where the last event falls.
    TMidiData midi;
    midi.SetTrackCount(1);
    midi.AddTempo(0, 0, 120);
    midi.AddTempo(0, 1536, 60);
    midi.AddControlChange(0, 3072, 0, 7, 100);
    ASSERT_DOUBLE_EQ(SecondsAt(midi, LastTick(midi)), 6.0);

    TRenderResult result;
    const TWav wav = Render(midi, &result);
    EXPECT_EQ(wav.SampleRate, 44100);
    EXPECT_EQ(wav.Channels, 2);
    EXPECT_EQ(wav.Frames(), result.Frames);
    EXPECT_NEAR(wav.Seconds(), 6.0, 0.015);
    EXPECT_LT(result.Peak, 10) << "a sequence without notes renders silence";
}

TEST_F(OfflineRenderTest, SongLastsAsLongAsItsTicksAndIsNotSilent)
{
    TMusicProject song;
    LoadSong(song, "out_0.lvp");
    TMidiData midi;
    RenderSong(song, midi, 2, false);
    const double songSeconds = SecondsAt(midi, LastTick(midi));
    ASSERT_GT(songSeconds, 5.0);

    TRenderResult result;
    const TWav wav = Render(midi, &result);
    EXPECT_NEAR(static_cast<double>(result.SongFrames) / wav.SampleRate, songSeconds, 0.02);
    // Not shorter than the song; at most the echo of the last notes longer.
    EXPECT_GE(wav.Seconds(), songSeconds - 0.015);
    EXPECT_LE(wav.Seconds(), songSeconds + 4.0);
    EXPECT_GT(result.Peak, 3000);
    EXPECT_GT(Rms(wav, 0, songSeconds), 0.01);
    // Sound goes on to the end of the song, not just at its start.
    EXPECT_GT(Rms(wav, songSeconds - 2, songSeconds), 0.003);
}

TEST_F(OfflineRenderTest, MutingAPartRemovesItsEnergy)
{
    TMusicProject song;
    LoadSong(song, "out_0.lvp");
    TMuprop& property = *song.PropertyAt(0);
    ASSERT_NE(property.GetPatternName(3), "None") << "the song needs a drum part";

    const auto energy = [&](const TMusicProject& s)
    {
        TMidiData midi;
        RenderSong(s, midi, 1, false);
        const double rms = Rms(Render(midi), 0, 60);
        return rms * rms;
    };
    const double full = energy(song);

    TMusicProject withoutDrums;
    withoutDrums.Assign(song);
    withoutDrums.AttachProperties();
    withoutDrums.PropertyAt(0)->SetPatternName(3, "None");
    const double noDrums = energy(withoutDrums);

    // Drums alone: every other pattern "None" and the melody at volume 0.
    TMusicProject drumsOnly;
    drumsOnly.Assign(song);
    drumsOnly.AttachProperties();
    for (int slot = 0; slot < 3; ++slot)
        drumsOnly.PropertyAt(0)->SetPatternName(slot, "None");
    drumsOnly.PropertyAt(0)->GetTrack(0).SetVolume(0);
    const double drums = energy(drumsOnly);

    TMusicProject nothing;
    nothing.Assign(drumsOnly);
    nothing.AttachProperties();
    nothing.PropertyAt(0)->SetPatternName(3, "None");
    const double silence = energy(nothing);

    EXPECT_GT(drums, 1e-5);
    EXPECT_LT(silence, drums * 1e-4) << "all parts muted must be silent";
    EXPECT_LT(noDrums, full - 0.5 * drums);
    // Parts that do not play together in phase add their energies.
    EXPECT_NEAR(noDrums + drums, full, 0.3 * full);
}

TEST_F(OfflineRenderTest, VolumePanReverbAndChorusControllersAreHeard)
{
    const TWav loud = Render(TrumpetNote(127, 64, 0, 0));
    const TWav soft = Render(TrumpetNote(32, 64, 0, 0));
    EXPECT_GT(Rms(loud, 0, 1), 8 * Rms(soft, 0, 1)) << "volume 32 is about 24 dB down";

    const TWav left = Render(TrumpetNote(127, 0, 0, 0));
    const TWav right = Render(TrumpetNote(127, 127, 0, 0));
    EXPECT_GT(Rms(left, 0, 1, 0), 5 * Rms(left, 0, 1, 1));
    EXPECT_GT(Rms(right, 0, 1, 1), 5 * Rms(right, 0, 1, 0));

    // The note ends at 0.75 s; the reverb send keeps more sound going after it.
    const TWav wet = Render(TrumpetNote(127, 64, 127, 0));
    EXPECT_GT(Rms(wet, 0.9, 1.4), 1.8 * Rms(loud, 0.9, 1.4));

    const TWav chorus = Render(TrumpetNote(127, 64, 0, 127));
    EXPECT_GT(DifferenceRms(chorus, loud), 0.1 * Rms(loud, 0, 1));
}

TEST_F(OfflineRenderTest, DrumChannelSelectsEachKitOfThePercussionBank)
{
    // The kits FluidR3_GM has: each must sound different from every other.
    const int kits[] = {0, 8, 16, 24, 25, 32, 40, 48};
    std::vector<TWav> sounds;
    for (int kit : kits)
        sounds.push_back(Render(DrumHits(kit, true)));
    for (std::size_t a = 0; a < sounds.size(); ++a)
    {
        EXPECT_GT(Rms(sounds[a], 0, 2), 0.003) << "kit " << kits[a] << " is silent";
        for (std::size_t b = a + 1; b < sounds.size(); ++b)
            EXPECT_GT(DifferenceRms(sounds[a], sounds[b]), 0.002)
                << "kits " << kits[a] << " and " << kits[b] << " sound the same";
    }
    // Kits the SoundFont lacks (56 SFX, 127 CM-64) play the standard kit, as does a drum
    // channel that never gets a program change.
    EXPECT_EQ(Render(DrumHits(56, true)).Samples, sounds[0].Samples);
    EXPECT_EQ(Render(DrumHits(127, true)).Samples, sounds[0].Samples);
    EXPECT_EQ(Render(DrumHits(-1, true)).Samples, sounds[0].Samples);
}

TEST_F(OfflineRenderTest, GmSystemOnKeepsTheDrumChannelOnDrumKits)
{
    // The same kit with and without the General MIDI reset before it.
    EXPECT_EQ(Render(DrumHits(25, true)).Samples, Render(DrumHits(25, false)).Samples);
    // And not the melodic instrument of that program number on another channel.
    EXPECT_GT(DifferenceRms(Render(DrumHits(25, true)), Render(DrumHits(25, true, 0))), 0.002);
}

TEST_F(OfflineRenderTest, UnitWithLeadInStartsEightTenthsOfASecondLater)
{
    TMusicProject song;
    LoadSong(song, "out_5.lvp");
    const TMunit* unit = song.UnitAt(1);
    ASSERT_NE(unit, nullptr);
    TMidiData plain;
    RenderUnitPlayback(*unit, plain, false);
    TMidiData withReset;
    RenderUnitPlayback(*unit, withReset, true);

    const double start = FirstSound(Render(plain));
    const double startAfterReset = FirstSound(Render(withReset));
    ASSERT_GE(start, 0);
    EXPECT_NEAR(startAfterReset - start, 0.8, 0.015);
}

TEST_F(OfflineRenderTest, SameSequenceGivesTheSameBytes)
{
    const TMidiData midi = TrumpetNote(100, 30, 80, 40);
    const TWav first = Render(midi);
    EXPECT_GT(Rms(first, 0, 1), 0.001);
    EXPECT_EQ(Render(midi).Samples, first.Samples);
}

TEST_F(OfflineRenderTest, RenderingHearsNothingOfTheOneBefore)
{
    // One synthesiser, a loud rendering with reverb and chorus, then a quiet one: its first
    // quarter second, before its own note, is silence.
    TScratchDir dir;
    RenderMidiToFile(SharedSynth(), DrumHits(25, true).SaveToString(), dir.File("a.wav"));
    RenderMidiToFile(SharedSynth(), TrumpetNote(127, 64, 127, 127).SaveToString(),
                     dir.File("b.wav"));
    const TWav quiet = ReadWav(dir.File("b.wav"));
    EXPECT_EQ(Rms(quiet, 0, 0.24), 0.0);
    EXPECT_GT(Rms(quiet, 0.25, 0.75), 0.01);
}

TEST_F(OfflineRenderTest, DynamicSampleLoadingSoundsTheSame)
{
    TSynthOptions full;
    full.DynamicSampleLoading = false;
    const TMidiData midi = DrumHits(25, true);
    const TWav a = Render(midi, nullptr, full);
    const TWav b = Render(midi);
    ASSERT_EQ(a.Samples.size(), b.Samples.size());
    // The same samples, give or take the rounding of a float in the reverb's tail.
    int worst = 0;
    for (std::size_t i = 0; i < a.Samples.size(); ++i)
        worst = std::max(worst, std::abs(a.Samples[i] - b.Samples[i]));
    EXPECT_LE(worst, 1);
    EXPECT_GT(Rms(a, 0, 2), 0.003);
}

TEST_F(OfflineRenderTest, FailedRenderingLeavesNoFileBehind)
{
    TScratchDir dir;
    const std::string target = dir.File("song.wav");
    {
        std::ofstream old(target);
        old << "the old file";
    }
    EXPECT_THROW(RenderMidiToFile(SharedSynth(), "MThd broken", target), EInvalidMidiFile);
    EXPECT_EQ(ReadWholeFile(target), "the old file");
    EXPECT_EQ(dir.List(), std::vector<std::string>{"song.wav"});

    EXPECT_THROW(RenderMidiToFile(SharedSynth(), TrumpetNote(100, 64, 0, 0).SaveToString(),
                                  dir.File("missing/song.wav")),
                 EFCreateError);
    EXPECT_EQ(dir.List(), std::vector<std::string>{"song.wav"});

    // A song too long for a WAV file (about 7.6 hours at 4 beats a minute) is refused before
    // a sample is rendered, not after 4 GB.
    TMidiData endless;
    endless.AddTempo(0, 0, 4);
    endless.AddNote(1, 700000, 384, 0, 60, 100);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(RenderMidiToFile(SharedSynth(), endless.SaveToString(), target), EFCreateError);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(ReadWholeFile(target), "the old file");

    // A WAV file's header is completed at its start, which a pipe cannot take: refused, and
    // the pipe stays a pipe.
    const std::string pipe = dir.File("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    std::thread reader(
        [&]
        {
            std::ifstream in(pipe, std::ios::binary);
            std::string ignored((std::istreambuf_iterator<char>(in)), {});
        });
    EXPECT_THROW(RenderMidiToFile(SharedSynth(), TrumpetNote(100, 64, 0, 0).SaveToString(), pipe),
                 EFCreateError);
    reader.join();
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
    EXPECT_EQ(dir.List(), (std::vector<std::string>{"pipe", "song.wav"}));
}

TEST(SoundFontTest, MissingSoundFontSaysWhatToInstall)
{
    TSynthOptions options;
    options.SoundFont = "/nonexistent/GM.sf2";
    TSynthesizer synth(options);
    TScratchDir dir;
    try
    {
        RenderMidiToFile(synth, TrumpetNote(100, 64, 0, 0).SaveToString(), dir.File("x.wav"));
        FAIL() << "rendering without a SoundFont succeeded";
    }
    catch (const EAudioError& e)
    {
        EXPECT_STREQ(e.what(), "No SoundFont found at /nonexistent/GM.sf2: install the package "
                               "fluid-soundfont-gm or choose a SoundFont");
    }
    EXPECT_TRUE(dir.List().empty());
    // Asking again gives the same answer.
    EXPECT_THROW(synth.WaitUntilLoaded(), EAudioError);
}

TEST(SoundFontTest, FileThatIsNoSoundFontIsRefusedWithReason)
{
    TScratchDir dir;
    const std::string path = dir.File("junk.sf2");
    {
        std::ofstream junk(path);
        junk << "This is not a RIFF file at all.";
    }
    TSynthOptions options;
    options.SoundFont = path;
    TSynthesizer synth(options);
    try
    {
        synth.WaitUntilLoaded();
        FAIL() << "a junk SoundFont loaded";
    }
    catch (const EAudioError& e)
    {
        const std::string text = e.what();
        EXPECT_NE(text.find("The SoundFont " + path + " could not be loaded"), std::string::npos)
            << text;
        EXPECT_NE(text.find("fluid-soundfont-gm"), std::string::npos) << text;
    }
}

TEST(SoundFontTest, LoadsInTheBackground)
{
    if (!HaveDefaultSoundFont())
        GTEST_FAIL() << "No SoundFont at " << DefaultSoundFont;
    const auto start = std::chrono::steady_clock::now();
    TSynthesizer synth;
    const auto constructed = std::chrono::steady_clock::now() - start;
    synth.WaitUntilLoaded();
    EXPECT_TRUE(synth.LoadFinished());
    EXPECT_EQ(synth.SoundFontPath(), DefaultSoundFont);
    // The constructor only starts the loading.
    EXPECT_LT(constructed, synth.LoadTime());
}

TEST(SoundFontTest, ChangeLoadsInTheBackgroundAndAFailureKeepsTheOneInUse)
{
    if (!HaveDefaultSoundFont())
        GTEST_FAIL() << "No SoundFont at " << DefaultSoundFont;
    TScratchDir dir;
    const std::string other = dir.File("other.sf2");
    std::filesystem::create_symlink(DefaultSoundFont, other);
    const std::string junk = dir.File("junk.sf2");
    {
        std::ofstream out(junk);
        out << "not a SoundFont";
    }
    TSynthesizer synth;
    const std::string midi = TrumpetNote(100, 64, 0, 0).SaveToString();

    // A file that is no SoundFont: the reason, and the one in use plays on.
    std::shared_future<void> refused = synth.ChangeSoundFont(junk);
    EXPECT_THROW(refused.get(), EAudioError);
    EXPECT_EQ(synth.SoundFontPath(), DefaultSoundFont);
    RenderMidiToFile(synth, midi, dir.File("a.wav"));
    EXPECT_GT(Rms(ReadWav(dir.File("a.wav")), 0.25, 0.75), 0.01);

    synth.ChangeSoundFont(other).get();
    EXPECT_EQ(synth.SoundFontPath(), other);
    RenderMidiToFile(synth, midi, dir.File("b.wav"));
    // The old one is unloaded: the trumpet sounds from the new one.
    EXPECT_GT(Rms(ReadWav(dir.File("b.wav")), 0.25, 0.75), 0.01);

    // A synthesiser that started without a SoundFont gets one.
    TSynthOptions missing;
    missing.SoundFont = dir.File("missing.sf2");
    TSynthesizer late(missing);
    EXPECT_THROW(late.WaitUntilLoaded(), EAudioError);
    late.ChangeSoundFont(other).get();
    EXPECT_NO_THROW(late.WaitUntilLoaded());
    RenderMidiToFile(late, midi, dir.File("c.wav"));
    EXPECT_GT(Rms(ReadWav(dir.File("c.wav")), 0.25, 0.75), 0.01);
}
