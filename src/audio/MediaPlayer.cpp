#include "audio/MediaPlayer.h"

#include "audio/AudioError.h"
#include "audio/Synthesizer.h"
#include "base/Exceptions.h"
#include "base/FileIO.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace
{
constexpr int ExpressionController = 11;
constexpr int ResetAllControllersController = 121;

/// Sends one channel message or sysex to the synthesiser; meta events never get here.
void SendMessage(fluid_synth_t* synth, const std::vector<std::uint8_t>& data)
{
    const TFluidApi& api = Fluid();
    const int channel = data[0] & 0x0F;
    const int first = data.size() > 1 ? data[1] : 0;
    const int second = data.size() > 2 ? data[2] : 0;
    switch (data[0] & 0xF0)
    {
    case 0x80:
        api.fluid_synth_noteoff(synth, channel, first);
        break;
    case 0x90:
        if (second == 0)
            api.fluid_synth_noteoff(synth, channel, first);
        else
            api.fluid_synth_noteon(synth, channel, first, second);
        break;
    case 0xA0:
        api.fluid_synth_key_pressure(synth, channel, first, second);
        break;
    case 0xB0:
        api.fluid_synth_cc(synth, channel, first, second);
        break;
    case 0xC0:
        api.fluid_synth_program_change(synth, channel, first);
        break;
    case 0xD0:
        api.fluid_synth_channel_pressure(synth, channel, first);
        break;
    case 0xE0:
        api.fluid_synth_pitch_bend(synth, channel, first | (second << 7));
        break;
    default:
        if (data[0] == 0xF0 && data.size() > 1)
        {
            // FluidSynth takes the body without F0 and the closing F7.
            std::size_t size = data.size() - 1;
            if (data.back() == 0xF7)
                --size;
            api.fluid_synth_sysex(synth, reinterpret_cast<const char*>(data.data() + 1),
                                  static_cast<int>(size), nullptr, nullptr, nullptr, 0);
        }
        break;
    }
}
} // namespace

TMediaPlayer::TMediaPlayer(TSynthesizer& synth, TOutputOptions output)
    : FSynth(synth), FOutputOptions(std::move(output))
{
}

TMediaPlayer::~TMediaPlayer()
{
    // player -> driver; the synthesiser and its settings belong to FSynth.
    StopPlayer();
    FOutput.reset();
}

void TMediaPlayer::StopPlayer()
{
    std::lock_guard<std::mutex> lock(FLock);
    if (!FTimeline)
        return;
    FTimeline.reset();
    FLoopPass.reset();
    Fluid().fluid_synth_all_sounds_off(FFluid, -1);
}

void TMediaPlayer::Close()
{
    StopPlayer();
    FMidi.Tracks.Clear();
    FOpen = false;
}

void TMediaPlayer::ReadFile()
{
    const std::string data = ReadWholeFile(FFileName, MaxDataFileSize);
    TMidiData midi;
    try
    {
        midi.LoadFromString(data);
    }
    catch (EInvalidMidiFile& error)
    {
        error.AddPlace(FFileName);
        throw;
    }
    FFluid = FSynth.Synth();
    FSynth.PreparePresets(midi);
    FMidi = std::move(midi);
}

void TMediaPlayer::Open()
{
    Close();
    ReadFile();
    if (!FOutput)
    {
        double sampleRate = 44100;
        Fluid().fluid_settings_getnum(FSynth.Settings(), "synth.sample-rate", &sampleRate);
        auto output = std::make_unique<TAudioOutput>(FSynth.Settings(), FOutputOptions,
                                                     [this](float* left, float* right, int frames)
                                                     { Render(left, right, frames); });
        // Position reads both from any thread.
        std::lock_guard<std::mutex> lock(FLock);
        FSampleRate = sampleRate;
        FOutput = std::move(output);
    }
    FOpen = true;
}

