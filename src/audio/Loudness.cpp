#include "audio/Loudness.h"

#include "audio/AudioError.h"
#include "audio/SoundLibraries.h"

#include <algorithm>
#include <cmath>
#include <deque>
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

ebur128_state* State(void* state)
{
    return static_cast<ebur128_state*>(state);
}

[[noreturn]] void CannotMeasure()
{
    throw EAudioError(Core::Tr("The loudness meter cannot measure this sound"));
}
} // namespace

TLoudnessMeter::TLoudnessMeter(int channels, int sampleRate, bool loudness, bool truePeak)
    : FState(Ebur128().ebur128_init(
          static_cast<unsigned>(channels), static_cast<unsigned long>(sampleRate),
          (loudness ? EBUR128_MODE_I : 0) | (truePeak ? EBUR128_MODE_TRUE_PEAK : 0))),
      FChannels(channels), FLoudness(loudness), FTruePeak(truePeak)
{
    if (FState == nullptr)
        CannotMeasure();
}

TLoudnessMeter::~TLoudnessMeter()
{
    ebur128_state* state = State(FState);
    Ebur128().ebur128_destroy(&state);
}

void TLoudnessMeter::Add(const float* samples, std::size_t frames)
{
    if (Ebur128().ebur128_add_frames_float(State(FState), samples, frames) != EBUR128_SUCCESS)
        CannotMeasure();
}

TLoudness TLoudnessMeter::Result() const
{
    TLoudness result;
    if (FLoudness)
        Ebur128().ebur128_loudness_global(State(FState), &result.Lufs);
    if (FTruePeak)
    {
        double peak = 0;
        for (int c = 0; c < FChannels; ++c)
        {
            double channelPeak = 0;
            Ebur128().ebur128_true_peak(State(FState), static_cast<unsigned>(c), &channelPeak);
            peak = std::max(peak, channelPeak);
        }
        result.TruePeakDb = peak > 0 ? 20.0 * std::log10(peak) : -HUGE_VAL;
    }
    return result;
}

TLoudness MeasureLoudness(const float* samples, std::size_t frames, int channels, int sampleRate,
                          bool truePeak)
{
    TLoudnessMeter meter(channels, sampleRate, true, truePeak);
    for (std::size_t at = 0; at < frames; at += ChunkFrames)
        meter.Add(samples + at * static_cast<std::size_t>(channels),
                  std::min(ChunkFrames, frames - at));
    return meter.Result();
}

void TMemorySound::Read(std::size_t from, std::size_t count, float* out) const
{
    std::copy_n(FSamples.data() + from * FChannels, count * FChannels, out);
}

TGainPass::TGainPass(const TSoundSource& sound, int channels, int sampleRate, const TGainPlan& plan)
    : FSound(sound), FChannels(static_cast<std::size_t>(channels)), FPlan(plan),
      FAhead(std::max<std::size_t>(1, static_cast<std::size_t>(LookAheadSeconds * sampleRate))),
      FRelease(static_cast<float>(1.0 - std::exp(-1.0 / (ReleaseSeconds * sampleRate))))
{
}

std::size_t TGainPass::Next(std::size_t count, float* out)
{
    const std::size_t frames = FSound.Frames();
    count = std::min(count, frames - FAt);
    if (count == 0)
        return 0;
    if (!FPlan.Limit)
    {
        FSound.Read(FAt, count, out);
        for (std::size_t i = 0; i < count * FChannels; ++i)
            out[i] *= FPlan.Gain;
    }
    else
        // The frames ahead that the last of these sees coming.
        Limit(count, std::min(count + FAhead - 1, frames - FAt), out);
    FAt += count;
    return count;
}

void TGainPass::Limit(std::size_t count, std::size_t span, float* out)
{
    FRaw.resize(span * FChannels);
    FNeed.resize(span);
    FSound.Read(FAt, span, FRaw.data());
    // The factor each frame needs on its own to stay under the ceiling.
    const std::size_t watched =
        FPlan.PeakChannels != 0 ? std::min(FPlan.PeakChannels, FChannels) : FChannels;
    for (std::size_t f = 0; f < span; ++f)
    {
        float peak = 0;
        for (std::size_t c = 0; c < watched; ++c)
            peak = std::max(peak, std::fabs(FRaw[f * FChannels + c]));
        const double level = static_cast<double>(peak) * FPlan.Gain;
        FNeed[f] = level > FPlan.Ceiling ? static_cast<float>(FPlan.Ceiling / level) : 1.0f;
    }
    // The least factor of the frames ahead, in place, from the end backwards.
    std::deque<std::pair<std::size_t, float>> window;
    for (std::size_t f = span; f-- > 0;)
    {
        while (!window.empty() && window.back().second >= FNeed[f])
            window.pop_back();
        window.emplace_back(f, FNeed[f]);
        while (window.front().first >= f + FAhead)
            window.pop_front();
        FNeed[f] = window.front().second;
    }
    // A slow release, then a moving average over the look-ahead that turns the steps into
    // ramps. Every frame the average covers saw the frame's own peak coming, so the average
    // never lets a peak through.
    if (FAt == 0)
    {
        FRecent.assign(FAhead, FNeed[0]);
        FSum = static_cast<double>(FNeed[0]) * static_cast<double>(FAhead);
    }
    for (std::size_t f = 0; f < count; ++f)
    {
        const std::size_t at = FAt + f;
        FHeld = std::min(FNeed[f], FHeld + (1.0f - FHeld) * FRelease);
        FSum += static_cast<double>(FHeld) - static_cast<double>(FRecent[at % FAhead]);
        FRecent[at % FAhead] = FHeld;
        const float factor = FPlan.Gain * static_cast<float>(FSum / static_cast<double>(FAhead));
        for (std::size_t c = 0; c < FChannels; ++c)
            out[f * FChannels + c] = FRaw[f * FChannels + c] * factor;
    }
}

