#pragma once

#include <cstdint>
#include <functional>
#include <string>

class TSynthesizer;

/// What a rendering produced.
struct TRenderResult
{
    int SampleRate = 0;
    /// Stereo frames in the file.
    std::uint64_t Frames = 0;
    /// Where the sequence's last event falls, in frames: the file is never shorter.
    std::uint64_t SongFrames = 0;
    /// Largest absolute sample value (0..32768): 0 means the file is silent.
    int Peak = 0;
};

/// Called now and then with the share of the sequence rendered so far, 0 to 1.
using TRenderProgress = std::function<void(double done)>;

/// Renders Standard MIDI File bytes through the synthesiser into a 16-bit stereo WAV file
/// at the synthesiser's sample rate, as fast as the machine allows; no audio device is
/// used. The sound runs on past the last event until its echo has died away. The file is
/// written through a temporary file beside it: a failed rendering leaves no WAV behind.
/// Waits for the SoundFont; raises EInvalidMidiFile, EAudioError, EFCreateError.
TRenderResult RenderMidiToWav(TSynthesizer& synth, const std::string& midiBytes,
                              const std::string& wavPath, const TRenderProgress& progress = {});
