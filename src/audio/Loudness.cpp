#include "audio/Loudness.h"

#include "audio/AudioError.h"
#include "audio/SoundLibraries.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <memory>
#include <utility>

namespace
{
/// Frames handed to libebur128 at a time.
constexpr std::size_t ChunkFrames = 8192;
/// The limiter looks 5 ms ahead and lets go over 80 ms.
constexpr double LookAheadSeconds = 0.005;
constexpr double ReleaseSeconds = 0.08;
/// A song is never made more than 40 dB louder: what lies below is noise.
constexpr double MaxGainDb = 40.0;
/// The loudness is reached to within this many LU, and peaks kept this far below the ceiling
/// (the last step of a peak between samples is not seen by the limiter).
constexpr double LoudnessTolerance = 0.05;
constexpr double CeilingMarginDb = 0.3;
constexpr int MaxRounds = 8;

double FromDb(double db)
{
    return std::pow(10.0, db / 20.0);
}

struct TEbur128Deleter
{
    void operator()(ebur128_state* state) const { Ebur128().ebur128_destroy(&state); }
};
using TEbur128Ptr = std::unique_ptr<ebur128_state, TEbur128Deleter>;

/// Feeds chunks of sound to libebur128 and reads the figures back.
class TMeter
{
public:
    TMeter(int channels, int sampleRate, bool loudness, bool truePeak)
        : FState(Ebur128().ebur128_init(
              static_cast<unsigned>(channels), static_cast<unsigned long>(sampleRate),
              (loudness ? EBUR128_MODE_I : 0) | (truePeak ? EBUR128_MODE_TRUE_PEAK : 0))),
          FChannels(channels), FLoudness(loudness), FTruePeak(truePeak)
    {
        if (!FState)
            throw EAudioError("The loudness meter cannot measure this sound");
    }

    void Add(const float* samples, std::size_t frames)
    {
        if (Ebur128().ebur128_add_frames_float(FState.get(), samples, frames) != EBUR128_SUCCESS)
            throw EAudioError("The loudness meter cannot measure this sound");
    }

    TLoudness Result() const
    {
        TLoudness result;
        if (FLoudness)
            Ebur128().ebur128_loudness_global(FState.get(), &result.Lufs);
        if (FTruePeak)
        {
            double peak = 0;
            for (int c = 0; c < FChannels; ++c)
            {
                double channelPeak = 0;
                Ebur128().ebur128_true_peak(FState.get(), static_cast<unsigned>(c), &channelPeak);
                peak = std::max(peak, channelPeak);
            }
            result.TruePeakDb = peak > 0 ? 20.0 * std::log10(peak) : -HUGE_VAL;
        }
        return result;
    }

private:
    TEbur128Ptr FState;
    int FChannels;
    bool FLoudness;
    bool FTruePeak;
};
} // namespace

TLoudness MeasureLoudness(const float* samples, std::size_t frames, int channels, int sampleRate,
                          bool truePeak)
{
    TMeter meter(channels, sampleRate, true, truePeak);
    for (std::size_t at = 0; at < frames; at += ChunkFrames)
        meter.Add(samples + at * static_cast<std::size_t>(channels),
                  std::min(ChunkFrames, frames - at));
    return meter.Result();
}

TLoudnessNormaliser::TLoudnessNormaliser(const std::vector<float>& samples, int channels,
                                         int sampleRate, const TLoudnessTarget& target,
                                         const std::function<void()>& checkpoint)
    : FSamples(samples), FChannels(channels), FSampleRate(sampleRate)
{
    const std::size_t frames = samples.size() / static_cast<std::size_t>(channels);
    FBefore = MeasureLoudness(samples.data(), frames, channels, sampleRate, false);
    FAfter = FBefore;
    if (!std::isfinite(FBefore.Lufs))
        return; // silence stays silence
    double gainDb = std::min(target.Lufs - FBefore.Lufs, MaxGainDb);
    double ceilingDb = target.TruePeakDb - CeilingMarginDb;
    // Each round corrects the gain by what the limiter took away; once the loudness is
    // reached, the true peak (the slow measurement) is checked, and the limiter's ceiling
    // lowered by what peaks between samples still rose above the target's.
    for (int round = 0; round < MaxRounds; ++round)
    {
        if (checkpoint)
            checkpoint();
        FGain = static_cast<float>(FromDb(gainDb));
        PlanLimiter(FromDb(ceilingDb));
        FAfter = MeasureResult(true, false);
        const bool last = round + 1 == MaxRounds;
        if (std::fabs(FAfter.Lufs - target.Lufs) > LoudnessTolerance && gainDb < MaxGainDb && !last)
        {
            gainDb = std::min(gainDb + target.Lufs - FAfter.Lufs, MaxGainDb);
            continue;
        }
        // The loudness is that of this round already.
        FAfter.TruePeakDb = MeasureResult(false, true).TruePeakDb;
        if (FAfter.TruePeakDb <= target.TruePeakDb)
            break;
        ceilingDb -= FAfter.TruePeakDb - target.TruePeakDb + CeilingMarginDb / 2;
    }
}

