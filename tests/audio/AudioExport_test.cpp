// Audio files of every format, their loudness and a rendering given up half-way: the files
// are read back with libsndfile and measured with libebur128, independently of the writer.

#include "AudioTestSupport.h"

#include "audio/AudioError.h"
#include "audio/AudioFileWriter.h"
#include "audio/Loudness.h"
#include "audio/OfflineRenderer.h"
#include "audio/PlaybackLoudness.h"
#include "audio/Synthesizer.h"
#include "base/FileIO.h"
#include "midi/MidiData.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include <sndfile.h>

namespace
{
/// Three seconds of piano chords over a drum beat, with the echo after them.
std::string ShortSong()
{
    TMidiData midi;
    midi.SetTrackCount(1);
    midi.AddTempo(0, 0, 120);
    midi.AddProgramChange(0, 0, 0, 1);
    for (int beat = 0; beat < 6; ++beat)
    {
        const std::int32_t at = beat * 192;
        for (const int key : {48, 55, 60, 64})
            midi.AddNote(0, at, 180, 0, key + (beat % 2) * 5, 100);
        midi.AddNote(0, at, 96, 9, beat % 2 ? 38 : 36, 110);
        midi.AddNote(0, at + 96, 96, 9, 42, 90);
    }
    return midi.SaveToString();
}

TSynthesizer& Synth()
{
    static TSynthesizer synth;
    return synth;
}

class AudioExportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!HaveDefaultSoundFont())
            GTEST_FAIL() << "No SoundFont at " << DefaultSoundFont;
    }
};
} // namespace

TEST(AudioFormatTest, FormatFollowsTheExtensionOrTheName)
{
    EXPECT_EQ(AudioFormatFromPath("a/song.WAV"), TAudioFormat::Wav);
    EXPECT_EQ(AudioFormatFromPath("song.flac"), TAudioFormat::Flac);
    EXPECT_EQ(AudioFormatFromPath("song.ogg"), TAudioFormat::Ogg);
    EXPECT_EQ(AudioFormatFromPath("song.oga"), TAudioFormat::Ogg);
    EXPECT_EQ(AudioFormatFromPath("song.mp3"), std::nullopt);
    EXPECT_EQ(AudioFormatFromPath("dir.flac/song"), std::nullopt);
    EXPECT_EQ(AudioFormatFromName("FLAC"), TAudioFormat::Flac);
    EXPECT_EQ(AudioFormatFromName("oga"), std::nullopt);
    // 4 GiB of 24-bit stereo is two thirds of the frames of 16-bit.
    EXPECT_EQ(MaxWavFrames(2, 16), 1073741814u);
    EXPECT_EQ(MaxWavFrames(2, 24), 715827876u);
}

