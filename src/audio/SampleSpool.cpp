#include "audio/SampleSpool.h"

#include "audio/AudioError.h"
#include "base/StopSignals.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace
{
/// Frames gathered before they go to disk: 512 KiB of stereo.
constexpr std::size_t BufferFrames = 65536;

std::string Mebibytes(std::uint64_t bytes)
{
    return std::to_string((bytes + (1u << 20) - 1) >> 20) + " MiB";
}

/// An unnamed file in dir; where the file system cannot make one, a named one removed at
/// once.
int OpenUnnamed(const std::string& dir)
{
    int fd = ::open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
        return fd;
    std::string name = dir + "/.lyravane-spool.XXXXXX";
    fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd >= 0)
        ::unlink(name.c_str());
    return fd;
}
} // namespace

std::string SpoolDirFor(const std::string& outputPath)
{
    namespace fs = std::filesystem;
    struct stat info
    {
    };
    if (::stat(outputPath.c_str(), &info) == 0 && !S_ISREG(info.st_mode))
    {
        std::error_code ec;
        const fs::path temp = fs::temp_directory_path(ec);
        return ec ? std::string("/tmp") : temp.string();
    }
    // Beside the file a link stands for, where the output's own temporary file goes.
    std::error_code ec;
    fs::path dir = fs::weakly_canonical(outputPath, ec).parent_path();
    if (ec)
        dir = fs::path(outputPath).parent_path();
    return dir.empty() ? std::string(".") : dir.string();
}

TSampleSpool::TSampleSpool(const std::string& dir, int channels, std::uint64_t bytes)
    : FDir(dir), FFd(OpenUnnamed(dir)), FChannels(static_cast<std::size_t>(channels))
{
    if (FFd < 0)
        Fail(errno);
    struct statvfs room
    {
    };
    if (::fstatvfs(FFd, &room) == 0)
    {
        const std::uint64_t free = std::uint64_t{room.f_bavail} * room.f_frsize;
        if (free < bytes)
            throw EAudioError(
                Msg(Core::Tr("No hay espacio libre suficiente en «%1» para normalizar el "
                             "volumen: hacen falta %2 para el archivo temporal y "
                             "quedan %3"),
                    dir, Mebibytes(bytes), Mebibytes(free)));
    }
    FBuffer.reserve(BufferFrames * FChannels);
}

TSampleSpool::~TSampleSpool()
{
    ::close(FFd);
}

void TSampleSpool::Fail(int error) const
{
    throw EAudioError(
        Msg(Core::Tr("No se pudo usar el archivo temporal de la normalización en «%1»: %2"), FDir,
            std::string(std::strerror(error))));
}

void TSampleSpool::Append(const float* samples, std::size_t frames)
{
    FBuffer.insert(FBuffer.end(), samples, samples + frames * FChannels);
    if (FBuffer.size() >= BufferFrames * FChannels)
        Flush();
}

void TSampleSpool::Transfer(char* bytes, std::size_t size, std::uint64_t at, bool write) const
{
    while (size > 0)
    {
        const auto offset = static_cast<off_t>(at);
        const ssize_t n =
            write ? ::pwrite(FFd, bytes, size, offset) : ::pread(FFd, bytes, size, offset);
        if (n < 0 && errno == EINTR)
        {
            ThrowIfStopped();
            continue;
        }
        if (n <= 0)
            Fail(n < 0 ? errno : write ? ENOSPC : EIO);
        bytes += n;
        at += static_cast<std::uint64_t>(n);
        size -= static_cast<std::size_t>(n);
    }
}

void TSampleSpool::Flush()
{
    Transfer(reinterpret_cast<char*>(FBuffer.data()), FBuffer.size() * sizeof(float),
             FFrames * FChannels * sizeof(float), true);
    FFrames += FBuffer.size() / FChannels;
    FBuffer.clear();
}

void TSampleSpool::Read(std::size_t from, std::size_t count, float* out) const
{
    Transfer(reinterpret_cast<char*>(out), count * FChannels * sizeof(float),
             from * FChannels * sizeof(float), false);
}
