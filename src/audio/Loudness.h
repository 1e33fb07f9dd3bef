#pragma once

#include <cstddef>
#include <functional>
#include <vector>

/// What a normalised rendering aims at: an integrated loudness (ITU-R BS.1770, in LUFS)
/// under a true-peak ceiling (dBTP).
struct TLoudnessTarget
{
    double Lufs = -14.0;
    double TruePeakDb = -1.0;
};

/// Integrated loudness and true peak of some sound, measured with libebur128.
struct TLoudness
{
    /// -HUGE_VAL for silence (nothing above the absolute gate of -70 LUFS).
    double Lufs = 0;
    double TruePeakDb = 0;
};

/// Measures interleaved samples of channels channels; truePeak off saves the oversampling
/// (TruePeakDb stays 0).
TLoudness MeasureLoudness(const float* samples, std::size_t frames, int channels, int sampleRate,
                          bool truePeak = true);

/// The gain that brings a rendering to a loudness target: one factor for the whole song
/// and, where the song's peaks would rise above the ceiling, a look-ahead limiter that lowers
/// them smoothly. Everything is worked out in floating point from the samples alone, so the
/// same song always gets the same gain. Silence is left as it is.
class TLoudnessNormaliser
{
public:
    /// checkpoint is called between the passes over the sound; it may raise to give up.
    TLoudnessNormaliser(const std::vector<float>& samples, int channels, int sampleRate,
                        const TLoudnessTarget& target,
                        const std::function<void()>& checkpoint = {});

    /// Frames count frames of the samples from frame from on into out, the gain applied.
    void Apply(const float* samples, std::size_t from, std::size_t count, float* out) const;

    /// The loudness of the samples as they came.
    const TLoudness& Before() const { return FBefore; }
    /// The loudness after Apply.
    const TLoudness& After() const { return FAfter; }
    /// The factor for the whole song, in dB.
    double GainDb() const;

private:
    void PlanLimiter(double ceiling);
    /// The sound after Apply, its loudness or its true peak or both.
    TLoudness MeasureResult(bool loudness, bool truePeak) const;

    const std::vector<float>& FSamples;
    int FChannels;
    int FSampleRate;
    float FGain = 1.0f;
    /// The limiter's factor per frame; empty while no peak needs it.
    std::vector<float> FLimit;
    TLoudness FBefore;
    TLoudness FAfter;
};
