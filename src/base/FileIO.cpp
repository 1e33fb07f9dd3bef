#include "base/FileIO.h"

#include "base/Exceptions.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
std::string SystemReason(int error) { return std::strerror(error); }

struct TFdCloser
{
    int Fd;
    ~TFdCloser()
    {
        if (Fd >= 0)
            ::close(Fd);
    }
};
} // namespace

std::string ReadWholeFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw EFOpenError(path, SystemReason(errno));
    TFdCloser closer{fd};

    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0)
        throw EFOpenError(path, SystemReason(errno));
    if (S_ISDIR(info.st_mode))
        throw EFOpenError(path, SystemReason(EISDIR));

    std::string data;
    char chunk[65536];
    for (;;)
    {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0)
        {
            if (errno == EINTR)
                continue;
            throw EFOpenError(path, SystemReason(errno));
        }
        if (got == 0)
            break;
        data.append(chunk, static_cast<size_t>(got));
    }
    return data;
}

void WriteFileAtomically(const std::string& path, const std::string& data)
{
    namespace fs = std::filesystem;
    const fs::path target(path);
    fs::path dir = target.parent_path();
    if (dir.empty())
        dir = ".";

    std::error_code ec;
    if (fs::is_directory(target, ec))
        throw EFCreateError(path, SystemReason(EISDIR));
    // The rename below would replace a file even where the user may not write it (a
    // read-only song): such a file is refused as opening it for writing would be.
    if (::faccessat(AT_FDCWD, path.c_str(), F_OK, AT_EACCESS) == 0 &&
        ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        throw EFCreateError(path, SystemReason(errno));

    std::string hidden = ".";
    hidden += target.filename().string();
    hidden += ".XXXXXX";
    std::string temp = (dir / hidden).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        throw EFCreateError(path, SystemReason(errno));

    auto fail = [&](int error)
    {
        ::close(fd);
        ::unlink(temp.c_str());
        throw EFCreateError(path, SystemReason(error));
    };

    // mkstemp makes the file 0600; a saved song gets the usual permissions, or keeps
    // those of the file it replaces.
    struct stat old
    {
    };
    mode_t mode = 0666;
    if (::stat(path.c_str(), &old) == 0)
        mode = old.st_mode & 07777;
    else
    {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    if (::fchmod(fd, mode) != 0)
        fail(errno);

    size_t written = 0;
    while (written < data.size())
    {
        const ssize_t n = ::write(fd, data.data() + written, data.size() - written);
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
            fail(errno);
        }
        written += static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0)
        fail(errno);
    if (::close(fd) != 0)
    {
        const int error = errno;
        ::unlink(temp.c_str());
        throw EFCreateError(path, SystemReason(error));
    }
    if (::rename(temp.c_str(), path.c_str()) != 0)
    {
        const int error = errno;
        ::unlink(temp.c_str());
        throw EFCreateError(path, SystemReason(error));
    }
    // The new name lives in the directory: sync it too, so that once a save has returned a
    // crash cannot bring the old file back. The data is on disk by now either way, so a
    // directory that cannot be synced fails nothing.
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0)
    {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

std::string ExecutableDir()
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return {};
    return exe.parent_path().string();
}
