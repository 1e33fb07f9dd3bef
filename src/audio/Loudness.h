#pragma once

#include "audio/WorkQueue.h"
#include <cstddef>

#include <functional>
#include <memory>
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

/// Feeds interleaved sound to libebur128, in pieces of any size, and reads the figures back;
/// truePeak off saves the oversampling (TruePeakDb stays 0).
class TLoudnessMeter
{
public:
    TLoudnessMeter(int channels, int sampleRate, bool loudness, bool truePeak);
    ~TLoudnessMeter();
    TLoudnessMeter(const TLoudnessMeter&) = delete;
    TLoudnessMeter& operator=(const TLoudnessMeter&) = delete;

    void Add(const float* samples, std::size_t frames);
    TLoudness Result() const;

private:
    /// libebur128's state, whose type its header keeps to itself.
    void* FState;
    int FChannels;
    bool FLoudness;
    bool FTruePeak;
};

/// Measures interleaved samples of channels channels.
TLoudness MeasureLoudness(const float* samples, std::size_t frames, int channels, int sampleRate,
                          bool truePeak = true);

/// Interleaved sound that can be read again, any part of it, as often as needed.
class TSoundSource
{
public:
    virtual ~TSoundSource() = default;
    virtual std::size_t Frames() const = 0;
    virtual void Read(std::size_t from, std::size_t count, float* out) const = 0;
};

/// Sound held in memory.
class TMemorySound : public TSoundSource
{
public:
    TMemorySound(const std::vector<float>& samples, int channels)
        : FSamples(samples), FChannels(static_cast<std::size_t>(channels))
    {
    }
    std::size_t Frames() const override { return FSamples.size() / FChannels; }
    void Read(std::size_t from, std::size_t count, float* out) const override;

private:
    const std::vector<float>& FSamples;
    std::size_t FChannels;
};

/// How a normalised rendering's sound is scaled: one factor for the whole song and, where
/// its peaks would rise above the ceiling, a look-ahead limiter that lowers them smoothly.
struct TGainPlan
{
    float Gain = 1.0f;
    /// The limiter's ceiling, linear; the limiter works only when Limit is set.
    double Ceiling = 1.0;
    bool Limit = false;
    /// The limiter watches the first this many channels of each frame (0: all) and moves
    /// every channel with them: the mix, then its parts, all lowered alike.
    std::size_t PeakChannels = 0;
};

/// One pass over a sound from its start with a plan's gain applied: the limiter's factor
/// for a frame depends on the frames just ahead of it, which are read as needed.
class TGainPass
{
public:
    TGainPass(const TSoundSource& sound, int channels, int sampleRate, const TGainPlan& plan);
    /// Up to count next frames into out; the number given, 0 at the end.
    std::size_t Next(std::size_t count, float* out);

private:
    void Limit(std::size_t count, std::size_t span, float* out);

    const TSoundSource& FSound;
    std::size_t FChannels;
    TGainPlan FPlan;
    std::size_t FAt = 0;
    std::size_t FAhead;
    float FRelease;
    std::vector<float> FRaw;
    std::vector<float> FNeed;
    std::vector<float> FRecent;
    double FSum = 0;
    float FHeld = 1.0f;
};

/// The loudness and true peak of stereo sound as it comes: the true peak of each channel,
/// the costly part, is worked out on a thread of its own while the caller goes on. The
/// figures are those of one meter of both.
class TStereoMeter
{
public:
    explicit TStereoMeter(int sampleRate);
    void Add(const float* samples, std::size_t frames);
    TLoudness Result();

private:
    TLoudnessMeter FLoudness;
    TLoudnessMeter FLeft;
    TLoudnessMeter FRight;
    /// Declared last: done before the meters go.
    TWorkQueue FWork;
};

/// Works out the gain that brings a rendering to a loudness target. The sound is measured as
/// it is made (Add); then each try of a gain plan is judged on the sound it makes, until one
/// holds. Everything is worked out in floating point from the samples alone, so the same
/// song always gets the same gain. Silence is left as it is.
class TLoudnessNormaliser
{
public:
    TLoudnessNormaliser(int channels, int sampleRate);
    ~TLoudnessNormaliser();

    /// The next interleaved frames of the sound as it comes.
    void Add(const float* samples, std::size_t frames);
    /// The first plan; false when it needs no trying (silence keeps its level).
    bool Start(const TLoudnessTarget& target);
    /// Judges the current plan by the loudness of the sound it makes: true when it holds,
    /// else the plan is changed for the next try.
    bool Judge(const TLoudness& result);
    /// Start, then Settle.
    void Plan(const TSoundSource& sound, const TLoudnessTarget& target,
              const std::function<void()>& checkpoint = {});
    /// Tries the current plan and the next ones until one holds, reading the sound again for
    /// each; checkpoint is called before each pass and may raise to give up.
    void Settle(const TSoundSource& sound, const std::function<void()>& checkpoint = {});

    const TGainPlan& GainPlan() const { return FPlan; }
    /// The loudness of the sound as it came.
    const TLoudness& Before() const { return FBefore; }
    /// The loudness with the plan applied.
    const TLoudness& After() const { return FAfter; }
    /// The factor for the whole song, in dB.
    double GainDb() const;

private:
    void SetPlan();
    TLoudness MeasureResult(const TSoundSource& sound) const;

    int FChannels;
    int FSampleRate;
    std::unique_ptr<TLoudnessMeter> FRawMeter;
    /// The largest absolute sample of the sound as it came.
    float FRawPeak = 0;
    TLoudnessTarget FTarget;
    double FGainDb = 0;
    double FCeilingDb = 0;
    int FRound = 0;
    TGainPlan FPlan;
    TLoudness FBefore;
    TLoudness FAfter;
};
