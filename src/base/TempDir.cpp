#include "base/TempDir.h"

#include "base/Exceptions.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

TTempDir::TTempDir()
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path base = fs::temp_directory_path(ec);
    if (ec)
        base = "/tmp";
    std::string pattern = (base / "lyravane-XXXXXX").string();
    // mkdtemp makes the directory with mode 0700 under a name nobody could guess.
    if (!::mkdtemp(pattern.data()))
        throw EFCreateError(pattern, std::strerror(errno));
    FPath = pattern;
}

TTempDir::~TTempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(FPath, ec);
}

std::string TTempDir::TempMidiFile() const
{
    return FPath + "/$$$.mid";
}