void TMediaPlayer::Start(std::shared_ptr<const TTimeline> first, bool loop)
{
    std::lock_guard<std::mutex> lock(FLock);
    // Every playback starts from the state of a freshly reset General MIDI synthesiser,
    // whatever the one before it left behind.
    Fluid().fluid_synth_system_reset(FFluid);
    FMutedNow = 0;
    FTimeline = std::move(first);
    FLoopPass.reset();
    if (loop)
        FLoopPass = LoopPass();
    FNext = 0;
    FFrame = 0;
    FPass = 0;
}

void TMediaPlayer::Play()
{
    if (!FOpen)
        throw EAudioError(Core::Tr("Nothing to play: no MIDI file is open"));
    auto timeline = std::make_shared<TTimeline>(FMidi, FSampleRate);
    timeline->AddClicks(FClicks.CountIn, FClicks.Metronome, FMidi.Division);
    FClicks = {};
    Start(std::move(timeline), false);
}

void TMediaPlayer::PlayLoop(std::int32_t fromTick, std::int32_t toTick)
{
    if (!FOpen)
        throw EAudioError(Core::Tr("Nothing to play: no MIDI file is open"));
    auto first = std::make_shared<TTimeline>(FMidi, FSampleRate, 0, toTick);
    if (fromTick < 0 || toTick <= fromTick || first->Frames() <= first->FrameAt(fromTick))
        throw EAudioError(Core::Tr("Nothing to loop: the stretch to repeat is empty"));
    FLoopFrom = fromTick;
    FLoopTo = toTick;
    FLoopMetronome = FClicks.Metronome;
    first->AddClicks(FClicks.CountIn, FClicks.Metronome, FMidi.Division);
    FClicks = {};
    Start(std::move(first), true);
}

std::shared_ptr<TTimeline> TMediaPlayer::LoopPass() const
{
    // Every pass keeps the metronome the loop started with; the count-in came before the first.
    auto pass = std::make_shared<TTimeline>(FMidi, FSampleRate, FLoopFrom, FLoopTo);
    pass->AddClicks(false, FLoopMetronome, FMidi.Division);
    return pass;
}

void TMediaPlayer::QueueLoopPass()
{
    {
        std::lock_guard<std::mutex> lock(FLock);
        if (!FLoopPass)
            return;
    }
    ReadFile();
    std::shared_ptr<const TTimeline> pass = LoopPass();
    if (pass->Frames() == 0)
        return;
    std::lock_guard<std::mutex> lock(FLock);
    if (FLoopPass)
        FLoopPass.swap(pass);
    // The pass replaced is freed here, outside the audio thread, unless it still plays.
}

bool TMediaPlayer::PlayingLocked() const
{
    return FTimeline &&
           (FLoopPass || FNext < FTimeline->Messages().size() || FFrame < FTimeline->Frames());
}

bool TMediaPlayer::Playing() const
{
    std::lock_guard<std::mutex> lock(FLock);
    return PlayingLocked();
}

TPlayPosition TMediaPlayer::Position() const
{
    std::lock_guard<std::mutex> lock(FLock);
    TPlayPosition position;
    position.Playing = PlayingLocked();
    if (!FTimeline)
        return position;
    const auto latency = static_cast<std::uint64_t>(FOutput ? FOutput->LatencyFrames() : 0);
    const std::uint64_t heard =
        std::min(FFrame > latency ? FFrame - latency : 0, FTimeline->Frames());
    position.Tick = FTimeline->TickAt(heard);
    position.FromTick = FTimeline->FromTick();
    position.ToTick = FTimeline->ToTick();
    position.Seconds = static_cast<double>(heard) / FSampleRate;
    position.TotalSeconds = static_cast<double>(FTimeline->Frames()) / FSampleRate;
    position.Pass = FPass;
    return position;
}

std::string TMediaPlayer::DriverName() const
{
    return FOutput ? FOutput->DriverName() : std::string();
}

