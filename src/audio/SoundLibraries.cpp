#include "audio/SoundLibraries.h"

#include "audio/AudioError.h"

#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

#include <dlfcn.h>

namespace
{
/// Loads one library's table once; a failed load is tried again by the next call, so the
/// message reaches every caller.
template <typename TApi, typename TLoad> const TApi& LoadOnce(TLoad load)
{
    static std::mutex lock;
    static std::unique_ptr<TApi> api;
    std::lock_guard<std::mutex> guard(lock);
    if (!api)
        api = std::make_unique<TApi>(load());
    return *api;
}

[[noreturn]] void Missing(const std::string& library, const std::string& why,
                          const std::string& package)
{
    throw EAudioError("No se pudo cargar la biblioteca " + library + " (" + why +
                      "), necesaria para exportar audio: instale el paquete " + package +
                      " (sudo apt install " + package + ")");
}
} // namespace

void* OpenSharedLibrary(std::initializer_list<const char*> names, const char* override,
                        std::string& why)
{
    std::vector<const char*> tried(names);
    if (const char* chosen = std::getenv(override))
        tried = {chosen};
    for (const char* name : tried)
    {
        if (void* library = ::dlopen(name, RTLD_NOW | RTLD_LOCAL))
            return library;
        if (why.empty())
            why = ::dlerror();
    }
    return nullptr;
}

void* LibraryFunction(void* library, const char* name)
{
    return ::dlsym(library, name);
}

#define LYRAVANE_LIBRARY_RESOLVE(name)                                                             \
    api.name = reinterpret_cast<decltype(api.name)>(LibraryFunction(library, #name));              \
    if (api.name == nullptr)                                                                       \
        Missing(Library, "le falta " #name, Package);

const TSndfileApi& Sndfile()
{
    return LoadOnce<TSndfileApi>(
        []
        {
            static const std::string Library = "libsndfile";
            static const std::string Package = "libsndfile1";
            std::string why;
            void* library = OpenSharedLibrary({"libsndfile.so.1", "libsndfile.so"},
                                              "LYRAVANE_SNDFILE_LIBRARY", why);
            if (library == nullptr)
                Missing(Library, why, Package);
            TSndfileApi api;
            LYRAVANE_SNDFILE_FUNCTIONS(LYRAVANE_LIBRARY_RESOLVE)
            return api;
        });
}

const TEbur128Api& Ebur128()
{
    return LoadOnce<TEbur128Api>(
        []
        {
            static const std::string Library = "libebur128";
            static const std::string Package = "libebur128-1";
            std::string why;
            void* library = OpenSharedLibrary({"libebur128.so.1", "libebur128.so"},
                                              "LYRAVANE_EBUR128_LIBRARY", why);
            if (library == nullptr)
                Missing(Library, why, Package);
            TEbur128Api api;
            LYRAVANE_EBUR128_FUNCTIONS(LYRAVANE_LIBRARY_RESOLVE)
            return api;
        });
}
#undef LYRAVANE_LIBRARY_RESOLVE
