#pragma once

#include "audio/AudioFileWriter.h"
#include "audio/Loudness.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TSynthesizer;

/// How a rendering is written.
struct TRenderOptions
{
    TAudioFormat Format = TAudioFormat::Wav;
    /// 16 or 24, for WAV and FLAC; Ogg Vorbis has no bit depth.
    int Bits = 16;
    /// Off: the synthesiser's own level, as it comes.
    bool Normalize = false;
    TLoudnessTarget Target;
};

/// What a rendering produced.
struct TRenderResult
{
    int SampleRate = 0;
    /// Stereo frames in the file.
    std::uint64_t Frames = 0;
    /// Where the sequence's last event falls, in frames: the file is never shorter.
    std::uint64_t SongFrames = 0;
    /// Largest absolute sample value at 16 bits (0..32768): 0 means the file is silent.
    int Peak = 0;
    /// Set when the rendering was normalised: the loudness before and after, and the gain.
    bool Normalized = false;
    TLoudness Before;
    TLoudness After;
    double GainDb = 0;
};

/// Called now and then with the share of the work done so far, 0 to 1; returning false
/// gives the rendering up.
using TRenderProgress = std::function<bool(double done)>;

/// Renders Standard MIDI File bytes through the synthesiser into a stereo audio file at the
/// synthesiser's sample rate, as fast as the machine allows; no audio device is used. The
/// sound runs on past the last event until its echo has died away. Normalising brings the
/// whole song to the target loudness before it is quantised, so the same song always gives
/// the same bytes. The file is written through a temporary file beside it: a failed or
/// cancelled rendering leaves nothing behind, and a song too long for a WAV file is refused
/// before anything is rendered. Waits for the SoundFont; raises EInvalidMidiFile,
/// EAudioError, ERenderCancelled, EFCreateError.
TRenderResult RenderMidiToFile(TSynthesizer& synth, const std::string& midiBytes,
                               const std::string& path, const TRenderOptions& options = {},
                               const TRenderProgress& progress = {});

/// One part's file of a rendering in parts: the MIDI channel whose sound it holds.
struct TStemFile
{
    int Channel = 0;
    std::string Path;
};

/// Renders the sequence once, from a synthesiser made with PartOutputs, into a WAV or FLAC
/// file per part: each holds its MIDI channel's sound with its own reverb and chorus. Every
/// part gets the gain the whole mix would get (and the limiter's moves, worked out on the
/// mix), and every file has the mix's length, sample-aligned, so the files summed are the
/// normal rendering to within rounding. Returns what the mix got. Raises as
/// RenderMidiToFile; no file is left behind on failure.
TRenderResult RenderMidiStems(TSynthesizer& synth, const std::string& midiBytes,
                              const std::vector<TStemFile>& stems, const TRenderOptions& options,
                              const TRenderProgress& progress = {});

/// The files of a song's five parts beside path, named after it and the part: "song - Bajo.wav"
/// for "song.wav" (partName names each track).
std::vector<TStemFile> SongStemFiles(const std::string& path,
                                     const std::function<std::string(int track)>& partName);

/// The integrated loudness of the sequence as a rendering sounds before it is normalised
/// (its echo included; no true peak), worked out without writing anything. Raises as
/// RenderMidiToFile does; ERenderCancelled when progress says no.
TLoudness MeasureMidiLoudness(TSynthesizer& synth, const std::string& midiBytes,
                              const TRenderProgress& progress = {});
