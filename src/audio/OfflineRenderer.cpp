#include "audio/OfflineRenderer.h"

#include "audio/AudioError.h"
#include "audio/FluidHandles.h"
#include "audio/SampleSpool.h"
#include "audio/SoundLibraries.h"
#include "audio/Synthesizer.h"
#include "audio/WorkQueue.h"
#include "base/Exceptions.h"
#include "midi/MidiData.h"
#include "model/Muprop.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace
{
/// Frames per call into the synthesiser: the song's end is found to within 12 ms.
constexpr std::size_t BlockFrames = 512;
/// Dither leaves a sample or two of noise in silence; anything above is sound.
constexpr int SilenceLevel = 2;
/// A note that is never released (a note-on without its note-off) would keep FluidSynth's
/// player going for ever; the echo of a song gets this long at most.
constexpr double MaxTailSeconds = 10.0;

struct TTickState
{
    fluid_player_t* Player = nullptr;
    int Tick = 0;
    /// The sequence's length in ticks; FluidSynth counts it afresh on every request.
    int Total = -1;
    bool ReachedEnd = false;
};

/// Conversion to whole numbers of 16 or 24 bits with triangular dither from a generator of
/// its own, started afresh for every pass, so the same sequence always gives the same bytes.
/// What lies below a quarter of the smallest step (the last of a reverb's decay) becomes
/// digital silence rather than dither noise.
class TDither
{
public:
    explicit TDither(int bits)
        : FScale(bits == 24 ? 8388607.0f : 32767.0f), FQuiet(0.25f / (FScale + 1.0f))
    {
    }

    std::int32_t Convert(float sample)
    {
        if (std::fabs(sample) < FQuiet)
            return 0;
        const float noise = (Next() - Next()) * (1.0f / 4294967296.0f);
        const float scaled = std::nearbyint(sample * FScale + noise);
        return static_cast<std::int32_t>(std::clamp(scaled, -FScale - 1.0f, FScale));
    }

private:
    float Next()
    {
        FState ^= FState << 13;
        FState ^= FState >> 17;
        FState ^= FState << 5;
        return static_cast<float>(FState);
    }
    float FScale;
    float FQuiet;
    std::uint32_t FState = 0x9E3779B9u;
};

/// How long the sequence lasts up to the end of its last note, in seconds, through its
/// tempo changes (120 beats a minute until the first).
double SequenceSeconds(const TMidiData& midi)
{
    std::vector<std::pair<std::int64_t, std::uint32_t>> tempos;
    std::int64_t end = 0;
    for (int t = 0; t < midi.TrackCount(); ++t)
        for (const auto& event : midi.GetTrack(t)->Items())
        {
            end = std::max<std::int64_t>(end, std::int64_t{event->Time} +
                                                  std::max<std::int32_t>(event->Duration, 0));
            const auto& d = event->Data;
            if (d.size() == 5 && d[0] == 0xFF && d[1] == 0x51)
                tempos.emplace_back(event->Time, (std::uint32_t{d[2]} << 16) |
                                                     (std::uint32_t{d[3]} << 8) | d[4]);
        }
    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    double seconds = 0;
    std::int64_t at = 0;
    double perTick = 500000.0 / 1e6 / midi.Division;
    for (const auto& [time, micros] : tempos)
    {
        if (time >= end)
            break;
        seconds += static_cast<double>(time - at) * perTick;
        at = time;
        perTick = micros / 1e6 / midi.Division;
    }
    return seconds + static_cast<double>(end - at) * perTick;
}

int OnTick(void* data, int tick)
{
    auto* state = static_cast<TTickState*>(data);
    // The first call comes after the player has read the file.
    if (state->Total < 0)
        state->Total = Fluid().fluid_player_get_total_ticks(state->Player);
    state->Tick = tick;
    if (tick >= state->Total)
        state->ReachedEnd = true;
    return FLUID_OK;
}
} // namespace

