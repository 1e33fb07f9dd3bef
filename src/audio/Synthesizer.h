#pragma once

#include "audio/FluidHandles.h"

#include <chrono>
#include <future>
#include <mutex>
#include <string>
#include <vector>

class TMidiData;

/// The General MIDI SoundFont of Debian's fluid-soundfont-gm, used unless one is chosen.
inline constexpr const char* DefaultSoundFont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";

/// Where Debian installs SoundFonts.
inline constexpr const char* SoundFontDirs[] = {"/usr/share/sounds/sf2", "/usr/share/sounds/sf3"};

/// The .sf2 and .sf3 files in dirs, sorted, each file once (a link to a file already listed
/// is left out).
std::vector<std::string> InstalledSoundFonts(const std::vector<std::string>& dirs);

/// Stereo part outputs of a synthesiser made with PartOutputs: one per MIDI channel.
constexpr int PartOutputCount = 16;

/// How the synthesiser is set up.
struct TSynthOptions
{
    /// The SoundFont to load; empty means DefaultSoundFont.
    std::string SoundFont;
    int SampleRate = 44100;
    /// Read a preset's samples only when a channel selects it (or it is pinned): a tenth of
    /// the memory and load time of FluidR3_GM, for the few instruments a song uses.
    bool DynamicSampleLoading = true;
    /// Master gain; 0.2 leaves headroom for five parts with reverb.
    double Gain = 0.2;
    /// A stereo output per MIDI channel, each with a reverb and a chorus of its own, for
    /// rendering the parts to files of their own (their sum is the usual mix).
    bool PartOutputs = false;
};

/// The embedded General MIDI synthesiser: FluidSynth with one SoundFont. FluidSynth's library,
/// the synthesiser and the SoundFont load on a thread of its own from construction on, so
/// nothing waits for them until they are first needed.
/// The program keeps one for the whole run.
class TSynthesizer
{
public:
    /// Never fails: when FluidSynth cannot be had, every call that needs it raises
    /// EAudioError saying what is missing and how to install it. startNow off: loading starts
    /// with StartLoading or with the first call that needs the synthesiser.
    explicit TSynthesizer(const TSynthOptions& options = {}, bool startNow = true);
    ~TSynthesizer();
    TSynthesizer(const TSynthesizer&) = delete;
    TSynthesizer& operator=(const TSynthesizer&) = delete;

    /// Starts loading on the loader thread unless it has started already.
    void StartLoading() const;
    /// Blocks until the SoundFont is loaded; raises EAudioError saying what is missing and
    /// how to get it when it could not be (every call raises it again).
    void WaitUntilLoaded() const;
    /// True once loading has ended, well or not; never blocks, never starts it.
    bool LoadFinished() const;

    /// The synthesiser, after WaitUntilLoaded.
    fluid_synth_t* Synth() const;
    /// The settings the synthesiser was made with, after WaitUntilLoaded; audio drivers are
    /// made from them too.
    fluid_settings_t* Settings() const;
    const TSynthOptions& Options() const { return FOptions; }
    /// The SoundFont in use (the default filled in); once a change has loaded, the new one.
    std::string SoundFontPath() const;
    /// Loads another SoundFont on a thread of its own while the one in use plays on; once it
    /// has loaded it takes that one's place. Returns at once; the future raises EAudioError
    /// with the reason when the file could not be loaded, and the one in use stays.
    std::shared_future<void> ChangeSoundFont(const std::string& path);
    /// How long loading took, once it has finished.
    std::chrono::duration<double> LoadTime() const;

    /// Pins the presets the sequence selects (program changes per channel, drum kits on
    /// channel 9 from bank 128), so with dynamic sample loading their samples are read now
    /// and never on the audio thread while the sequence plays.
    void PreparePresets(const TMidiData& midi) const;

private:
    /// Loads FluidSynth and makes the settings and the synthesiser (on the loader thread).
    void Start();
    void StartLoadingLocked() const;
    int Load();
    /// Checks and loads one SoundFont file, which becomes the channels' preset source.
    int LoadFile(const std::string& path);
    std::shared_future<int> Loaded() const;
    void Pin(int bank, int program) const;

    TSynthOptions FOptions;
    /// Guards FSoundFontPath, FSoundFontId and FLoaded, which a change of SoundFont replaces
    /// (and the first need of the synthesiser starts).
    mutable std::mutex FMutex;
    std::string FSoundFontPath;
    TFluidSettingsPtr FSettings;
    TFluidSynthPtr FSynth;
    int FSoundFontId = -1;
    std::chrono::duration<double> FLoadTime{0};
    // Declared last, so it is destroyed first: the loader finishes before the synth goes.
    mutable std::shared_future<int> FLoaded;
};
