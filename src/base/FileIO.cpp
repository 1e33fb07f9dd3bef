#include "base/FileIO.h"

#include "base/Exceptions.h"
#include "base/StopSignals.h"
#include "base/Text.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
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
        throw EFOpenError(path, Core::Tr("Not a regular file"));
    const TMessage tooLarge = Msg(Core::Tr("The file is too large (more than %1 bytes)"), maxSize);
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

TFileLock::TFileLock(const std::string& path, std::chrono::milliseconds timeout)
{
    FFd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (FFd < 0)
        throw EFCreateError(path, SystemReason(errno));
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (::flock(FFd, LOCK_EX | LOCK_NB) != 0)
    {
        const int error = errno;
        if ((error != EWOULDBLOCK && error != EINTR) ||
            std::chrono::steady_clock::now() >= deadline)
        {
            ::close(FFd);
            if (error == EWOULDBLOCK)
                throw EFCreateError(path, Core::Tr("another process holds it"));
            throw EFCreateError(path, SystemReason(error));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

TFileLock::~TFileLock()
{
    ::close(FFd); // lets go of the lock
}

std::string UserDataDir()
{
    // The XDG rule: a relative XDG_DATA_HOME is ignored.
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/')
        return std::string(dataHome) + "/lyravane";
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0')
        return {};
    return std::string(home) + "/.local/share/lyravane";
}

bool SameFile(const std::string& a, const std::string& b)
{
    struct stat first
    {
    };
    struct stat second
    {
    };
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

namespace
{
/// The file a name finally stands for: symbolic links followed, each relative one from the
/// directory of its link; a dangling link gives the name it points to.
std::filesystem::path FollowLinks(const std::string& path)
{
    namespace fs = std::filesystem;
    fs::path at(path);
    // As many links as the kernel follows before it gives up with ELOOP.
    for (int hops = 0; hops < 40; ++hops)
    {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(at, ec)))
            return at;
        const fs::path next = fs::read_symlink(at, ec);
        if (ec)
            return at;
        at = next.is_absolute() ? next : at.parent_path() / next;
    }
    throw EFCreateError(path, SystemReason(ELOOP));
}

/// The hidden temporary name beside a target named name: short enough that every name the
/// file system allows (255 bytes) still leaves room for the dot and the random suffix.
std::string TemporaryName(const std::string& name)
{
    constexpr std::size_t NameMax = 255;
    constexpr std::size_t Added = 1 + 7; // "." and ".XXXXXX"
    std::string temporary = ".";
    temporary.append(name, 0, NameMax - Added).append(".XXXXXX");
    return temporary;
}
/// Whether name is a temporary name TemporaryName makes for a file of ours: hidden, the
/// saved file's name with an extension the programs write, a dot and six random letters.
bool IsOurTemporaryName(const std::string& name)
{
    constexpr std::size_t Random = 6;
    if (name.size() < 1 + 1 + 1 + Random || name[0] != '.' || name[name.size() - Random - 1] != '.')
        return false;
    for (std::size_t i = name.size() - Random; i < name.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(name[i])))
            return false;
    const std::string saved = name.substr(1, name.size() - Random - 2);
    for (const char* extension :
         {"lvp", "lvr", "mid", "wav", "flac", "ogg", "musicxml", "mxl", "xml", "dat"})
        if (HasExtension(saved, extension))
            return true;
    return false;
}
} // namespace

void RemoveStaleTemporaryFiles(const std::string& dir)
{
    namespace fs = std::filesystem;
    const auto now = std::chrono::system_clock::now();
    std::error_code ec;
    for (fs::directory_iterator it(dir.empty() ? "." : dir, ec), end; !ec && it != end;
         it.increment(ec))
    {
        const std::string path = it->path().string();
        struct stat info
        {
        };
        if (!IsOurTemporaryName(it->path().filename().string()) ||
            ::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
            info.st_uid != ::geteuid() ||
            now - std::chrono::system_clock::from_time_t(info.st_mtime) < StaleTemporaryAge)
            continue;
        // A save under way holds its file's lock (whichever process, whatever its age).
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.c_str());
        ::close(fd);
    }
}