TStereoMeter::TStereoMeter(int sampleRate)
    : FLoudness(2, sampleRate, true, false), FLeft(1, sampleRate, false, true),
      FRight(1, sampleRate, false, true)
{
}

void TStereoMeter::Add(const float* samples, std::size_t frames)
{
    std::vector<float> left(frames);
    std::vector<float> right(frames);
    for (std::size_t f = 0; f < frames; ++f)
    {
        left[f] = samples[2 * f];
        right[f] = samples[2 * f + 1];
    }
    FWork.Push(
        [this, left = std::move(left), right = std::move(right)]
        {
            FLeft.Add(left.data(), left.size());
            FRight.Add(right.data(), right.size());
        });
    FLoudness.Add(samples, frames);
}

TLoudness TStereoMeter::Result()
{
    FWork.Finish();
    TLoudness result;
    result.Lufs = FLoudness.Result().Lufs;
    // Each channel's true peak is worked out from its own samples alone.
    result.TruePeakDb = std::max(FLeft.Result().TruePeakDb, FRight.Result().TruePeakDb);
    return result;
}

TLoudnessNormaliser::TLoudnessNormaliser(int channels, int sampleRate)
    : FChannels(channels), FSampleRate(sampleRate),
      FRawMeter(std::make_unique<TLoudnessMeter>(channels, sampleRate, true, false))
{
}

TLoudnessNormaliser::~TLoudnessNormaliser() = default;

void TLoudnessNormaliser::Add(const float* samples, std::size_t frames)
{
    FRawMeter->Add(samples, frames);
    for (std::size_t i = 0; i < frames * static_cast<std::size_t>(FChannels); ++i)
        FRawPeak = std::max(FRawPeak, std::fabs(samples[i]));
}

bool TLoudnessNormaliser::Start(const TLoudnessTarget& target)
{
    FTarget = target;
    FBefore = FRawMeter->Result();
    FAfter = FBefore;
    FPlan = TGainPlan{};
    if (!std::isfinite(FBefore.Lufs))
        return false; // silence stays silence
    FGainDb = std::min(target.Lufs - FBefore.Lufs, MaxGainDb);
    FCeilingDb = target.TruePeakDb - CeilingMarginDb;
    FRound = 0;
    SetPlan();
    return true;
}

void TLoudnessNormaliser::SetPlan()
{
    FPlan.Gain = static_cast<float>(FromDb(FGainDb));
    FPlan.Ceiling = FromDb(FCeilingDb);
    FPlan.Limit = static_cast<double>(FRawPeak) * FPlan.Gain > FPlan.Ceiling;
}

bool TLoudnessNormaliser::Judge(const TLoudness& result)
{
    // Each round corrects the gain by what the limiter took away; once the loudness is
    // reached, the true peak is checked, and the limiter's ceiling lowered by what peaks
    // between samples still rose above the target's.
    FAfter = result;
    const bool last = FRound + 1 == MaxRounds;
    if (std::fabs(FAfter.Lufs - FTarget.Lufs) > LoudnessTolerance && FGainDb < MaxGainDb && !last)
        FGainDb = std::min(FGainDb + FTarget.Lufs - FAfter.Lufs, MaxGainDb);
    else if (FAfter.TruePeakDb <= FTarget.TruePeakDb || last)
        return true;
    else
        FCeilingDb -= FAfter.TruePeakDb - FTarget.TruePeakDb + CeilingMarginDb / 2;
    ++FRound;
    SetPlan();
    return false;
}

void TLoudnessNormaliser::Plan(const TSoundSource& sound, const TLoudnessTarget& target,
                               const std::function<void()>& checkpoint)
{
    if (Start(target))
        Settle(sound, checkpoint);
}

void TLoudnessNormaliser::Settle(const TSoundSource& sound, const std::function<void()>& checkpoint)
{
    do
    {
        if (checkpoint)
            checkpoint();
    } while (!Judge(MeasureResult(sound)));
}

double TLoudnessNormaliser::GainDb() const
{
    return 20.0 * std::log10(static_cast<double>(FPlan.Gain));
}

TLoudness TLoudnessNormaliser::MeasureResult(const TSoundSource& sound) const
{
    TStereoMeter meter(FSampleRate);
    TGainPass pass(sound, FChannels, FSampleRate, FPlan);
    std::vector<float> chunk(ChunkFrames * static_cast<std::size_t>(FChannels));
    while (const std::size_t count = pass.Next(ChunkFrames, chunk.data()))
        meter.Add(chunk.data(), count);
    return meter.Result();
}