namespace
{
/// Frames converted and written at a time.
constexpr std::size_t WriteFrames = 16384;
/// Frames of the rendering handed at a time to the thread that spools and measures them.
constexpr std::size_t SpoolFrames = 65536;
/// Shares of the progress taken by the rendering, normalised (then written and measured) or
/// not (written as it comes).
constexpr double RenderShare = 0.8;
constexpr double PlainRenderShare = 0.9;
/// The Vorbis encoder rounds peaks off and overshoots them by up to about a decibel: an
/// Ogg file is normalised under a ceiling that much lower.
constexpr double OggPeakHeadroomDb = 1.0;

/// Reports progress and gives up when the caller asks.
class TProgress
{
public:
    explicit TProgress(const TRenderProgress& callback) : FCallback(callback) {}

    /// done in 0..1; calls back when the whole percentage changes, or always when asked
    /// (between long steps, so a cancel is heard).
    void Report(double done, bool always = false)
    {
        const int percent = static_cast<int>(std::clamp(done, 0.0, 1.0) * 100);
        if (!FCallback || (percent == FReported && !always))
            return;
        FReported = percent;
        if (!FCallback(percent / 100.0))
            throw ERenderCancelled();
    }

    /// The work is done: reported whatever the caller says.
    void Finish()
    {
        if (FCallback && FReported != 100)
            FCallback(1.0);
    }

private:
    const TRenderProgress& FCallback;
    int FReported = -1;
};

/// Where the rendered sound goes, a block at a time (interleaved, stereo unless said).
using TSoundSink = std::function<void(const float* samples, std::size_t frames, bool inSong)>;
/// Makes the synthesiser's next BlockFrames frames into block, interleaved; false when the
/// synthesiser failed.
using TBlockSource = std::function<bool(float* block)>;

/// The synthesiser's stereo mix.
TBlockSource StereoMix(fluid_synth_t* synth)
{
    return [synth, left = std::vector<float>(BlockFrames),
            right = std::vector<float>(BlockFrames)](float* block) mutable
    {
        if (Fluid().fluid_synth_write_float(synth, static_cast<int>(BlockFrames), left.data(), 0, 1,
                                            right.data(), 0, 1) != FLUID_OK)
            return false;
        for (std::size_t i = 0; i < BlockFrames; ++i)
        {
            block[2 * i] = left[i];
            block[2 * i + 1] = right[i];
        }
        return true;
    };
}

/// Plays the sequence through the synthesiser into sink until the player stops, its echo
/// included; returns the frame where the sequence ended. inSong tells the blocks before
/// that frame. source makes the blocks, of channels channels.
std::uint64_t RenderSequence(TTickState& state, int channels, const TBlockSource& source,
                             const TSoundSink& sink, int sampleRate, TProgress& progress,
                             double share)
{
    std::vector<float> block(static_cast<std::size_t>(channels) * BlockFrames);
    std::uint64_t frames = 0;
    std::uint64_t songFrames = 0;
    TFluidErrorScope errors;
    // FluidSynth's player keeps playing until every voice has ended and then two seconds
    // more for the reverb; the trailing silence of that is cut off later.
    while (Fluid().fluid_player_get_status(state.Player) == FLUID_PLAYER_PLAYING)
    {
        if (!source(block.data()))
            throw EAudioError(
                Msg(Core::Tr("The synthesiser failed while rendering%1"), errors.Reason()));
        sink(block.data(), BlockFrames, songFrames == 0);
        frames += BlockFrames;
        if (state.ReachedEnd && songFrames == 0)
            songFrames = frames;
        if (songFrames != 0 &&
            frames > songFrames + static_cast<std::uint64_t>(MaxTailSeconds * sampleRate))
            break;
        const int total = std::max(state.Total, 1);
        progress.Report(share *
                        (state.ReachedEnd ? 1.0 : std::min(0.99, 1.0 * state.Tick / total)));
    }
    return songFrames != 0 ? songFrames : frames;
}

/// Quantises the sound into the file as it comes. The song is written whole; after its end
/// the sound runs on until it dies away at 16 bits, and the silence after that is left out,
/// so every format gets the same length. The frames after the song wait until a sound
/// after them shows they belong to the file. They go to the writer WriteFrames at a time,
/// through a thread of their own when the format is encoded.
class TSoundOutput
{
public:
    TSoundOutput(TAudioFileWriter& writer, const TRenderOptions& options)
        : FWriter(writer), FFloat(options.Format == TAudioFormat::Ogg), FDither(options.Bits),
          FSameDither(!FFloat && options.Bits == 16)
    {
        if (options.Format != TAudioFormat::Wav)
            FEncoder.emplace(4);
    }

