#include "audio/MediaPlayer.h"

#include "audio/AudioError.h"
#include "audio/Synthesizer.h"
#include "base/Exceptions.h"
#include "base/FileIO.h"
#include "midi/MidiData.h"

#include <algorithm>
#include <utility>

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
    if (!FPlayer)
        return;
    FPlayer.reset();
    Fluid().fluid_synth_all_sounds_off(FFluid, -1);
}

void TMediaPlayer::Close()
{
    StopPlayer();
    FFileData.clear();
    FFileData.shrink_to_fit();
    FOpen = false;
}

void TMediaPlayer::Open()
{
    Close();
    std::string data = ReadWholeFile(FFileName, MaxDataFileSize);
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
    if (!FOutput)
        FOutput = std::make_unique<TAudioOutput>(FSynth.Settings(), FOutputOptions,
                                                 [this](float* left, float* right, int frames)
                                                 { Render(left, right, frames); });
    FFileData = std::move(data);
    FOpen = true;
}

void TMediaPlayer::Play()
{
    if (!FOpen)
        throw EAudioError("Nothing to play: no MIDI file is open");
    fluid_synth_t* synth = FFluid;
    TFluidErrorScope errors;
    std::lock_guard<std::mutex> lock(FLock);
    FPlayer.reset();
    // Every playback starts from the state of a freshly reset General MIDI synthesiser,
    // whatever the one before it left behind.
    Fluid().fluid_synth_system_reset(synth);
    FPlayer.reset(Fluid().new_fluid_player(synth));
    if (!FPlayer ||
        Fluid().fluid_player_add_mem(FPlayer.get(), FFileData.data(), FFileData.size()) !=
            FLUID_OK ||
        Fluid().fluid_player_play(FPlayer.get()) != FLUID_OK)
    {
        FPlayer.reset();
        throw EAudioError("The synthesiser cannot play " + FFileName + errors.Reason());
    }
}

bool TMediaPlayer::Playing() const
{
    std::lock_guard<std::mutex> lock(FLock);
    return FPlayer && Fluid().fluid_player_get_status(FPlayer.get()) == FLUID_PLAYER_PLAYING;
}

std::string TMediaPlayer::DriverName() const
{
    return FOutput ? FOutput->DriverName() : std::string();
}

void TMediaPlayer::Render(float* left, float* right, int frames)
{
    std::lock_guard<std::mutex> lock(FLock);
    Fluid().fluid_synth_write_float(FFluid, frames, left, 0, 1, right, 0, 1);
}