double TLoudnessNormaliser::GainDb() const
{
    return 20.0 * std::log10(static_cast<double>(FGain));
}

void TLoudnessNormaliser::PlanLimiter(double ceiling)
{
    const auto channels = static_cast<std::size_t>(FChannels);
    const std::size_t frames = FSamples.size() / channels;
    // The factor each frame needs on its own to stay under the ceiling.
    std::vector<float> need(frames);
    bool any = false;
    for (std::size_t f = 0; f < frames; ++f)
    {
        float peak = 0;
        for (std::size_t c = 0; c < channels; ++c)
            peak = std::max(peak, std::fabs(FSamples[f * channels + c]));
        const double level = static_cast<double>(peak) * FGain;
        need[f] = level > ceiling ? static_cast<float>(ceiling / level) : 1.0f;
        any = any || level > ceiling;
    }
    FLimit.clear();
    if (!any)
        return;
    const std::size_t ahead =
        std::max<std::size_t>(1, static_cast<std::size_t>(LookAheadSeconds * FSampleRate));
    // The least factor of the frames ahead, in place, from the end backwards.
    std::deque<std::pair<std::size_t, float>> window;
    for (std::size_t f = frames; f-- > 0;)
    {
        while (!window.empty() && window.back().second >= need[f])
            window.pop_back();
        window.emplace_back(f, need[f]);
        while (window.front().first >= f + ahead)
            window.pop_front();
        need[f] = window.front().second;
    }
    // A slow release, then a moving average over the look-ahead that turns the steps into
    // ramps. Every frame the average covers saw the frame's own peak coming, so the average
    // never lets a peak through.
    const float release = static_cast<float>(1.0 - std::exp(-1.0 / (ReleaseSeconds * FSampleRate)));
    std::vector<float> recent(ahead, need[0]);
    double sum = static_cast<double>(need[0]) * static_cast<double>(ahead);
    float held = 1.0f;
    for (std::size_t f = 0; f < frames; ++f)
    {
        held = std::min(need[f], held + (1.0f - held) * release);
        sum += static_cast<double>(held) - static_cast<double>(recent[f % ahead]);
        recent[f % ahead] = held;
        need[f] = static_cast<float>(sum / static_cast<double>(ahead));
    }
    FLimit = std::move(need);
}

void TLoudnessNormaliser::Apply(const float* samples, std::size_t from, std::size_t count,
                                float* out) const
{
    const auto channels = static_cast<std::size_t>(FChannels);
    for (std::size_t f = 0; f < count; ++f)
    {
        const float factor = FLimit.empty() ? FGain : FGain * FLimit[from + f];
        for (std::size_t c = 0; c < channels; ++c)
            out[f * channels + c] = samples[f * channels + c] * factor;
    }
}

TLoudness TLoudnessNormaliser::MeasureResult(bool loudness, bool truePeak) const
{
    const auto channels = static_cast<std::size_t>(FChannels);
    const std::size_t frames = FSamples.size() / channels;
    TMeter meter(FChannels, FSampleRate, loudness, truePeak);
    std::vector<float> chunk(ChunkFrames * channels);
    for (std::size_t at = 0; at < frames; at += ChunkFrames)
    {
        const std::size_t count = std::min(ChunkFrames, frames - at);
        Apply(FSamples.data() + at * channels, at, count, chunk.data());
        meter.Add(chunk.data(), count);
    }
    return meter.Result();
}