TEST_F(AudioExportTest, EveryFormatReadsBackAtTheTargetLoudnessAndTheSameLength)
{
    const std::string midi = ShortSong();
    TScratchDir dir;
    struct TCase
    {
        const char* Name;
        TAudioFormat Format;
        int Bits;
        int SndFormat;
    };
    const TCase cases[] = {
        {"song.wav", TAudioFormat::Wav, 16, SF_FORMAT_WAV | SF_FORMAT_PCM_16},
        {"song24.wav", TAudioFormat::Wav, 24, SF_FORMAT_WAV | SF_FORMAT_PCM_24},
        {"song.flac", TAudioFormat::Flac, 16, SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
        {"song.ogg", TAudioFormat::Ogg, 16, SF_FORMAT_OGG | SF_FORMAT_VORBIS},
    };
    std::uint64_t frames = 0;
    for (const TCase& c : cases)
    {
        SCOPED_TRACE(c.Name);
        TRenderOptions options;
        options.Format = c.Format;
        options.Bits = c.Bits;
        options.Normalize = true;
        TSynthesizer synth;
        const TRenderResult result = RenderMidiToFile(synth, midi, dir.File(c.Name), options);
        const TReadBack sound = ReadBack(dir.File(c.Name));
        EXPECT_EQ(sound.Format, c.SndFormat);
        EXPECT_EQ(sound.SampleRate, 44100);
        EXPECT_EQ(sound.Channels, 2);
        EXPECT_EQ(sound.Frames(), result.Frames);
        EXPECT_GT(result.Frames, result.SongFrames - 1);
        // The same gain gives the same length; Ogg Vorbis is kept further under the ceiling.
        if (frames == 0)
            frames = result.Frames;
        if (c.Format != TAudioFormat::Ogg)
        {
            EXPECT_EQ(result.Frames, frames);
        }
        double lufs = 0;
        double peak = 0;
        Measure(sound, lufs, peak);
        EXPECT_NEAR(lufs, -14.0, 0.5);
        EXPECT_LE(peak, -1.0);
        EXPECT_LT(result.Before.Lufs, -20.0) << "the synthesiser alone is much quieter";
    }
    EXPECT_EQ(dir.List().size(), 4u) << "no temporary file left";
}

TEST_F(AudioExportTest, NormalisedRenderingIsRepeatableAndFollowsTheTarget)
{
    const std::string midi = ShortSong();
    TScratchDir dir;
    TRenderOptions options;
    options.Normalize = true;
    options.Target.Lufs = -23;
    // Each with a synthesiser of its own, as lyravane-cli renders.
    for (const char* name : {"a.wav", "b.wav"})
    {
        TSynthesizer synth;
        RenderMidiToFile(synth, midi, dir.File(name), options);
    }
    EXPECT_TRUE(ReadWholeFile(dir.File("a.wav")) == ReadWholeFile(dir.File("b.wav")))
        << "the same song gives the same bytes";
    // Ogg Vorbis too, whose stream serial number libsndfile would draw at random; the pages
    // made anew still read back.
    options.Format = TAudioFormat::Ogg;
    for (const char* name : {"a.ogg", "b.ogg"})
    {
        TSynthesizer synth;
        RenderMidiToFile(synth, midi, dir.File(name), options);
    }
    EXPECT_TRUE(ReadWholeFile(dir.File("a.ogg")) == ReadWholeFile(dir.File("b.ogg")))
        << "the same song gives the same Ogg bytes";
    EXPECT_EQ(ReadBack(dir.File("a.ogg")).Samples.size(),
              ReadBack(dir.File("a.wav")).Samples.size());
    double lufs = 0;
    double peak = 0;
    Measure(ReadBack(dir.File("a.wav")), lufs, peak);
    EXPECT_NEAR(lufs, -23.0, 0.5);

    // Without normalising, 24 bits hold the 16-bit file's samples and 8 bits more.
    {
        TSynthesizer synth;
        RenderMidiToFile(synth, midi, dir.File("plain16.wav"));
    }
    TRenderOptions deep;
    deep.Bits = 24;
    TSynthesizer synth;
    RenderMidiToFile(synth, midi, dir.File("plain24.wav"), deep);
    const TReadBack a = ReadBack(dir.File("plain16.wav"));
    const TReadBack b = ReadBack(dir.File("plain24.wav"));
    ASSERT_EQ(a.Samples.size(), b.Samples.size());
    float worst = 0;
    for (std::size_t i = 0; i < a.Samples.size(); ++i)
        worst = std::max(worst, std::fabs(a.Samples[i] - b.Samples[i]));
    EXPECT_LE(worst, 2.0f / 32768) << "within the 16-bit dither and rounding";
    EXPECT_GT(worst, 0.0f) << "the 24-bit file has its own finer steps";
}

TEST_F(AudioExportTest, CancelledRenderingLeavesNothingBehind)
{
    const std::string midi = ShortSong();
    for (const char* name : {"song.wav", "song.flac", "song.ogg"})
        for (const double at : {0.3, 0.85, 0.95})
        {
            SCOPED_TRACE(std::string(name) + " at " + std::to_string(at));
            TScratchDir dir;
            const std::string target = dir.File(name);
            {
                std::ofstream old(target);
                old << "the old file";
            }
            TRenderOptions options;
            options.Format = *AudioFormatFromPath(name);
            options.Normalize = true;
            double last = 0;
            EXPECT_THROW(RenderMidiToFile(Synth(), midi, target, options,
                                          [&](double done)
                                          {
                                              EXPECT_GE(done, last) << "progress never goes back";
                                              last = done;
                                              return done < at;
                                          }),
                         ERenderCancelled);
            EXPECT_GE(last, at);
            EXPECT_EQ(ReadWholeFile(target), "the old file");
            EXPECT_EQ(dir.List(), std::vector<std::string>{name});
        }
}

namespace
{
/// The sound through a normaliser, measured as it comes and then read again in pieces.
std::vector<float> Normalise(const std::vector<float>& in, int rate, const TLoudnessTarget& target,
                             TLoudnessNormaliser& normaliser)
{
    for (std::size_t at = 0; at < in.size(); at += 2 * 1000)
        normaliser.Add(in.data() + at, std::min<std::size_t>(1000, (in.size() - at) / 2));
    const TMemorySound sound(in, 2);
    normaliser.Plan(sound, target);
    std::vector<float> out(in.size());
    TGainPass pass(sound, 2, rate, normaliser.GainPlan());
    for (std::size_t at = 0; at < in.size(); at += 2 * 777)
        pass.Next(777, out.data() + at);
    return out;
}
} // namespace

TEST(LoudnessTest, GainAndLimiterReachTheTargetUnderTheCeiling)
{
    // Two seconds of a quiet 440 Hz tone with a loud click every half second: the clicks
    // would go far over the ceiling with the gain the tone needs.
    const int rate = 48000;
    std::vector<float> samples(2 * 2 * rate);
    for (std::size_t f = 0; f < samples.size() / 2; ++f)
    {
        float v = 0.01f * static_cast<float>(std::sin(2 * M_PI * 440 * f / rate));
        if (f % (rate / 2) < 4)
            v += 0.5f;
        samples[2 * f] = v;
        samples[2 * f + 1] = -v;
    }
    const TLoudness before = MeasureLoudness(samples.data(), samples.size() / 2, 2, rate);
    ASSERT_LT(before.Lufs, -30.0);
    TLoudnessNormaliser normaliser(2, rate);
    const std::vector<float> out = Normalise(samples, rate, {-14.0, -1.0}, normaliser);
    const TLoudness after = MeasureLoudness(out.data(), out.size() / 2, 2, rate);
    EXPECT_NEAR(after.Lufs, -14.0, 0.1);
    EXPECT_LE(after.TruePeakDb, -1.0);
    EXPECT_NEAR(after.Lufs, normaliser.After().Lufs, 1e-9);
    EXPECT_GT(normaliser.GainDb(), 20.0);

    // Down to -30: one factor for everything, no limiting.
    TLoudnessNormaliser quieter(2, rate);
    const std::vector<float> down = Normalise(out, rate, {-30.0, -1.0}, quieter);
    const float factor = down[100] / out[100];
    for (std::size_t i = 0; i < out.size(); i += 997)
        EXPECT_NEAR(down[i], out[i] * factor, 1e-6f);
    EXPECT_NEAR(quieter.After().Lufs, -30.0, 0.1);

    // Silence is left as it is.
    const std::vector<float> silence(2 * rate, 0.0f);
    TLoudnessNormaliser none(2, rate);
    Normalise(silence, rate, {}, none);
    EXPECT_EQ(none.GainDb(), 0.0);
}

// Playback's gain comes from measuring alone, which must hear the song as the normalised
// export does, and answers only the latest song asked for.
TEST_F(AudioExportTest, PlaybackLoudnessIsTheExportsStartingPoint)
{
    const std::string midi = ShortSong();
    TScratchDir dir;
    TRenderOptions options;
    options.Normalize = true;
    TSynthesizer synth;
    const TRenderResult exported = RenderMidiToFile(synth, midi, dir.File("a.wav"), options);
    EXPECT_NEAR(MeasureMidiLoudness(synth, midi).Lufs, exported.Before.Lufs, 0.05);

    std::mutex lock;
    std::condition_variable done;
    std::vector<std::pair<unsigned, double>> answers;
    TPlaybackLoudness loudness(
        [&](unsigned request, double lufs)
        {
            const std::lock_guard guard(lock);
            answers.emplace_back(request, lufs);
            done.notify_all();
        });
    loudness.Measure(midi, DefaultSoundFont);
    const unsigned last = loudness.Measure(midi, DefaultSoundFont);
    std::unique_lock guard(lock);
    ASSERT_TRUE(done.wait_for(guard, std::chrono::seconds(60), [&] { return !answers.empty(); }));
    EXPECT_EQ(answers.back().first, last) << "the earlier song was given up";
    EXPECT_NEAR(answers.back().second, exported.Before.Lufs, 0.05);
}

// The parts rendered to files of their own, with the mix's gain, all of one length, sum to the
// normal export; a part that does not play is a silent file.
TEST_F(AudioExportTest, PartsSumToTheExport)
{
    const std::string midi = ShortSong();
    TScratchDir dir;
    TRenderOptions options;
    options.Normalize = true;
    options.Bits = 24;
    TSynthesizer synth;
    const TRenderResult whole = RenderMidiToFile(synth, midi, dir.File("mix.wav"), options);
    TSynthOptions partOutputs;
    partOutputs.PartOutputs = true;
    TSynthesizer parts(partOutputs);
    const std::vector<TStemFile> stems = {
        {0, dir.File("piano.wav")}, {9, dir.File("drums.wav")}, {3, dir.File("bass.wav")}};
    const TRenderResult mixed = RenderMidiStems(parts, midi, stems, options);
    EXPECT_NEAR(mixed.GainDb, whole.GainDb, 0.01);

    const TReadBack mix = ReadBack(dir.File("mix.wav"));
    std::vector<TReadBack> read;
    for (const TStemFile& stem : stems)
    {
        read.push_back(ReadBack(stem.Path));
        ASSERT_EQ(read.back().Samples.size(), read.front().Samples.size()) << "aligned";
    }
    // Where the echo falls under the 16-bit noise floor may differ by a few frames of
    // rounding.
    const std::size_t common = std::min(mix.Samples.size(), read.front().Samples.size());
    const std::vector<float>& longer =
        mix.Samples.size() > common ? mix.Samples : read.front().Samples;
    for (std::size_t i = common; i < longer.size(); ++i)
        ASSERT_LT(std::fabs(longer[i]), 4.0 / 32768) << "only the echo's last whisper differs";
    double worst = 0;
    double bass = 0;
    for (std::size_t i = 0; i < common; ++i)
    {
        worst = std::max(worst, std::fabs(double{read[0].Samples[i]} + read[1].Samples[i] +
                                          read[2].Samples[i] - mix.Samples[i]));
        bass = std::max(bass, std::fabs(double{read[2].Samples[i]}));
    }
    EXPECT_LT(worst, 2e-5) << "the parts sum to the mix within rounding";
    EXPECT_LT(bass, 1e-6) << "a channel with no notes is silent (its reverb idles at -120 dBFS)";
    EXPECT_GT(std::fabs(read[1].Samples[mix.Samples.size() / 4]), 0.0);
}
