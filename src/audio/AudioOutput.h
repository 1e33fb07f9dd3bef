#pragma once

#include "audio/FluidHandles.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class TAudioFileWriter;

/// Where live playback goes and how.
struct TOutputOptions
{
    /// A FluidSynth audio driver ("pulseaudio", "alsa", "jack", "oss"); empty tries
    /// pulseaudio, then alsa. "null" renders in real time into nothing, "file" in real time
    /// into the 16-bit WAV file FileName: for tests, measurements and machines without a
    /// sound card.
    std::string Driver;
    /// The file of the "file" output, put in place when the output closes; empty:
    /// "fluidsynth.wav" in the current directory, as FluidSynth's own file driver does.
    std::string FileName;
    /// Frames per period; PeriodSize x Periods / sample rate is the output latency
    /// (256 x 3 at 44.1 kHz: 17 ms).
    int PeriodSize = 256;
    int Periods = 3;
    /// Called on the audio thread with every block played; for tests and measurements.
    std::function<void(const float* left, const float* right, int frames)> BlockObserver;
};

/// A running audio output that asks for sound block by block on a thread of its own.
class TAudioOutput
{
public:
    /// Fills left and right with frames samples each; called on the audio thread.
    using TRenderFunction = std::function<void(float* left, float* right, int frames)>;

    /// Opens the output and starts it; raises EAudioError naming what was tried when no
    /// output could be opened.
    TAudioOutput(fluid_settings_t* settings, const TOutputOptions& options, TRenderFunction render);
    ~TAudioOutput();
    TAudioOutput(const TAudioOutput&) = delete;
    TAudioOutput& operator=(const TAudioOutput&) = delete;

    /// The driver that was opened.
    const std::string& DriverName() const { return FDriverName; }
    /// Frames between a block rendered and its sound reaching the ear: the periods queued in
    /// the sound card; none for "null" and "file", which take a block as it is rendered.
    int LatencyFrames() const { return FLatencyFrames; }

private:
    static int DriverCallback(void* data, int len, int nfx, float* fx[], int nout, float* out[]);
    void RenderBlock(float* left, float* right, int frames);
    /// The "null" and "file" outputs: one block per period of time, on a thread of our own.
    void RunPacedOutput(double sampleRate);
    void WriteToFile(const float* left, const float* right, int frames);

    TOutputOptions FOptions;
    TRenderFunction FRender;
    std::string FDriverName;
    TFluidDriverPtr FDriver;
    int FLatencyFrames = 0;
    std::unique_ptr<TAudioFileWriter> FFile;
    std::vector<std::int32_t> FFileBlock;
    std::atomic<bool> FStopping{false};
    std::thread FPacedThread;
};
