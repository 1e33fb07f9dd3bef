#pragma once

#include "audio/AbstractMediaPlayer.h"
#include "audio/AudioOutput.h"
#include "audio/FluidHandles.h"

#include <memory>
#include <mutex>
#include <string>

class TSynthesizer;

/// Plays Standard MIDI Files through the embedded synthesiser, in the background. Open reads
/// the whole file, so the file can be rewritten as soon as Open returns; the audio output is
/// opened by the first Open and kept until the player is destroyed. Call it from one thread.
class TMediaPlayer : public TAbstractMediaPlayer
{
public:
    /// synth is not owned and must outlive the player.
    explicit TMediaPlayer(TSynthesizer& synth, TOutputOptions output = {});
    ~TMediaPlayer() override;
    TMediaPlayer(const TMediaPlayer&) = delete;
    TMediaPlayer& operator=(const TMediaPlayer&) = delete;

    void Close() override;
    void SetFileName(const std::string& fileName) override { FFileName = fileName; }
    const std::string& FileName() const { return FFileName; }
    /// Raises EFOpenError for a file that cannot be read, EInvalidMidiFile for a malformed
    /// one, EAudioError when there is no SoundFont or no audio output. Waits for the
    /// SoundFont the first time if it is still loading. An open file is closed first.
    void Open() override;
    /// Raises EAudioError when no file is open.
    void Play() override;

    bool IsOpen() const { return FOpen; }
    /// True from Play until the song and the echo of its last notes have ended, or Close.
    bool Playing() const override;
    /// The audio driver in use; empty before the first Open.
    std::string DriverName() const;

private:
    void Render(float* left, float* right, int frames);
    void StopPlayer();

    TSynthesizer& FSynth;
    /// FSynth's synthesiser once it has loaded; the audio thread uses only this.
    fluid_synth_t* FFluid = nullptr;
    TOutputOptions FOutputOptions;
    std::string FFileName;
    std::string FFileData;
    bool FOpen = false;

    // Guards FPlayer against the audio thread, which renders (and so drives the player)
    // only while holding it: a player must never be deleted while the synthesiser renders.
    mutable std::mutex FLock;
    TFluidPlayerPtr FPlayer;
    std::unique_ptr<TAudioOutput> FOutput;
};
