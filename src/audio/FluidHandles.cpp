#include "audio/FluidHandles.h"

#include "audio/AudioError.h"
#include "audio/SoundLibraries.h"

#include <cstdio>
#include <mutex>

namespace
{
thread_local TFluidErrorScope* CurrentScope = nullptr;

TFluidApi LoadFluidApi()
{
    std::string why;
    // FluidSynth 2 (soname 3), then any other that a build environment offers;
    // LYRAVANE_FLUIDSYNTH_LIBRARY names the one library to try instead: tests give a name
    // that does not exist to see the program without FluidSynth.
    void* library = OpenSharedLibrary({"libfluidsynth.so.3", "libfluidsynth.so"},
                                      "LYRAVANE_FLUIDSYNTH_LIBRARY", why);
    if (library == nullptr)
        throw EAudioError(
            Msg(Core::Tr("The FluidSynth library could not be loaded (%1): install the "
                         "package libfluidsynth3 (sudo apt install libfluidsynth3), "
                         "and fluid-soundfont-gm for its instruments"),
                why));

    // The library stays loaded for the life of the process: synthesisers may be freed late.
    TFluidApi api;
#define LYRAVANE_FLUID_RESOLVE(name)                                                               \
    api.name = reinterpret_cast<decltype(api.name)>(LibraryFunction(library, #name));              \
    if (api.name == nullptr)                                                                       \
        throw EAudioError(Msg(Core::Tr("The FluidSynth library lacks %1: install FluidSynth 2.2 "  \
                                       "or later (package libfluidsynth3)"),                       \
                              #name));
    LYRAVANE_FLUID_FUNCTIONS(LYRAVANE_FLUID_RESOLVE)
#undef LYRAVANE_FLUID_RESOLVE
    return api;
}
} // namespace

const TFluidApi& Fluid()
{
    return LoadOnce<TFluidApi>(LoadFluidApi);
}

struct TFluidLog
{
    static void Handle(int level, const char* message, void* /*data*/)
    {
        if (level != FLUID_PANIC && level != FLUID_ERR)
            return;
        if (TFluidErrorScope* scope = CurrentScope)
        {
            if (!scope->FErrors.empty())
                scope->FErrors += "; ";
            scope->FErrors += message;
            return;
        }
        std::fprintf(stderr, "fluidsynth: error: %s\n", message);
    }
};

TFluidErrorScope::TFluidErrorScope() : FOuter(CurrentScope)
{
    InstallLogHandler();
    CurrentScope = this;
}

TFluidErrorScope::~TFluidErrorScope()
{
    CurrentScope = FOuter;
}

std::string TFluidErrorScope::Reason() const
{
    return FErrors.empty() ? std::string() : " (" + FErrors + ")";
}

void TFluidErrorScope::InstallLogHandler()
{
    static std::once_flag once;
    std::call_once(once,
                   []
                   {
                       for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
                           Fluid().fluid_set_log_function(level, &TFluidLog::Handle, nullptr);
                   });
}
