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
};

/// The embedded General MIDI synthesiser: FluidSynth with one SoundFont, which loads on a
/// thread of its own from construction on, so nothing waits for it until it is first needed.
/// The program keeps one for the whole run.
class TSynthesizer
{
public:
    /// Never fails: when FluidSynth cannot be had, every call that needs it raises
    /// EAudioError saying what is missing and how to install it.
    explicit TSynthesizer(const TSynthOptions& options = {});
    ~TSynthesizer();
    TSynthesizer(const TSynthesizer&) = delete;
    TSynthesizer& operator=(const TSynthesizer&) = delete;

    /// Blocks until the SoundFont is loaded; raises EAudioError saying what is missing and
    /// how to get it when it could not be (every call raises it again).
    void WaitUntilLoaded() const;
    /// True once loading has ended, well or not; never blocks.
    bool LoadFinished() const;

    /// The synthesiser, after WaitUntilLoaded.
    fluid_synth_t* Synth() const;
    /// The settings the synthesiser was made with; audio drivers are made from them too.
    /// Null when FluidSynth could not be had (see WaitUntilLoaded).
    fluid_settings_t* Settings() const { return FSettings.get(); }
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
    void Start();
    int Load();
    /// Checks and loads one SoundFont file, which becomes the channels' preset source.
    int LoadFile(const std::string& path);
    std::shared_future<int> Loaded() const;
    void Pin(int bank, int program) const;

    TSynthOptions FOptions;
    /// Guards FSoundFontPath, FSoundFontId and FLoaded, which a change of SoundFont replaces.
    mutable std::mutex FMutex;
    std::string FSoundFontPath;
    TFluidSettingsPtr FSettings;
    TFluidSynthPtr FSynth;
    int FSoundFontId = -1;
    std::chrono::duration<double> FLoadTime{0};
    // Declared last, so it is destroyed first: the loader finishes before the synth goes.
    std::shared_future<int> FLoaded;
};
