#include "audio/Synthesizer.h"

#include "audio/AudioError.h"
#include "base/Text.h"
#include "midi/MidiData.h"
#include "model/Muprop.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
constexpr int DrumBank = 128;

std::string HowToGetOne()
{
    return std::string("install the package fluid-soundfont-gm or choose a SoundFont");
}

/// Checks that path names a readable regular file before FluidSynth tries it, so the message
/// can tell a missing file from an unreadable one, and so that a FIFO or a device, whose
/// opening or reading may never end, never reaches FluidSynth's loader.
void CheckSoundFontFile(const std::string& path)
{
    using TReason = ESoundFontError::TReason;
    const auto fail = [&path](TReason reason, const std::string& why)
    { throw ESoundFontError(reason, path, Verbatim(why + ": " + HowToGetOne())); };
    // Opened without waiting, as the bounded reader opens: a FIFO or a device is seen for
    // what it is by fstat, never read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
    {
        if (errno == ENOENT || errno == ENOTDIR)
            fail(TReason::Missing, "No SoundFont found at " + path);
        fail(TReason::Unreadable,
             "The SoundFont " + path + " cannot be read (" + std::strerror(errno) + ")");
    }
    struct stat info
    {
    };
    const bool known = ::fstat(fd, &info) == 0;
    const bool regular = known && S_ISREG(info.st_mode);
    // SoundFonts (and the DLS files FluidSynth also takes) are RIFF files. Anything else is
    // refused here, before FluidSynth's loaders try it and complain on standard error.
    char magic[4] = {};
    const bool riff =
        regular && ::read(fd, magic, sizeof magic) == 4 && std::memcmp(magic, "RIFF", 4) == 0;
    ::close(fd);
    if (known && S_ISDIR(info.st_mode))
        fail(TReason::Directory, "The SoundFont " + path + " is a directory, not a file");
    if (!regular)
        fail(TReason::NotRegular, "The SoundFont " + path + " is not a regular file");
    if (!riff)
        fail(TReason::NotSoundFont,
             "The SoundFont " + path + " could not be loaded (not a SoundFont file)");
}
} // namespace

std::vector<std::string> InstalledSoundFonts(const std::vector<std::string>& dirs)
{
    namespace fs = std::filesystem;
    std::vector<std::string> found;
    std::set<fs::path> seen;
    for (const std::string& dir : dirs)
    {
        std::error_code ec;
        std::vector<fs::path> names;
        for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        {
            const std::string name = it->path().string();
            if ((HasExtension(name, "sf2") || HasExtension(name, "sf3")) &&
                fs::is_regular_file(it->path(), ec))
                names.push_back(it->path());
        }
        // Real files before links, so a link to one of them is the one left out.
        std::sort(names.begin(), names.end(),
                  [](const fs::path& a, const fs::path& b)
                  {
                      const bool linkA = fs::is_symlink(a);
                      const bool linkB = fs::is_symlink(b);
                      return linkA != linkB ? linkB : a < b;
                  });
        std::vector<std::string> kept;
        for (const fs::path& name : names)
            if (seen.insert(fs::weakly_canonical(name, ec)).second)
                kept.push_back(name.string());
        std::sort(kept.begin(), kept.end());
        found.insert(found.end(), kept.begin(), kept.end());
    }
    return found;
}

TSynthesizer::TSynthesizer(const TSynthOptions& options, bool startNow)
    : FOptions(options),
      FSoundFontPath(options.SoundFont.empty() ? std::string(DefaultSoundFont) : options.SoundFont)
{
    if (startNow)
        StartLoading();
}

void TSynthesizer::StartLoading() const
{
    const std::lock_guard lock(FMutex);
    StartLoadingLocked();
}

void TSynthesizer::StartLoadingLocked() const
{
    if (FLoaded.valid())
        return;
    // Loading FluidSynth's library (and the dozens it pulls in), making the synthesiser and
    // reading the SoundFont all happen on the loader thread: a window opens without waiting
    // for them. Without FluidSynth the program still works, silent: every use of the
    // synthesiser raises the reason, as a SoundFont that could not be loaded does.
    // Loading is no change of the synthesiser a caller sees: a const use that needs it starts it.
    auto* self = const_cast<TSynthesizer*>(this);
    FLoaded = std::async(std::launch::async,
                         [self]
                         {
                             self->Start();
                             return self->Load();
                         })
                  .share();
}

void TSynthesizer::Start()
{
    TFluidErrorScope errors;
    FSettings.reset(Fluid().new_fluid_settings());
    if (!FSettings)
        throw EAudioError(Msg(Core::Tr("The synthesiser could not be set up%1"), errors.Reason()));
    fluid_settings_t* s = FSettings.get();
    Fluid().fluid_settings_setnum(s, "synth.sample-rate", FOptions.SampleRate);
    Fluid().fluid_settings_setnum(s, "synth.gain", FOptions.Gain);
    if (FOptions.PartOutputs)
        for (const char* name :
             {"synth.audio-channels", "synth.audio-groups", "synth.effects-groups"})
            Fluid().fluid_settings_setint(s, name, PartOutputCount);
    Fluid().fluid_settings_setint(s, "synth.dynamic-sample-loading",
                                  FOptions.DynamicSampleLoading ? 1 : 0);
    // Our files never select banks: channel 9 takes its kit from bank 128 by its program
    // change alone, as on any General MIDI synthesiser, and a stray bank select in a user's
    // pattern file cannot move a melodic part onto a drum kit.
    Fluid().fluid_settings_setstr(s, "synth.midi-bank-select", "gm");
    FSynth.reset(Fluid().new_fluid_synth(s));
    if (!FSynth)
        throw EAudioError(Msg(Core::Tr("The synthesiser could not be started%1"), errors.Reason()));
}

