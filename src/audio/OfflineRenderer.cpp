#include "audio/OfflineRenderer.h"

#include "audio/AudioError.h"
#include "audio/FluidHandles.h"
#include "audio/Synthesizer.h"
#include "audio/WavWriter.h"
#include "base/Exceptions.h"
#include "midi/MidiData.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
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

/// 16-bit conversion with triangular dither from a generator of its own, started afresh for
/// every rendering, so the same sequence always gives the same bytes. What lies below a
/// quarter of the smallest step (the last of a reverb's decay) becomes digital silence
/// rather than dither noise.
class TDither
{
public:
    std::int16_t Convert(float sample)
    {
        if (std::fabs(sample) < 1.0f / 131072.0f)
            return 0;
        const float noise = (Next() - Next()) * (1.0f / 4294967296.0f);
        const float scaled = std::nearbyint(sample * 32767.0f + noise);
        return static_cast<std::int16_t>(std::clamp(scaled, -32768.0f, 32767.0f));
    }

private:
    float Next()
    {
        FState ^= FState << 13;
        FState ^= FState >> 17;
        FState ^= FState << 5;
        return static_cast<float>(FState);
    }
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

TRenderResult RenderMidiToWav(TSynthesizer& synth, const std::string& midiBytes,
                              const std::string& wavPath, const TRenderProgress& progress)
{
    // Our own reader first: FluidSynth's player would take a broken file for an empty song.
    TMidiData check;
    check.LoadFromString(midiBytes);
    fluid_synth_t* s = synth.Synth();
    TFluidErrorScope errors;
    // A rendering never hears what an earlier one left in the synthesiser.
    Fluid().fluid_synth_system_reset(s);
    TFluidPlayerPtr player(Fluid().new_fluid_player(s));
    if (!player ||
        Fluid().fluid_player_add_mem(player.get(), midiBytes.data(), midiBytes.size()) != FLUID_OK)
        throw EAudioError("The synthesiser cannot play this sequence" + errors.Reason());
    TTickState state;
    state.Player = player.get();
    Fluid().fluid_player_set_tick_callback(player.get(), &OnTick, &state);
    if (Fluid().fluid_player_play(player.get()) != FLUID_OK)
        throw EAudioError("The synthesiser cannot play this sequence" + errors.Reason());

    TRenderResult result;
    result.SampleRate = synth.Options().SampleRate;
    // A song too long for a WAV file is refused before anything is rendered.
    const double songFrames = SequenceSeconds(check) * result.SampleRate;
    if (songFrames > static_cast<double>(MaxWavFrames(2)))
        throw EFCreateError(wavPath, "A WAV file holds at most 4 GiB of sound (" +
                                         std::to_string(MaxWavFrames(2) / result.SampleRate / 60) +
                                         " minutes at this sample rate); the song lasts " +
                                         std::to_string(static_cast<long long>(songFrames) /
                                                        result.SampleRate / 60) +
                                         " minutes");
    TWavWriter wav(wavPath, result.SampleRate, 2);
    std::vector<float> left(BlockFrames);
    std::vector<float> right(BlockFrames);
    std::vector<std::int16_t> block(2 * BlockFrames);
    TDither dither;
    std::uint64_t frames = 0;
    std::uint64_t lastSound = 0;
    int reported = -1;
    // FluidSynth's player keeps playing until every voice has ended and then two seconds
    // more for the reverb; the trailing silence of that is cut off below.
    while (Fluid().fluid_player_get_status(player.get()) == FLUID_PLAYER_PLAYING)
    {
        if (Fluid().fluid_synth_write_float(s, static_cast<int>(BlockFrames), left.data(), 0, 1,
                                            right.data(), 0, 1) != FLUID_OK)
            throw EAudioError("The synthesiser failed while rendering" + errors.Reason());
        for (std::size_t i = 0; i < BlockFrames; ++i)
        {
            block[2 * i] = dither.Convert(left[i]);
            block[2 * i + 1] = dither.Convert(right[i]);
            const int level = std::max(std::abs(static_cast<int>(block[2 * i])),
                                       std::abs(static_cast<int>(block[2 * i + 1])));
            if (level > SilenceLevel)
                lastSound = frames + i + 1;
            result.Peak = std::max(result.Peak, level);
        }
        wav.Write(block.data(), BlockFrames);
        frames += BlockFrames;
        if (state.ReachedEnd && result.SongFrames == 0)
            result.SongFrames = frames;
        if (result.SongFrames != 0 &&
            frames >
                result.SongFrames + static_cast<std::uint64_t>(MaxTailSeconds * result.SampleRate))
            break;
        if (progress)
        {
            const int total = std::max(state.Total, 1);
            const int percent =
                state.ReachedEnd
                    ? 100
                    : static_cast<int>(std::min<long long>(99, 100LL * state.Tick / total));
            if (percent != reported)
            {
                reported = percent;
                progress(percent / 100.0);
            }
        }
    }
    if (result.SongFrames == 0)
        result.SongFrames = frames;
    result.Frames = std::max(result.SongFrames, lastSound);
    wav.Truncate(result.Frames);
    wav.Commit();
    return result;
}