TSafeFile::TSafeFile(const std::string& path) : FPath(path)
{
    namespace fs = std::filesystem;
    ThrowIfStopped();
    struct stat old
    {
    };
    const bool exists = ::stat(path.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        throw EFCreateError(path, SystemReason(EISDIR));
    if (exists && !S_ISREG(old.st_mode))
    {
        // A pipe or a device is written as it is, never replaced by a file of that name.
        if (!S_ISFIFO(old.st_mode) && !S_ISCHR(old.st_mode))
            throw EFCreateError(path,
                                Core::Tr("It is neither a file, a pipe nor a character device"));
        // Opening a pipe waits for its reader, or for a stop signal.
        FFd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (FFd < 0)
        {
            ThrowIfStopped();
            throw EFCreateError(path, SystemReason(errno));
        }
        FDirect = true;
        return;
    }

    // A link is followed: the file it stands for gets the new content, and the temporary
    // file is made beside that file, so that the rename stays on its file system.
    const fs::path target = FollowLinks(path);
    FTarget = target.string();
    fs::path dir = target.parent_path();
    if (dir.empty())
        dir = ".";
    FDir = dir.string();

    // The rename would replace a file even where the user may not write it (a read-only
    // song): such a file is refused as opening it for writing would be.
    if (exists && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        throw EFCreateError(path, SystemReason(errno));

    // What saves here that were killed left behind goes first.
    RemoveStaleTemporaryFiles(FDir);
    FTempPath = (dir / TemporaryName(target.filename().string())).string();
    FFd = ::mkstemp(FTempPath.data());
    if (FFd < 0)
        throw EFCreateError(path, SystemReason(errno));
    // Held until the file is renamed or removed: RemoveStaleTemporaryFiles leaves it alone.
    ::flock(FFd, LOCK_EX | LOCK_NB);

    // mkstemp makes the file 0600, ours; a saved file gets the usual permissions, or keeps
    // the owner, group and permissions of the file it replaces, as far as we may give them.
    mode_t mode = 0666;
    if (exists)
    {
        mode = old.st_mode & 07777;
        if (::fchown(FFd, old.st_uid, old.st_gid) != 0)
            (void)::fchown(FFd, static_cast<uid_t>(-1), old.st_gid);
    }
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
        if (!FDirect)
            ::unlink(FTempPath.c_str());
    }
}

void TSafeFile::Abandon()
{
    if (FFd >= 0)
    {
        ::close(FFd);
        FFd = -1;
    }
    if (!FDirect)
        ::unlink(FTempPath.c_str());
}

void TSafeFile::Fail(int error)
{
    Abandon();
    throw EFCreateError(FPath, SystemReason(error != 0 ? error : EIO));
}

void TSafeFile::StopIfAsked()
{
    if (const int signal = StopSignal())
    {
        Abandon();
        throw EStopped(signal);
    }
}

void TSafeFile::Write(const void* data, std::size_t size)
{
    WriteAll(data, size, nullptr);
}

void TSafeFile::WriteAt(std::uint64_t offset, const void* data, std::size_t size)
{
    WriteAll(data, size, &offset);
}

void TSafeFile::WriteAll(const void* data, std::size_t size, const std::uint64_t* offset)
{
    StopIfAsked();
    const char* bytes = static_cast<const char*>(data);
    std::size_t written = 0;
    while (written < size)
    {
        const ssize_t n = offset == nullptr ? ::write(FFd, bytes + written, size - written)
                                            : ::pwrite(FFd, bytes + written, size - written,
                                                       static_cast<off_t>(*offset + written));
        if (n < 0)
        {
            if (errno == EINTR)
            {
                StopIfAsked();
                continue;
            }
            Fail(errno);
        }
        written += static_cast<std::size_t>(n);
    }
}

void TSafeFile::Truncate(std::uint64_t size)
{
    // What is written to a pipe or a device is gone: there is no file to cut.
    if (FDirect)
        return;
    if (::ftruncate(FFd, static_cast<off_t>(size)) != 0)
        Fail(errno);
}

bool TSafeFile::Seekable() const
{
    return ::lseek(FFd, 0, SEEK_CUR) >= 0;
}

void TSafeFile::Commit()
{
    StopIfAsked();
    // A pipe or a terminal cannot be synced (EINVAL); that fails nothing.
    if (::fsync(FFd) != 0 && !(FDirect && errno == EINVAL))
        Fail(errno);
    const int fd = FFd;
    FFd = -1;
    if (::close(fd) != 0)
        Fail(errno);
    if (FDirect)
        return;
    if (::rename(FTempPath.c_str(), FTarget.c_str()) != 0)
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