TSynthesizer::~TSynthesizer()
{
    // A change of SoundFont waits for the load before it, so the last one is all to wait for.
    std::shared_future<int> loaded;
    {
        const std::lock_guard lock(FMutex);
        loaded = FLoaded;
    }
    if (loaded.valid())
        loaded.wait();
}

int TSynthesizer::Load()
{
    const auto start = std::chrono::steady_clock::now();
    struct TStopwatch
    {
        std::chrono::steady_clock::time_point Start;
        std::chrono::duration<double>& Out;
        ~TStopwatch() { Out = std::chrono::steady_clock::now() - Start; }
    } stopwatch{start, FLoadTime};
    return LoadFile(SoundFontPath());
}

int TSynthesizer::LoadFile(const std::string& path)
{
    CheckSoundFontFile(path);
    TFluidErrorScope errors;
    const int id = Fluid().fluid_synth_sfload(FSynth.get(), path.c_str(), 1);
    if (id == FLUID_FAILED)
        throw ESoundFontError(ESoundFontError::TReason::Refused, path,
                              Verbatim("The SoundFont " + path + " could not be loaded" +
                                       errors.Reason() + ": " + HowToGetOne()));
    {
        const std::lock_guard lock(FMutex);
        FSoundFontId = id;
    }
    // The presets a reset selects stay in memory, so a reset never reads samples.
    if (FOptions.DynamicSampleLoading)
    {
        Pin(0, 0);
        Pin(DrumBank, 0);
    }
    return id;
}

std::shared_future<void> TSynthesizer::ChangeSoundFont(const std::string& path)
{
    auto outcome = std::make_shared<std::promise<void>>();
    std::shared_future<void> result = outcome->get_future().share();
    const std::lock_guard lock(FMutex);
    StartLoadingLocked();
    std::shared_future<int> previous = FLoaded;
    FLoaded = std::async(std::launch::async,
                         [this, previous, path, outcome]
                         {
                             int oldId = -1;
                             try
                             {
                                 oldId = previous.get();
                             }
                             catch (const std::exception&)
                             {
                                 // The first SoundFont failed: the new one may do better.
                                 // Without FluidSynth there is nothing to load into: the
                                 // reason it is missing.
                                 if (!FSynth)
                                 {
                                     outcome->set_exception(std::current_exception());
                                     throw;
                                 }
                             }
                             try
                             {
                                 const int id = LoadFile(path);
                                 if (oldId >= 0)
                                     Fluid().fluid_synth_sfunload(FSynth.get(), oldId, 1);
                                 {
                                     const std::lock_guard done(FMutex);
                                     FSoundFontPath = path;
                                 }
                                 outcome->set_value();
                                 return id;
                             }
                             catch (const std::exception&)
                             {
                                 outcome->set_exception(std::current_exception());
                                 if (oldId < 0)
                                     throw;
                                 // The one in use stays.
                                 const std::lock_guard kept(FMutex);
                                 FSoundFontId = oldId;
                                 return oldId;
                             }
                         })
                  .share();
    return result;
}

std::string TSynthesizer::SoundFontPath() const
{
    const std::lock_guard lock(FMutex);
    return FSoundFontPath;
}

std::shared_future<int> TSynthesizer::Loaded() const
{
    const std::lock_guard lock(FMutex);
    StartLoadingLocked();
    return FLoaded;
}

void TSynthesizer::WaitUntilLoaded() const
{
    Loaded().get();
}

bool TSynthesizer::LoadFinished() const
{
    const std::lock_guard lock(FMutex);
    return FLoaded.valid() &&
           FLoaded.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

fluid_settings_t* TSynthesizer::Settings() const
{
    WaitUntilLoaded();
    return FSettings.get();
}

fluid_synth_t* TSynthesizer::Synth() const
{
    WaitUntilLoaded();
    return FSynth.get();
}

std::chrono::duration<double> TSynthesizer::LoadTime() const
{
    Loaded().wait();
    return FLoadTime;
}

void TSynthesizer::Pin(int bank, int program) const
{
    int id = -1;
    {
        const std::lock_guard lock(FMutex);
        id = FSoundFontId;
    }
    fluid_sfont_t* font = Fluid().fluid_synth_get_sfont_by_id(FSynth.get(), id);
    if (!font)
        return;
    // A kit the SoundFont lacks (FluidR3_GM has no 56 or 127) plays FluidSynth's substitute,
    // the standard kit; a missing melodic program has nothing to pin.
    if (!Fluid().fluid_sfont_get_preset(font, bank, program))
    {
        if (bank != DrumBank)
            return;
        program = 0;
        if (!Fluid().fluid_sfont_get_preset(font, bank, program))
            return;
    }
    Fluid().fluid_synth_pin_preset(FSynth.get(), id, bank, program);
}

void TSynthesizer::PreparePresets(const TMidiData& midi) const
{
    WaitUntilLoaded();
    if (!FOptions.DynamicSampleLoading)
        return;
    std::set<std::pair<int, int>> wanted;
    for (int t = 0; t < midi.TrackCount(); ++t)
    {
        const TMidiTrack& track = *midi.GetTrack(t);
        for (int i = 0; i < track.Count(); ++i)
        {
            const TMidiEvent& e = *track.Get(i);
            if (e.DataSize() < 2 || (e.Status() & 0xF0) != 0xC0)
                continue;
            const int channel = e.Status() & 0x0F;
            wanted.emplace(channel == DrumChannel ? DrumBank : 0, e.Data[1] & 0x7F);
        }
    }
    for (const auto& [bank, program] : wanted)
        Pin(bank, program);
}
