#include "base/FileIO.h"
#include "cli/Args.h"
#include "cli/Commands.h"
#include "midi/ArrangeList.h"
#include "model/MusicProject.h"

#include <filesystem>

std::string FindPatternDir(const std::string& given)
{
    namespace fs = std::filesystem;
    if (!given.empty())
        return given;
    const std::string exeDir = ExecutableDir();
    std::error_code ec;
    for (const fs::path& candidate :
         {fs::path(exeDir) / "PATTERN", fs::path(exeDir) / ".." / "share" / "lyravane" / "PATTERN"})
    {
        if (fs::is_directory(candidate, ec))
            return candidate.lexically_normal().string();
    }
    return (fs::path(exeDir) / "PATTERN").string();
}

void LoadLibraries(const std::string& patternDir) { LoadPatternLibraries(patternDir); }

void LoadSong(TMusicProject& song, const std::string& path)
{
    // Read into a song of our own; the caller's song is replaced only by a good file.
    TMusicProject loaded;
    loaded.LoadFromFile(path);
    song.Assign(loaded);
    song.AttachProperties();
}
