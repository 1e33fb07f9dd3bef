#include "app/AppUtils.h"

#include "base/FileIO.h"

#include <filesystem>
#include <system_error>

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

namespace
{
std::string FirstExisting(const fs::path& beside, const fs::path& installed, bool directory)
{
    std::error_code error;
    for (const fs::path& candidate : {beside, installed})
        if (directory ? fs::is_directory(candidate, error) : fs::is_regular_file(candidate, error))
            return candidate.lexically_normal().string();
    return beside.string();
}
} // namespace

std::string FindPatternDir(const std::string& programDir)
{
    return FirstExisting(fs::path(programDir) / "PATTERN",
                         fs::path(programDir) / ".." / "share" / "lyravane" / "PATTERN", true);
}

std::string FindHelpFile(const std::string& programDir)
{
    return FirstExisting(
        fs::path(programDir) / "help" / "lyravane.html",
        fs::path(programDir) / ".." / "share" / "lyravane" / "help" / "lyravane.html", false);
}
