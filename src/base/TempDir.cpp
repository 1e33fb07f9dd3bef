#include "base/TempDir.h"

#include "base/Exceptions.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
constexpr const char* Prefix = "lyravane-";
constexpr std::size_t RandomPart = 6;

// What the signal handler removes: copied here beforehand, as a handler may not allocate.
char SignalDir[4096];
char SignalMidi[4096];
constexpr int Terminating[] = {SIGTERM, SIGHUP};
struct sigaction Before[2];

void RemoveAndEnd(int signal)
{
    ::unlink(SignalMidi);
    ::rmdir(SignalDir);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

/// The process id in a name "lyravane-PID-XXXXXX", or 0 when it is not such a name.
pid_t OwnerOf(const std::string& name)
{
    const std::size_t prefix = std::strlen(Prefix);
    if (name.size() < prefix + 2 + RandomPart || name.compare(0, prefix, Prefix) != 0 ||
        name[name.size() - RandomPart - 1] != '-')
        return 0;
    const std::string digits = name.substr(prefix, name.size() - RandomPart - 1 - prefix);
    if (digits.empty() || digits.size() > 9 ||
        digits.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    return static_cast<pid_t>(std::stol(digits));
}

/// Whether nobody holds the lock of the directory at path: its process has ended.
bool Abandoned(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

/// Removes the directories of ours in base whose process is gone: no process has the id in
/// the name (here), and none holds the directory's lock (a process of another pid namespace
/// sharing the temporary directory would).
void RemoveStale(const std::filesystem::path& base)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    for (fs::directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec))
    {
        const pid_t owner = OwnerOf(it->path().filename().string());
        struct stat info
        {
        };
        if (owner <= 0 || owner == ::getpid() || ::lstat(it->path().c_str(), &info) != 0 ||
            !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid())
            continue;
        if (::kill(owner, 0) != 0 && errno == ESRCH && Abandoned(it->path().string()))
        {
            std::error_code ignored;
            fs::remove_all(it->path(), ignored);
        }
    }
}
} // namespace

TTempDir::TTempDir()
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path base = fs::temp_directory_path(ec);
    if (ec)
        base = "/tmp";
    RemoveStale(base);
    std::string pattern =
        (base / (Prefix + std::to_string(::getpid()) + "-" + std::string(RandomPart, 'X')))
            .string();
    // mkdtemp makes the directory with mode 0700 under a name nobody could guess.
    if (!::mkdtemp(pattern.data()))
        throw EFCreateError(pattern, std::strerror(errno));
    FPath = pattern;
    // Held while the directory is in use: see RemoveStale.
    FLockFd = ::open(FPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (FLockFd >= 0)
        ::flock(FLockFd, LOCK_EX | LOCK_NB);
}

TTempDir::~TTempDir()
{
    if (FRemovesOnSignals)
        for (int i = 0; i < 2; ++i)
            ::sigaction(Terminating[i], &Before[i], nullptr);
    std::error_code ec;
    std::filesystem::remove_all(FPath, ec);
    if (FLockFd >= 0)
        ::close(FLockFd);
}

std::string TTempDir::TempMidiFile() const
{
    return FPath + "/$$$.mid";
}

void TTempDir::RemoveWhenTerminated()
{
    const std::string midi = TempMidiFile();
    if (midi.size() >= sizeof SignalMidi)
        return;
    std::memcpy(SignalDir, FPath.c_str(), FPath.size() + 1);
    std::memcpy(SignalMidi, midi.c_str(), midi.size() + 1);
    FRemovesOnSignals = true;
    struct sigaction action
    {
    };
    action.sa_handler = RemoveAndEnd;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < 2; ++i)
        ::sigaction(Terminating[i], &action, &Before[i]);
}
