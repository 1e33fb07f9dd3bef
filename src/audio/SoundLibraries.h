#pragma once

#include <ebur128.h>
#include <sndfile.h>

#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>

// libsndfile (with its codecs) and libebur128 are loaded from their shared libraries on first
// use, as FluidSynth is (FluidHandles.h): only an audio export pays for loading them.
#define LYRAVANE_SNDFILE_FUNCTIONS(X)                                                              \
    X(sf_close)                                                                                    \
    X(sf_open_virtual)                                                                             \
    X(sf_strerror)                                                                                 \
    X(sf_writef_float)                                                                             \
    X(sf_writef_int)

#define LYRAVANE_EBUR128_FUNCTIONS(X)                                                              \
    X(ebur128_add_frames_float)                                                                    \
    X(ebur128_destroy)                                                                             \
    X(ebur128_init)                                                                                \
    X(ebur128_loudness_global)                                                                     \
    X(ebur128_true_peak)

// A member name cannot stand in parentheses.
#define LYRAVANE_LIBRARY_MEMBER(name)                                                              \
    decltype(&::name) name = nullptr; // NOLINT(bugprone-macro-parentheses)

/// The libsndfile functions the audio files are written with.
struct TSndfileApi
{
    LYRAVANE_SNDFILE_FUNCTIONS(LYRAVANE_LIBRARY_MEMBER)
};

/// The libebur128 functions the loudness is measured with.
struct TEbur128Api
{
    LYRAVANE_EBUR128_FUNCTIONS(LYRAVANE_LIBRARY_MEMBER)
};
#undef LYRAVANE_LIBRARY_MEMBER

/// The loaded functions; the first call loads the library and raises EAudioError, saying
/// which package to install, when it or one of its functions cannot be had.
const TSndfileApi& Sndfile();
const TEbur128Api& Ebur128();

/// Opens the first of names that loads, or the one the environment variable override names
/// instead (tests name one that does not exist); nullptr with the first failure's reason in
/// why. The library stays loaded for the life of the process.
void* OpenSharedLibrary(std::initializer_list<const char*> names, const char* override,
                        std::string& why);
/// The function name of library, or nullptr.
void* LibraryFunction(void* library, const char* name);

/// A library's function table, loaded by load on the first call; a failed load is tried again
/// by the next call, so its message reaches every caller.
template <typename TApi, typename TLoad> const TApi& LoadOnce(TLoad load)
{
    static std::mutex lock;
    static std::unique_ptr<TApi> api;
    const std::lock_guard<std::mutex> guard(lock);
    if (!api)
        api = std::make_unique<TApi>(load());
    return *api;
}
