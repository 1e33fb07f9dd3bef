#pragma once

#include <fluidsynth.h>

#include <memory>
#include <string>

// FluidSynth's functions are loaded from its shared library on first use instead of being
// linked: the commands and windows that make no sound never pay for loading it and the
// dozens of libraries it pulls in (a process start of lyravane-cli drops from ~9 ms to ~1).
#define LYRAVANE_FLUID_FUNCTIONS(X)                                                                \
    X(delete_fluid_audio_driver)                                                                   \
    X(delete_fluid_player)                                                                         \
    X(delete_fluid_settings)                                                                       \
    X(delete_fluid_synth)                                                                          \
    X(fluid_player_add_mem)                                                                        \
    X(fluid_player_get_status)                                                                     \
    X(fluid_player_get_total_ticks)                                                                \
    X(fluid_player_play)                                                                           \
    X(fluid_player_set_tick_callback)                                                              \
    X(fluid_set_log_function)                                                                      \
    X(fluid_settings_getnum)                                                                       \
    X(fluid_settings_setint)                                                                       \
    X(fluid_settings_setnum)                                                                       \
    X(fluid_settings_setstr)                                                                       \
    X(fluid_sfont_get_preset)                                                                      \
    X(fluid_synth_all_sounds_off)                                                                  \
    X(fluid_synth_cc)                                                                              \
    X(fluid_synth_channel_pressure)                                                                \
    X(fluid_synth_get_sfont_by_id)                                                                 \
    X(fluid_synth_key_pressure)                                                                    \
    X(fluid_synth_noteoff)                                                                         \
    X(fluid_synth_noteon)                                                                          \
    X(fluid_synth_pin_preset)                                                                      \
    X(fluid_synth_pitch_bend)                                                                      \
    X(fluid_synth_program_change)                                                                  \
    X(fluid_synth_sfload)                                                                          \
    X(fluid_synth_sysex)                                                                           \
    X(fluid_synth_sfunload)                                                                        \
    X(fluid_synth_system_reset)                                                                    \
    X(fluid_synth_write_float)                                                                     \
    X(fluid_synth_process)                                                                         \
    X(new_fluid_audio_driver2)                                                                     \
    X(new_fluid_player)                                                                            \
    X(new_fluid_settings)                                                                          \
    X(new_fluid_synth)

/// The FluidSynth functions the sound layer calls.
struct TFluidApi
{
// A member name cannot stand in parentheses.
#define LYRAVANE_FLUID_MEMBER(name)                                                                \
    decltype(&::name) name = nullptr; // NOLINT(bugprone-macro-parentheses)
    LYRAVANE_FLUID_FUNCTIONS(LYRAVANE_FLUID_MEMBER)
#undef LYRAVANE_FLUID_MEMBER
};

/// The loaded functions; the first call loads the library and raises EAudioError when it or
/// one of its functions cannot be had.
const TFluidApi& Fluid();

// Owning handles for FluidSynth objects. Whoever holds several frees them player -> driver
// -> synth -> settings: each needs the ones after it while it lives.

struct TFluidSettingsDeleter
{
    void operator()(fluid_settings_t* settings) const { Fluid().delete_fluid_settings(settings); }
};
struct TFluidSynthDeleter
{
    void operator()(fluid_synth_t* synth) const { Fluid().delete_fluid_synth(synth); }
};
struct TFluidDriverDeleter
{
    void operator()(fluid_audio_driver_t* driver) const
    {
        Fluid().delete_fluid_audio_driver(driver);
    }
};
struct TFluidPlayerDeleter
{
    void operator()(fluid_player_t* player) const { Fluid().delete_fluid_player(player); }
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