void TMediaPlayer::SendDueMessages()
{
    const std::vector<TTimedMessage>& messages = FTimeline->Messages();
    while (FNext < messages.size() && messages[FNext].Frame <= FFrame)
    {
        const std::vector<std::uint8_t>& data = messages[FNext++].Data;
        const int channel = data[0] & 0x0F;
        const bool control = (data[0] & 0xF0) == 0xB0 && data.size() > 1;
        // A muted channel keeps its expression at 0 whatever the song sends.
        if (control && data[1] == ExpressionController && (FMutedNow >> channel & 1U) != 0)
            continue;
        SendMessage(FFluid, data);
        // A reset of the controllers (or of the whole synthesiser) gives the expression back.
        if (data[0] == 0xF0)
        {
            const std::uint16_t muted = FMutedNow;
            FMutedNow = 0;
            ApplyMutes(muted);
        }
        else if (control && data[1] == ResetAllControllersController &&
                 (FMutedNow >> channel & 1U) != 0)
        {
            FMutedNow &= static_cast<std::uint16_t>(~(1U << channel));
            ApplyMutes(static_cast<std::uint16_t>(1U << channel));
        }
    }
}

void TMediaPlayer::SetOutputGain(double gainDb)
{
    FGain = static_cast<float>(std::pow(10.0, std::clamp(gainDb, -40.0, 40.0) / 20));
}

void TMediaPlayer::ApplyGain(float* left, float* right, int frames)
{
    const float gain = FGain.load();
    if (gain == 1.0f && FLimit == 1.0f)
        return;
    // Sample peaks held 1.5 dB under full scale leave room for the peaks between samples;
    // a peak is met at once and let go of over about 100 ms.
    const float ceiling = 0.8414f;
    const float release = 1.0f - std::exp(-1.0f / (0.1f * static_cast<float>(FSampleRate)));
    for (int i = 0; i < frames; ++i)
    {
        const float peak = std::max(std::fabs(left[i]), std::fabs(right[i])) * gain;
        FLimit += (1.0f - FLimit) * release;
        if (peak * FLimit > ceiling)
            FLimit = ceiling / peak;
        left[i] *= gain * FLimit;
        right[i] *= gain * FLimit;
    }
}

void TMediaPlayer::SendControl(int channel, int controller, int value)
{
    std::lock_guard<std::mutex> lock(FLock);
    FControls.push_back({static_cast<std::uint8_t>(0xB0 | (channel & 0x0F)),
                         static_cast<std::uint8_t>(controller & 0x7F),
                         static_cast<std::uint8_t>(value & 0x7F)});
}

void TMediaPlayer::ApplyMutes(std::uint16_t changed)
{
    const std::uint16_t wanted = FMuted.load();
    for (int channel = 0; channel < 16; ++channel)
        if ((changed >> channel & 1U) != 0)
        {
            const bool mute = (wanted >> channel & 1U) != 0;
            Fluid().fluid_synth_cc(FFluid, channel, ExpressionController, mute ? 0 : 127);
        }
    FMutedNow = static_cast<std::uint16_t>((FMutedNow & ~changed) | (wanted & changed));
}

void TMediaPlayer::Render(float* left, float* right, int frames)
{
    std::lock_guard<std::mutex> lock(FLock);
    if (FTimeline && FMuted.load() != FMutedNow)
        ApplyMutes(static_cast<std::uint16_t>(FMuted.load() ^ FMutedNow));
    if (FTimeline)
        for (const auto& control : FControls)
            SendMessage(FFluid, control);
    FControls.clear();
    int done = 0;
    while (done < frames)
    {
        std::uint64_t span = static_cast<std::uint64_t>(frames - done);
        if (FTimeline)
        {
            SendDueMessages();
            if (FLoopPass && FFrame >= FTimeline->Frames())
            {
                // The next pass starts on this very frame: its first messages go out now.
                FTimeline = FLoopPass;
                FNext = 0;
                FFrame = 0;
                ++FPass;
                continue;
            }
            const std::vector<TTimedMessage>& messages = FTimeline->Messages();
            if (FNext < messages.size())
                span = std::min(span, messages[FNext].Frame - FFrame);
            if (FLoopPass)
                span = std::min(span, FTimeline->Frames() - FFrame);
        }
        const int count = static_cast<int>(span);
        Fluid().fluid_synth_write_float(FFluid, count, left, done, 1, right, done, 1);
        ApplyGain(left + done, right + done, count);
        done += count;
        FFrame += span;
    }
}
