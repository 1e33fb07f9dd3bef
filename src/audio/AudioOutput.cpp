#include "audio/AudioOutput.h"

#include "audio/AudioError.h"
#include "audio/AudioFileWriter.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <utility>

#include <dlfcn.h>
#include <sys/stat.h>

namespace
{
extern "C" void SilentAlsaError(const char*, int, const char*, int, const char*, ...) {}

/// ALSA prints its own complaints to standard error when there is no sound card, before
/// FluidSynth reports the failure that we turn into our message. ALSA is loaded (or not)
/// with FluidSynth, so it is looked up at run time rather than linked.
void QuietAlsa()
{
    static std::once_flag once;
    std::call_once(once,
                   []
                   {
                       using THandler =
                           void (*)(const char*, int, const char*, int, const char*, ...);
                       using TSetHandler = int (*)(THandler);
                       // FluidSynth, and ALSA with it, is loaded privately (RTLD_LOCAL):
                       // ask the loaded library itself, not the global scope.
                       void* alsa = ::dlopen("libasound.so.2", RTLD_NOW | RTLD_NOLOAD);
                       void* symbol = ::dlsym(alsa != nullptr ? alsa : RTLD_DEFAULT,
                                              "snd_lib_error_set_handler");
                       if (symbol != nullptr)
                           reinterpret_cast<TSetHandler>(symbol)(&SilentAlsaError);
                       if (alsa != nullptr)
                           ::dlclose(alsa); // drops only the reference NOLOAD took
                   });
}
/// The file output plays into a WAV file that is completed at the end: a pipe would make the
/// player wait for a reader, and a device (/dev/full, /dev/null) takes or loses the sound
/// without a file to show for it. Only a regular file, or a name not yet taken, will do.
void RefuseUnlessRegularFile(const std::string& name)
{
    struct stat info
    {
    };
    if (::stat(name.c_str(), &info) != 0)
        return;
    if (!S_ISREG(info.st_mode))
        throw EAudioError(Msg(
            Core::Tr(
                "The audio file %1 is not a regular file; the file output writes a WAV file there"),
            name));
}
} // namespace

TAudioOutput::TAudioOutput(fluid_settings_t* settings, const TOutputOptions& options,
                           TRenderFunction render)
    : FOptions(options), FRender(std::move(render))
{
    double sampleRate = 44100;
    Fluid().fluid_settings_getnum(settings, "synth.sample-rate", &sampleRate);

    if (options.Driver == "null" || options.Driver == "file")
    {
        if (options.Driver == "file")
        {
            const std::string name = options.FileName.empty() ? "fluidsynth.wav" : options.FileName;
            RefuseUnlessRegularFile(name);
            FFile = std::make_unique<TAudioFileWriter>(name, TAudioFormat::Wav, 16,
                                                       static_cast<int>(sampleRate), 2);
        }
        FDriverName = options.Driver;
        FPacedThread = std::thread([this, sampleRate] { RunPacedOutput(sampleRate); });
        return;
    }
    FLatencyFrames = options.PeriodSize * options.Periods;

    Fluid().fluid_settings_setint(settings, "audio.period-size", options.PeriodSize);
    Fluid().fluid_settings_setint(settings, "audio.periods", options.Periods);
    // The output's thread renders through our callback, which takes the player's lock, so
    // a song can be closed while the output runs.
    const std::vector<std::string> candidates = options.Driver.empty()
                                                    ? std::vector<std::string>{"pulseaudio", "alsa"}
                                                    : std::vector<std::string>{options.Driver};
    QuietAlsa();
    std::string tried;
    std::string reasons;
    for (const std::string& name : candidates)
    {
        TFluidErrorScope errors;
        if (Fluid().fluid_settings_setstr(settings, "audio.driver", name.c_str()) == FLUID_OK)
            FDriver.reset(
                Fluid().new_fluid_audio_driver2(settings, &TAudioOutput::DriverCallback, this));
        if (FDriver)
        {
            FDriverName = name;
            return;
        }
        tried += (tried.empty() ? "" : ", ") + name;
        if (!errors.Errors().empty())
            reasons += (reasons.empty() ? "" : "; ") + errors.Errors();
        else
            reasons += (reasons.empty() ? "" : "; ") + name + " is not available";
    }
    throw EAudioError(
        Msg(Core::Tr("No audio output could be opened (tried %1: %2). Connect a sound "
                     "device or start the sound server (PipeWire or PulseAudio); "
                     "lyravane-cli render writes a WAV file without one."),
            tried, reasons));
}

TAudioOutput::~TAudioOutput()
{
    FDriver.reset();
    FStopping = true;
    if (FPacedThread.joinable())
        FPacedThread.join();
    if (FFile)
    {
        try
        {
            FFile->Commit();
        }
        catch (const std::exception& error)
        {
            std::fprintf(stderr, "The audio file was not written: %s\n", error.what());
        }
    }
}

int TAudioOutput::DriverCallback(void* data, int len, int /*nfx*/, float* /*fx*/[], int nout,
                                 float* out[])
{
    auto* self = static_cast<TAudioOutput*>(data);
    if (nout < 2)
        return FLUID_FAILED;
    self->RenderBlock(out[0], out[1], len);
    // Outputs of more than two channels get the stereo mix on their first pair only.
    for (int c = 2; c < nout; ++c)
        std::fill(out[c], out[c] + len, 0.0f);
    return FLUID_OK;
}

void TAudioOutput::RenderBlock(float* left, float* right, int frames)
{
    FRender(left, right, frames);
    if (FOptions.BlockObserver)
        FOptions.BlockObserver(left, right, frames);
}

void TAudioOutput::WriteToFile(const float* left, const float* right, int frames)
{
    FFileBlock.resize(static_cast<std::size_t>(frames) * 2);
    const auto sample = [](float value)
    { return static_cast<std::int32_t>(std::lround(std::clamp(value, -1.0f, 1.0f) * 32767.0f)); };
    for (int i = 0; i < frames; ++i)
    {
        FFileBlock[2 * static_cast<std::size_t>(i)] = sample(left[i]);
        FFileBlock[2 * static_cast<std::size_t>(i) + 1] = sample(right[i]);
    }
    try
    {
        FFile->WriteWhole(FFileBlock.data(), static_cast<std::size_t>(frames));
    }
    catch (const std::exception& error)
    {
        // A full disk: the sound goes on into nothing, and the file is not kept.
        std::fprintf(stderr, "The audio file is not written any further: %s\n", error.what());
        FFile.reset();
    }
}

void TAudioOutput::RunPacedOutput(double sampleRate)
{
    const int frames = std::max(FOptions.PeriodSize, 1);
    std::vector<float> left(static_cast<size_t>(frames));
    std::vector<float> right(static_cast<size_t>(frames));
    const auto period = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
        std::chrono::duration<double>(frames / sampleRate));
    auto next = std::chrono::steady_clock::now();
    // Paced like a sound card: one period per period of time, so a song takes its length.
    while (!FStopping)
    {
        RenderBlock(left.data(), right.data(), frames);
        if (FFile)
            WriteToFile(left.data(), right.data(), frames);
        next += period;
        std::this_thread::sleep_until(next);
    }
}