    /// heard: whether each frame is sound, as another file judges it (a part's file ends
    /// where the mix's does); null: by this file's own level.
    void Add(const float* samples, std::size_t frames, bool inSong, TRenderResult& result,
             const std::uint8_t* heard = nullptr)
    {
        for (std::size_t i = 0; i < 2 * frames; i += 2)
        {
            const float l = samples[i];
            const float r = samples[i + 1];
            // Left, then right: the dither's sequence is that of the file.
            const std::int32_t wl = FFloat ? 0 : FDither.Convert(l);
            const std::int32_t wr = FFloat ? 0 : FDither.Convert(r);
            const int dl = std::abs(FSameDither ? wl : FSilence.Convert(l));
            const int level = std::max(dl, std::abs(FSameDither ? wr : FSilence.Convert(r)));
            result.Peak = std::max(result.Peak, level);
            // The song's frames all go to the file; those after it wait to be told.
            if (inSong)
            {
                ++result.Frames;
                if (FFloat)
                    Put(std::clamp(l, -1.0f, 1.0f), std::clamp(r, -1.0f, 1.0f), FOutFloat);
                else
                    Put(wl, wr, FOutWhole);
                continue;
            }
            if (FFloat)
            {
                FPendingFloat.push_back(std::clamp(l, -1.0f, 1.0f));
                FPendingFloat.push_back(std::clamp(r, -1.0f, 1.0f));
            }
            else
            {
                FPendingWhole.push_back(wl);
                FPendingWhole.push_back(wr);
            }
            if (heard != nullptr ? heard[i / 2] != 0 : level > SilenceLevel)
            {
                result.Frames += (FPendingFloat.size() + FPendingWhole.size()) / 2;
                Move(FPendingFloat, FOutFloat);
                Move(FPendingWhole, FOutWhole);
            }
        }
    }

    /// What waits is silence after the song: left out.
    void Finish()
    {
        if (!FOutFloat.empty())
            Emit(FOutFloat);
        if (!FOutWhole.empty())
            Emit(FOutWhole);
        if (FEncoder)
            FEncoder->Finish();
    }

private:
    template <typename T> void Put(T left, T right, std::vector<T>& out)
    {
        out.push_back(left);
        out.push_back(right);
        if (out.size() == 2 * WriteFrames)
            Emit(out);
    }
    template <typename T> void Move(std::vector<T>& from, std::vector<T>& out)
    {
        for (std::size_t i = 0; i < from.size(); i += 2)
            Put(from[i], from[i + 1], out);
        from.clear();
    }

    void Write(const float* samples, std::size_t frames) { FWriter.WriteFloat(samples, frames); }
    void Write(const std::int32_t* samples, std::size_t frames)
    {
        FWriter.WriteWhole(samples, frames);
    }
    /// Writes a full buffer, on the encoder's thread when there is one.
    template <typename T> void Emit(std::vector<T>& samples)
    {
        if (FEncoder)
            FEncoder->Push([this, chunk = std::exchange(samples, {})]
                           { Write(chunk.data(), chunk.size() / 2); });
        else
            Write(samples.data(), samples.size() / 2);
        samples.clear();
        samples.reserve(2 * WriteFrames);
    }

