#pragma once

#include "midi/MidiData.h"

#include <cstdint>
#include <string>
#include <vector>

/// A 16-bit PCM WAV file read back, its header checked by the reader.
struct TWav
{
    int SampleRate = 0;
    int Channels = 0;
    std::vector<std::int16_t> Samples; ///< interleaved

    std::size_t Frames() const
    {
        return Channels ? Samples.size() / static_cast<std::size_t>(Channels) : 0;
    }
    double Seconds() const { return SampleRate ? static_cast<double>(Frames()) / SampleRate : 0; }
};

/// Reads a 16-bit WAV as the renderer writes it; fails the current test on a malformed header.
TWav ReadWav(const std::string& path);

/// Any audio file libsndfile reads, as floating-point samples.
struct TReadBack
{
    int Format = 0; ///< libsndfile's SF_FORMAT_ bits
    int SampleRate = 0;
    int Channels = 0;
    std::vector<float> Samples; ///< interleaved
    std::size_t Frames() const
    {
        return Channels ? Samples.size() / static_cast<std::size_t>(Channels) : 0;
    }
};

/// Reads a file with libsndfile; fails the current test when it cannot.
TReadBack ReadBack(const std::string& path);
/// Integrated loudness (LUFS) and true peak (dBTP) as libebur128 measures them on its own.
void Measure(const TReadBack& sound, double& lufs, double& truePeakDb);

/// Root mean square of both channels (or one, 0 left / 1 right) between two times, 0..1.
double Rms(const TWav& wav, double fromSeconds, double toSeconds, int channel = -1);
/// Time of the first sample louder than level (0..1); -1 when there is none.
double FirstSound(const TWav& wav, double level = 0.01);
/// Time just after the last sample louder than level; 0 when there is none.
double LastSound(const TWav& wav, double level = 0.01);

/// Seconds from tick 0 to tick in a sequence, following its tempo events (120 bpm before
/// the first).
double SecondsAt(const TMidiData& midi, std::int64_t tick);
/// The tick where the sequence's last event (note-off included) falls.
std::int64_t LastTick(const TMidiData& midi);

/// A fresh private scratch directory for one test, removed by the destructor.
class TScratchDir
{
public:
    TScratchDir();
    ~TScratchDir();
    const std::string& Path() const { return FPath; }
    std::string File(const std::string& name) const { return FPath + "/" + name; }
    /// Names of the files in the directory.
    std::vector<std::string> List() const;

private:
    std::string FPath;
};

/// The reference cases of tests/data/vectors: songs and the small pattern library.
inline const std::string Vectors = std::string(LYRAVANE_TEST_DATA) + "/vectors";

/// Tests need Debian's General MIDI SoundFont; says so plainly when it is missing.
bool HaveDefaultSoundFont();
