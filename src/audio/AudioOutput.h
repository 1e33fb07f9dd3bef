#pragma once

#include "audio/FluidHandles.h"

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

/// Where live playback goes and how.
struct TOutputOptions
{
    /// A FluidSynth audio driver ("pulseaudio", "alsa", "jack", "oss"); empty tries
    /// pulseaudio, then alsa. "null" renders in real time into nothing: for tests and
    /// measurements on machines without a sound card.
    std::string Driver;
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

private:
    static int DriverCallback(void* data, int len, int nfx, float* fx[], int nout, float* out[]);
    void RenderBlock(float* left, float* right, int frames);
    void RunNullOutput(double sampleRate);

    TOutputOptions FOptions;
    TRenderFunction FRender;
    std::string FDriverName;
    TFluidDriverPtr FDriver;
    std::atomic<bool> FStopping{false};
    std::thread FNullThread;
};