    TAudioFileWriter& FWriter;
    bool FFloat;
    TDither FDither;
    /// The 16-bit dither that tells sound from silence, for every format alike.
    TDither FSilence{16};
    bool FSameDither;
    std::vector<float> FPendingFloat;
    std::vector<std::int32_t> FPendingWhole;
    std::vector<float> FOutFloat;
    std::vector<std::int32_t> FOutWhole;
    /// Declared last: stopped before the buffers go.
    std::optional<TWorkQueue> FEncoder;
};

/// The file being written and the output that quantises into it.
struct TOutputFile
{
    TOutputFile(const std::string& path, const TRenderOptions& options, int sampleRate,
                std::uint32_t serial)
        : Path(path), Options(options), SampleRate(sampleRate), Serial(serial)
    {
    }

    const std::string& Path;
    const TRenderOptions& Options;
    int SampleRate;
    std::uint32_t Serial;
    std::optional<TAudioFileWriter> Writer;
    /// After the writer: its encoder thread stops before the writer goes.
    std::optional<TSoundOutput> Output;

    /// Opens the file, or opens it anew, dropping what was written.
    void Open()
    {
        Output.reset();
        Writer.reset();
        Writer.emplace(Path, Options.Format, Options.Bits, SampleRate, 2, Serial);
        Output.emplace(*Writer, Options);
    }
    void Commit()
    {
        Output->Finish();
        Writer->Commit();
    }
};

/// Writes the spooled sound with the gain plan through output, and measures it into meter
/// when there is one.
void WriteNormalised(const TSampleSpool& spool, const TGainPlan& plan, std::uint64_t songFrames,
                     int sampleRate, TSoundOutput& output, TStereoMeter* meter,
                     TRenderResult& result, TProgress& progress, double from)
{
    TGainPass pass(spool, 2, sampleRate, plan);
    std::vector<float> chunk(2 * WriteFrames);
    for (std::uint64_t at = 0; at < spool.Frames(); at += WriteFrames)
    {
        progress.Report(from + (1.0 - from) * static_cast<double>(at) /
                                   static_cast<double>(spool.Frames()));
        const std::size_t count = pass.Next(WriteFrames, chunk.data());
        if (meter)
            meter->Add(chunk.data(), count);
        // The chunks begin on the song's end, a multiple of the synthesiser's blocks, or
        // within the song.
        const std::uint64_t inSong =
            std::min<std::uint64_t>(count, songFrames > at ? songFrames - at : 0);
        output.Add(chunk.data(), static_cast<std::size_t>(inSong), true, result);
        output.Add(chunk.data() + 2 * inSong, count - static_cast<std::size_t>(inSong), false,
                   result);
    }
}

/// Works out the gain for the spooled sound and writes the sound with it. The first plan
/// nearly always holds: the file is written with it while the result is measured, and
/// written again only when it does not. A pipe, which cannot be gone back over, gets the
/// plan settled first.
void WriteWithGain(const TSampleSpool& spool, TLoudnessNormaliser& normaliser,
                   const TLoudnessTarget& target, TOutputFile& file, TRenderResult& result,
                   TProgress& report)
{
    const auto checkpoint = [&] { report.Report(RenderShare, true); };
    const bool tryFirst = normaliser.Start(target);
    if (tryFirst && !file.Writer->Seekable())
        normaliser.Settle(spool, checkpoint);
    checkpoint();
    std::optional<TStereoMeter> meter;
    if (tryFirst && file.Writer->Seekable())
        meter.emplace(result.SampleRate);
    WriteNormalised(spool, normaliser.GainPlan(), result.SongFrames, result.SampleRate,
                    *file.Output, meter ? &*meter : nullptr, result, report, RenderShare);
    if (!meter || normaliser.Judge(meter->Result()))
        return;
    normaliser.Settle(spool, checkpoint);
    file.Open();
    result.Frames = 0;
    result.Peak = 0;
    WriteNormalised(spool, normaliser.GainPlan(), result.SongFrames, result.SampleRate,
                    *file.Output, nullptr, result, report, 0.99);
}

/// A song too long for a WAV file is refused before anything is rendered.
void RefuseTooLongForWav(const TMidiData& midi, const std::string& path,
                         const TRenderOptions& options, int sampleRate)
{
    if (options.Format != TAudioFormat::Wav)
        return;
    const std::uint64_t most = MaxWavFrames(2, options.Bits);
    const double songFrames = SequenceSeconds(midi) * sampleRate;
    if (songFrames > static_cast<double>(most))
        throw EFCreateError(
            path,
            "A WAV file holds at most 4 GiB of sound (" + std::to_string(most / sampleRate / 60) +
                " minutes at this sample rate); the song lasts " +
                std::to_string(static_cast<long long>(songFrames) / sampleRate / 60) + " minutes");
}
/// The Ogg stream's serial number, from the song (FNV-1a of its MIDI bytes): the same song
/// gives the same file, and two songs' streams are told apart when chained.
std::uint32_t StreamSerial(const std::string& midiBytes)
{
    std::uint32_t hash = 2166136261u;
    for (const char c : midiBytes)
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return hash;
}

/// Renders the sequence into a spool, measuring it as it comes, works out the gain, and
/// writes the spooled sound with it.
void RenderNormalised(fluid_synth_t* synth, TTickState& state, double seconds,
                      const TRenderOptions& options, TOutputFile& file, TRenderResult& result,
                      TProgress& report)
{
    const int rate = result.SampleRate;
    // Room for the song and its echo as floating-point stereo.
    const auto bytes =
        static_cast<std::uint64_t>((seconds + MaxTailSeconds + 1) * rate) * 2 * sizeof(float);
    TSampleSpool spool(SpoolDirFor(file.Path), 2, bytes);
    TLoudnessNormaliser normaliser(2, rate);
    {
        // The sound is spooled and measured on a second thread while the synthesiser plays.
        std::vector<float> gathered;
        TWorkQueue keep;
        const auto hand = [&]
        {
            keep.Push(
                [&, chunk = std::exchange(gathered, {})]
                {
                    spool.Append(chunk.data(), chunk.size() / 2);
                    normaliser.Add(chunk.data(), chunk.size() / 2);
                });
            gathered.reserve(2 * SpoolFrames);
        };
        result.SongFrames = RenderSequence(
            state, 2, StereoMix(synth),
            [&](const float* samples, std::size_t frames, bool)
            {
                gathered.insert(gathered.end(), samples, samples + 2 * frames);
                if (gathered.size() >= 2 * SpoolFrames)
                    hand();
            },
            rate, report, RenderShare);
        if (!gathered.empty())
            hand();
        keep.Finish();
    }
    spool.Flush();
    TLoudnessTarget target = options.Target;
    if (options.Format == TAudioFormat::Ogg)
        target.TruePeakDb -= OggPeakHeadroomDb;
    WriteWithGain(spool, normaliser, target, file, result, report);
    result.Normalized = true;
    result.Before = normaliser.Before();
    result.After = normaliser.After();
    result.GainDb = normaliser.GainDb();
}
/// The sequence read by our own reader first (FluidSynth's player would take a broken file
/// for an empty song), once the libraries that write and measure are known to be there.
TMidiData CheckedSequence(const std::string& midiBytes, const TRenderOptions& options)
{
    TMidiData check;
    check.LoadFromString(midiBytes);
    Sndfile();
    if (options.Normalize)
        Ebur128();
    return check;
}

/// FluidSynth's player started on the sequence from a freshly reset synthesiser.
struct TSequencePlay
{
    TFluidPlayerPtr Player;
    TTickState State;

