#include "audio/SoundLibraries.h"

#include "audio/AudioError.h"

#include <cstdlib>
#include <vector>

#include <dlfcn.h>

namespace
{
[[noreturn]] void Missing(const std::string& library, const std::string& why,
                          const std::string& package)
{
    throw EAudioError(Msg(Core::Tr("No se pudo cargar la biblioteca %1 (%2), necesaria para "
                                   "exportar audio: instale el paquete %3 (sudo apt install %3)"),
                          library, why, package));
}

/// The first of names that loads (or the override's), or the reason it is missing raised.
void* OpenOrExplain(std::initializer_list<const char*> names, const char* override,
                    const std::string& library, const std::string& package)
{
    std::string why;
    void* opened = OpenSharedLibrary(names, override, why);
    if (opened == nullptr)
        Missing(library, why, package);
    return opened;
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
            void* library = OpenOrExplain({"libsndfile.so.1", "libsndfile.so"},
                                          "LYRAVANE_SNDFILE_LIBRARY", Library, Package);
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
            void* library = OpenOrExplain({"libebur128.so.1", "libebur128.so"},
                                          "LYRAVANE_EBUR128_LIBRARY", Library, Package);
            TEbur128Api api;
            LYRAVANE_EBUR128_FUNCTIONS(LYRAVANE_LIBRARY_RESOLVE)
            return api;
        });
}
#undef LYRAVANE_LIBRARY_RESOLVE
