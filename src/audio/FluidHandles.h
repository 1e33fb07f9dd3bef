#pragma once

#include <fluidsynth.h>

#include <memory>
#include <string>

// Owning handles for FluidSynth objects. Whoever holds several frees them player -> driver
// -> synth -> settings: each needs the ones after it while it lives.

struct TFluidSettingsDeleter
{
    void operator()(fluid_settings_t* settings) const { delete_fluid_settings(settings); }
};
struct TFluidSynthDeleter
{
    void operator()(fluid_synth_t* synth) const { delete_fluid_synth(synth); }
};
struct TFluidDriverDeleter
{
    void operator()(fluid_audio_driver_t* driver) const { delete_fluid_audio_driver(driver); }
};
struct TFluidPlayerDeleter
{
    void operator()(fluid_player_t* player) const { delete_fluid_player(player); }
};

using TFluidSettingsPtr = std::unique_ptr<fluid_settings_t, TFluidSettingsDeleter>;
using TFluidSynthPtr = std::unique_ptr<fluid_synth_t, TFluidSynthDeleter>;
using TFluidDriverPtr = std::unique_ptr<fluid_audio_driver_t, TFluidDriverDeleter>;
using TFluidPlayerPtr = std::unique_ptr<fluid_player_t, TFluidPlayerDeleter>;

/// Collects the error messages FluidSynth logs on this thread while it lives, so a failed
/// call can say why in its exception. FluidSynth's warnings and chatter are dropped
/// everywhere; an error logged outside any scope goes to standard error.
class TFluidErrorScope
{
public:
    TFluidErrorScope();
    ~TFluidErrorScope();
    TFluidErrorScope(const TFluidErrorScope&) = delete;
    TFluidErrorScope& operator=(const TFluidErrorScope&) = delete;

    /// The errors logged so far, joined with "; "; empty when there were none.
    const std::string& Errors() const { return FErrors; }
    /// " (error text)" when there were errors, else empty: for the end of a message.
    std::string Reason() const;

    /// Routes FluidSynth's log through this class; done once per process.
    static void InstallLogHandler();

private:
    friend struct TFluidLog;
    std::string FErrors;
    TFluidErrorScope* FOuter;
};
