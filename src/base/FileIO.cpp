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
std::string SystemReason(int error)
{
    return std::strerror(error);
}

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

std::string ReadWholeFile(const std::string& path, std::uint64_t maxSize)
{
    // Without O_NONBLOCK opening a FIFO waits for a writer; the file is refused right after.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
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
    if (!S_ISREG(info.st_mode))
        throw EFOpenError(path, "Not a regular file");
    const std::string tooLarge =
        "The file is too large (more than " + std::to_string(maxSize) + " bytes)";
    if (static_cast<std::uint64_t>(info.st_size) > maxSize)
        throw EFOpenError(path, tooLarge);

    // The size is only a hint: the file may grow while it is read, so the cap holds here too.
    std::string data;
    data.reserve(static_cast<std::size_t>(info.st_size));
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
        if (data.size() + static_cast<std::size_t>(got) > maxSize)
            throw EFOpenError(path, tooLarge);
        data.append(chunk, static_cast<std::size_t>(got));
    }
    return data;
}

TSafeFile::TSafeFile(const std::string& path) : FPath(path)
{
    namespace fs = std::filesystem;
    const fs::path target(path);
    fs::path dir = target.parent_path();
    if (dir.empty())
        dir = ".";
    FDir = dir.string();

    std::error_code ec;
    if (fs::is_directory(target, ec))
        throw EFCreateError(path, SystemReason(EISDIR));
    // The rename would replace a file even where the user may not write it (a read-only
    // song): such a file is refused as opening it for writing would be.
    if (::faccessat(AT_FDCWD, path.c_str(), F_OK, AT_EACCESS) == 0 &&
        ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        throw EFCreateError(path, SystemReason(errno));

    std::string hidden = ".";
    hidden += target.filename().string();
    hidden += ".XXXXXX";
    FTempPath = (dir / hidden).string();
    FFd = ::mkstemp(FTempPath.data());
    if (FFd < 0)
        throw EFCreateError(path, SystemReason(errno));

    // mkstemp makes the file 0600; a saved file gets the usual permissions, or keeps those
    // of the file it replaces.
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
    if (::fchmod(FFd, mode) != 0)
        Fail(errno);
}

TSafeFile::~TSafeFile()
{
    if (FFd >= 0)
    {
        ::close(FFd);
        ::unlink(FTempPath.c_str());
    }
}

void TSafeFile::Fail(int error)
{
    if (FFd >= 0)
    {
        ::close(FFd);
        FFd = -1;
    }
    ::unlink(FTempPath.c_str());
    throw EFCreateError(FPath, SystemReason(error != 0 ? error : EIO));
}

void TSafeFile::Write(const void* data, std::size_t size)
{
    const char* bytes = static_cast<const char*>(data);
    std::size_t written = 0;
    while (written < size)
    {
        const ssize_t n = ::write(FFd, bytes + written, size - written);
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
            Fail(errno);
        }
        written += static_cast<std::size_t>(n);
    }
}

void TSafeFile::WriteAt(std::uint64_t offset, const void* data, std::size_t size)
{
    const char* bytes = static_cast<const char*>(data);
    std::size_t written = 0;
    while (written < size)
    {
        const ssize_t n =
            ::pwrite(FFd, bytes + written, size - written, static_cast<off_t>(offset + written));
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
            Fail(errno);
        }
        written += static_cast<std::size_t>(n);
    }
}

void TSafeFile::Truncate(std::uint64_t size)
{
    if (::ftruncate(FFd, static_cast<off_t>(size)) != 0)
        Fail(errno);
}

void TSafeFile::Commit()
{
    if (::fsync(FFd) != 0)
        Fail(errno);
    const int fd = FFd;
    FFd = -1;
    if (::close(fd) != 0)
        Fail(errno);
    if (::rename(FTempPath.c_str(), FPath.c_str()) != 0)
        Fail(errno);
    // The new name lives in the directory: sync it too, so that once a save has returned a
    // crash cannot bring the old file back. The data is on disk by now either way, so a
    // directory that cannot be synced fails nothing.
    const int dirFd = ::open(FDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0)
    {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

void WriteFileAtomically(const std::string& path, const std::string& data)
{
    TSafeFile file(path);
    file.Write(data.data(), data.size());
    file.Commit();
}

std::string ExecutableDir()
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return {};
    return exe.parent_path().string();
}

std::string FindProgramData(const std::string& programDir, const std::string& relative,
                            bool directory)
{
    namespace fs = std::filesystem;
    const fs::path beside = fs::path(programDir) / relative;
    const fs::path installed = fs::path(programDir) / ".." / "share" / "lyravane" / relative;
    std::error_code error;
    for (const fs::path& candidate : {beside, installed})
        if (directory ? fs::is_directory(candidate, error) : fs::is_regular_file(candidate, error))
            return candidate.lexically_normal().string();
    return beside.string();
}