    TSequencePlay(fluid_synth_t* synth, const std::string& midiBytes)
    {
        TFluidErrorScope errors;
        // A rendering never hears what an earlier one left in the synthesiser.
        Fluid().fluid_synth_system_reset(synth);
        Player.reset(Fluid().new_fluid_player(synth));
        if (!Player || Fluid().fluid_player_add_mem(Player.get(), midiBytes.data(),
                                                    midiBytes.size()) != FLUID_OK)
            throw EAudioError(
                Msg(Core::Tr("The synthesiser cannot play this sequence%1"), errors.Reason()));
        State.Player = Player.get();
        Fluid().fluid_player_set_tick_callback(Player.get(), &OnTick, &State);
        if (Fluid().fluid_player_play(Player.get()) != FLUID_OK)
            throw EAudioError(
                Msg(Core::Tr("The synthesiser cannot play this sequence%1"), errors.Reason()));
    }
};
} // namespace

TLoudness MeasureMidiLoudness(TSynthesizer& synth, const std::string& midiBytes,
                              const TRenderProgress& progress)
{
    TMidiData check;
    check.LoadFromString(midiBytes);
    Ebur128();
    fluid_synth_t* s = synth.Synth();
    TSequencePlay play(s, midiBytes);
    TLoudnessMeter meter(2, synth.Options().SampleRate, true, false);
    TProgress report(progress);
    RenderSequence(
        play.State, 2, StereoMix(s),
        [&](const float* samples, std::size_t frames, bool) { meter.Add(samples, frames); },
        synth.Options().SampleRate, report, 1.0);
    report.Finish();
    return meter.Result();
}

