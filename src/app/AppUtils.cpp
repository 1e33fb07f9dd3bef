#include "app/AppUtils.h"

#include "base/FileIO.h"

#include <filesystem>

namespace fs = std::filesystem;

std::string AddTrailingBackslash(const std::string& path)
{
    const char separator = static_cast<char>(fs::path::preferred_separator);
    if (!path.empty() && path.back() == separator)
        return path;
    return path + separator;
}

std::string ProgramDir()
{
    return AddTrailingBackslash(ExecutableDir());
}

std::string FindHelpFile(const std::string& programDir)
{
    return FindProgramData(programDir, "help/lyravane.html", false);
}
