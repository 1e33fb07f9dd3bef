#pragma once

#include "audio/AbstractMediaPlayer.h"
#include "audio/AudioOutput.h"
#include "audio/FluidHandles.h"
#include "audio/Timeline.h"
#include "midi/MidiData.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

class TSynthesizer;

/// Plays Standard MIDI Files through the embedded synthesiser, in the background. Open reads
/// the whole file, so the file can be rewritten as soon as Open returns; the audio output is
/// opened by the first Open and kept until the player is destroyed. The audio callback sends
/// the file's messages to the synthesiser at their frames, so it knows at every moment where
/// the play is, and a loop joins its passes frame to frame. Call it from one thread;
/// Position may be asked from any.
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
    /// Raises EAudioError when no file is open or fromTick..toTick holds no time.
    void PlayLoop(std::int32_t fromTick, std::int32_t toTick) override;
    /// Nothing unless a loop plays.
    void QueueLoopPass() override;
    TPlayPosition Position() const override;
    void SetClicks(TClicks clicks) override { FClicks = clicks; }
    /// Heard from the next block the output asks for.
    void SetMutedChannels(std::uint16_t mask) override { FMuted = mask; }
    void SetOutputGain(double gainDb) override;
    /// Sent before the next block the output asks for.
    void SendControl(int channel, int controller, int value) override;

    bool IsOpen() const { return FOpen; }
    /// True from Play until the last message of the song has been sent (or Close); a loop
    /// plays until Close.
    bool Playing() const override;
    /// The audio driver in use; empty before the first Open.
    std::string DriverName() const;
    /// Replaces the output options; takes effect at the next Open after the output closes
    /// (before the first Open: at once).
    void SetOutputOptions(TOutputOptions output) { FOutputOptions = std::move(output); }

private:
    void Render(float* left, float* right, int frames);
    void StopPlayer();
    void Start(std::shared_ptr<const TTimeline> first, bool loop);
    /// A pass of the loop, FLoopFrom to FLoopTo of the file as read last, with its metronome.
    std::shared_ptr<TTimeline> LoopPass() const;
    /// Loads FFileName into FMidi and pins its presets.
    void ReadFile();
    /// On the audio thread, FLock held: the messages due by FFrame go to the synthesiser.
    void SendDueMessages();
    /// On the audio thread, FLock held: brings the channels' expression in line with FMuted
    /// (0 for a muted channel, full for the others), for the channels in changed.
    void ApplyMutes(std::uint16_t changed);
    /// On the audio thread: FGain and the limiter over frames of the block.
    void ApplyGain(float* left, float* right, int frames);
    bool PlayingLocked() const;

    TSynthesizer& FSynth;
    /// FSynth's synthesiser once it has loaded; the audio thread uses only this.
    fluid_synth_t* FFluid = nullptr;
    TOutputOptions FOutputOptions;
    std::string FFileName;
    TMidiData FMidi;
    double FSampleRate = 44100;
    bool FOpen = false;
    std::int32_t FLoopFrom = 0;
    std::int32_t FLoopTo = 0;
    TClicks FClicks;
    bool FLoopMetronome = false;
    std::atomic<std::uint16_t> FMuted{0};
    /// Linear; 1 leaves the sound as the synthesiser makes it.
    std::atomic<float> FGain{1.0f};
    /// The limiter's factor now (audio thread).
    float FLimit = 1.0f;

    // Guards what follows against the audio thread, which renders only while holding it.
    mutable std::mutex FLock;
    /// The pass that plays, and with a loop the pass that follows each one.
    std::shared_ptr<const TTimeline> FTimeline;
    std::shared_ptr<const TTimeline> FLoopPass;
    std::size_t FNext = 0;
    std::uint64_t FFrame = 0;
    int FPass = 0;
    /// The mutes the synthesiser has now (a reset clears them).
    std::uint16_t FMutedNow = 0;
    /// Controller changes waiting for the next block.
    std::vector<std::vector<std::uint8_t>> FControls;
    std::unique_ptr<TAudioOutput> FOutput;
};