TRenderResult RenderMidiToFile(TSynthesizer& synth, const std::string& midiBytes,
                               const std::string& path, const TRenderOptions& options,
                               const TRenderProgress& progress)
{
    const TMidiData check = CheckedSequence(midiBytes, options);
    fluid_synth_t* s = synth.Synth();
    TSequencePlay play(s, midiBytes);
    TTickState& state = play.State;

    TRenderResult result;
    result.SampleRate = synth.Options().SampleRate;
    RefuseTooLongForWav(check, path, options, result.SampleRate);
    // The file is opened first: a place that cannot be written to is known before rendering.
    TOutputFile file(path, options, result.SampleRate, StreamSerial(midiBytes));
    file.Open();
    TProgress report(progress);
    if (options.Normalize)
        RenderNormalised(s, state, SequenceSeconds(check), options, file, result, report);
    else
        // Without a gain to work out, the sound goes straight into the file.
        result.SongFrames = RenderSequence(
            state, 2, StereoMix(s),
            [&](const float* samples, std::size_t frames, bool inSong)
            { file.Output->Add(samples, frames, inSong, result); },
            result.SampleRate, report, PlainRenderShare);
    play.Player.reset();
    file.Commit();
    report.Finish();
    return result;
}

namespace
{
/// The mix and the parts asked for, interleaved: mix left, mix right, then each part's left
/// and right, from a synthesiser with part outputs (each MIDI channel's dry sound, then per
/// channel its reverb and chorus).
TBlockSource MixAndParts(fluid_synth_t* synth, const std::vector<TStemFile>& stems)
{
    constexpr std::size_t Dry = 2 * PartOutputCount;
    constexpr std::size_t Effects = 4 * PartOutputCount;
    auto pool = std::make_shared<std::vector<float>>((Dry + Effects) * BlockFrames);
    auto buffers = std::make_shared<std::vector<float*>>(Dry + Effects);
    for (std::size_t b = 0; b < buffers->size(); ++b)
        (*buffers)[b] = pool->data() + b * BlockFrames;
    return [synth, stems, pool, buffers](float* block)
    {
        std::fill(pool->begin(), pool->end(), 0.0f);
        float** dry = buffers->data();
        float** effects = dry + Dry;
        if (Fluid().fluid_synth_process(synth, static_cast<int>(BlockFrames),
                                        static_cast<int>(Effects), effects, static_cast<int>(Dry),
                                        dry) != FLUID_OK)
            return false;
        // Channel c: dry[2c], dry[2c + 1]; reverb effects[4c], [4c + 1]; chorus [4c + 2], [4c + 3].
        const auto part = [&](std::size_t c, std::size_t side, std::size_t i)
        { return dry[2 * c + side][i] + effects[4 * c + side][i] + effects[4 * c + 2 + side][i]; };
        const std::size_t width = 2 + 2 * stems.size();
        for (std::size_t i = 0; i < BlockFrames; ++i)
        {
            float* frame = block + i * width;
            frame[0] = frame[1] = 0;
            for (std::size_t c = 0; c < PartOutputCount; ++c)
            {
                frame[0] += part(c, 0, i);
                frame[1] += part(c, 1, i);
            }
            for (std::size_t s = 0; s < stems.size(); ++s)
            {
                const auto c = static_cast<std::size_t>(stems[s].Channel & 0x0F);
                frame[2 + 2 * s] = part(c, 0, i);
                frame[3 + 2 * s] = part(c, 1, i);
            }
        }
        return true;
    };
}

/// The first two channels (the mix) of interleaved sound with more.
class TMixView : public TSoundSource
{
public:
    TMixView(const TSoundSource& sound, std::size_t channels) : FSound(sound), FChannels(channels)
    {
    }
    std::size_t Frames() const override { return FSound.Frames(); }
    void Read(std::size_t from, std::size_t count, float* out) const override
    {
        FBuffer.resize(count * FChannels);
        FSound.Read(from, count, FBuffer.data());
        for (std::size_t f = 0; f < count; ++f)
        {
            out[2 * f] = FBuffer[f * FChannels];
            out[2 * f + 1] = FBuffer[f * FChannels + 1];
        }
    }

private:
    const TSoundSource& FSound;
    std::size_t FChannels;
    mutable std::vector<float> FBuffer;
};
} // namespace

namespace
{
/// Renders the mix and the parts into spool (interleaved as MixAndParts makes them),
/// measuring the mix into normaliser; returns the frame where the sequence ended.
std::uint64_t SpoolParts(fluid_synth_t* synth, TTickState& state,
                         const std::vector<TStemFile>& stems, int rate, TSampleSpool& spool,
                         TLoudnessNormaliser& normaliser, TProgress& report)
{
    const std::size_t width = 2 + 2 * stems.size();
    std::vector<float> mix;
    const std::uint64_t song = RenderSequence(
        state, static_cast<int>(width), MixAndParts(synth, stems),
        [&](const float* samples, std::size_t frames, bool)
        {
            spool.Append(samples, frames);
            mix.resize(2 * frames);
            for (std::size_t f = 0; f < frames; ++f)
            {
                mix[2 * f] = samples[f * width];
                mix[2 * f + 1] = samples[f * width + 1];
            }
            normaliser.Add(mix.data(), frames);
        },
        rate, report, RenderShare);
    spool.Flush();
    return song;
}

/// Writes each part, with plan, into its file: the song, then its echo for as long as the mix
/// is heard, as a file of the mix tells sound from silence (by the 16-bit dither). Returns
/// the frames each file got.
std::uint64_t WriteParts(const TSampleSpool& spool, std::size_t width, int rate,
                         const TGainPlan& plan, std::uint64_t songFrames,
                         std::vector<std::unique_ptr<TOutputFile>>& files, TProgress& report)
{
    std::vector<float> chunk(width * WriteFrames);
    std::vector<float> part(2 * WriteFrames);
    std::vector<std::uint8_t> heard(WriteFrames);
    TDither silence(16);
    TRenderResult written;
    TGainPass pass(spool, static_cast<int>(width), rate, plan);
    std::uint64_t at = 0;
    while (const std::size_t count = pass.Next(WriteFrames, chunk.data()))
    {
        report.Report(RenderShare + (1.0 - RenderShare) * static_cast<double>(at) /
                                        static_cast<double>(spool.Frames()));
        for (std::size_t f = 0; f < count; ++f)
        {
            const int left = std::abs(silence.Convert(chunk[f * width]));
            const int right = std::abs(silence.Convert(chunk[f * width + 1]));
            heard[f] = std::max(left, right) > SilenceLevel ? 1 : 0;
        }
        const auto inSong = static_cast<std::size_t>(
            std::min<std::uint64_t>(count, songFrames - std::min(songFrames, at)));
        for (std::size_t p = 0; p < files.size(); ++p)
        {
            for (std::size_t f = 0; f < count; ++f)
            {
                part[2 * f] = chunk[f * width + 2 + 2 * p];
                part[2 * f + 1] = chunk[f * width + 3 + 2 * p];
            }
            // Every file counts the same frames: the first one's count is theirs.
            TRenderResult ignored;
            TRenderResult& result = p == 0 ? written : ignored;
            files[p]->Output->Add(part.data(), inSong, true, result);
            files[p]->Output->Add(part.data() + 2 * inSong, count - inSong, false, result,
                                  heard.data() + inSong);
        }
        at += count;
    }
    return written.Frames;
}
} // namespace

TRenderResult RenderMidiStems(TSynthesizer& synth, const std::string& midiBytes,
                              const std::vector<TStemFile>& stems, const TRenderOptions& options,
                              const TRenderProgress& progress)
{
    const TMidiData check = CheckedSequence(midiBytes, options);
    if (!synth.Options().PartOutputs || stems.empty() || options.Format == TAudioFormat::Ogg)
        throw EAudioError(
            Core::Tr("Parts are rendered to WAV or FLAC by a synthesiser with part outputs"));
    fluid_synth_t* s = synth.Synth();
    TSequencePlay play(s, midiBytes);
    TRenderResult result;
    result.SampleRate = synth.Options().SampleRate;
    const int rate = result.SampleRate;
    RefuseTooLongForWav(check, stems.front().Path, options, rate);
    std::vector<std::unique_ptr<TOutputFile>> files;
    files.reserve(stems.size());
    for (const TStemFile& stem : stems)
    {
        files.push_back(
            std::make_unique<TOutputFile>(stem.Path, options, rate, StreamSerial(midiBytes)));
        files.back()->Open();
    }
    const std::size_t width = 2 + 2 * stems.size();
    TSampleSpool spool(
        SpoolDirFor(stems.front().Path), static_cast<int>(width),
        static_cast<std::uint64_t>((SequenceSeconds(check) + MaxTailSeconds + 1) * rate) * width *
            sizeof(float));
    TLoudnessNormaliser normaliser(2, rate);
    TProgress report(progress);
    result.SongFrames = SpoolParts(s, play.State, stems, rate, spool, normaliser, report);
    TGainPlan plan;
    if (options.Normalize)
    {
        normaliser.Plan(TMixView(spool, width), options.Target,
                        [&] { report.Report(RenderShare, true); });
        plan = normaliser.GainPlan();
        result.Normalized = true;
        result.Before = normaliser.Before();
        result.After = normaliser.After();
        result.GainDb = normaliser.GainDb();
    }
    // Every part moves with the mix: the limiter watches the mix alone.
    plan.PeakChannels = 2;
    result.Frames = WriteParts(spool, width, rate, plan, result.SongFrames, files, report);
    play.Player.reset();
    for (auto& file : files)
        file->Commit();
    report.Finish();
    return result;
}

std::vector<TStemFile> SongStemFiles(const std::string& path,
                                     const std::function<std::string(int track)>& partName)
{
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::string base = hasExtension ? path.substr(0, dot) : path;
    const std::string extension = hasExtension ? path.substr(dot) : std::string(".wav");
    std::vector<TStemFile> files;
    files.reserve(TrackCount);
    for (int track = 0; track < TrackCount; ++track)
    {
        std::string name = base;
        name.append(" - ").append(partName(track)).append(extension);
        files.push_back({TrackChannel(track), std::move(name)});
    }
    return files;
}
