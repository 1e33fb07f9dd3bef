#include "audio/WavWriter.h"

#include "base/Exceptions.h"

#include <array>
#include <bit>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace
{
constexpr std::uint64_t HeaderSize = 44;

void PutLE(std::uint8_t* at, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}
} // namespace

TWavWriter::TWavWriter(const std::string& path, int sampleRate, int channels)
    : FPath(path), FSampleRate(sampleRate), FChannels(channels)
{
    namespace fs = std::filesystem;
    const fs::path target(path);
    fs::path dir = target.parent_path();
    if (dir.empty())
        dir = ".";
    std::error_code ec;
    if (fs::is_directory(target, ec))
        throw EFCreateError(path, std::strerror(EISDIR));

    std::string name = ".";
    name += target.filename().string();
    name += ".XXXXXX";
    FTempPath = (dir / name).string();
    const int fd = ::mkstemp(FTempPath.data());
    if (fd < 0)
        throw EFCreateError(path, std::strerror(errno));
    // mkstemp makes the file 0600; the finished WAV gets the usual permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(fd, 0666 & ~mask) != 0 || !(FFile = ::fdopen(fd, "wb")))
    {
        const int error = errno;
        ::close(fd);
        ::unlink(FTempPath.c_str());
        throw EFCreateError(path, std::strerror(error));
    }
    std::setvbuf(FFile, nullptr, _IOFBF, 1 << 20);
    // The header is written for real by Commit, when the length is known.
    const std::array<std::uint8_t, HeaderSize> placeholder{};
    if (std::fwrite(placeholder.data(), 1, placeholder.size(), FFile) != placeholder.size())
        Fail(errno);
}

TWavWriter::~TWavWriter()
{
    if (FFile)
    {
        std::fclose(FFile);
        ::unlink(FTempPath.c_str());
    }
}

void TWavWriter::Fail(int error)
{
    std::fclose(FFile);
    FFile = nullptr;
    ::unlink(FTempPath.c_str());
    throw EFCreateError(FPath, std::strerror(error ? error : EIO));
}

void TWavWriter::Write(const std::int16_t* samples, std::size_t frames)
{
    const std::size_t count = frames * static_cast<std::size_t>(FChannels);
    size_t written;
    if constexpr (std::endian::native == std::endian::little)
        written = std::fwrite(samples, sizeof(std::int16_t), count, FFile);
    else
    {
        std::vector<std::uint8_t> bytes(count * 2);
        for (std::size_t i = 0; i < count; ++i)
            PutLE(&bytes[2 * i], static_cast<std::uint16_t>(samples[i]), 2);
        written = std::fwrite(bytes.data(), 2, count, FFile);
    }
    if (written != count)
        Fail(errno);
    FFrames += frames;
    FFramesOnDisk = FFrames;
}

void TWavWriter::Truncate(std::uint64_t frames)
{
    if (frames < FFrames)
        FFrames = frames;
}

void TWavWriter::Commit()
{
    const std::uint64_t blockAlign = 2 * static_cast<std::uint64_t>(FChannels);
    const std::uint64_t dataBytes = FFrames * blockAlign;
    // The RIFF sizes are 32-bit: about 6.7 hours of 44.1 kHz stereo.
    if (dataBytes + HeaderSize - 8 > 0xFFFFFFFFu)
        Fail(EFBIG);
    std::array<std::uint8_t, HeaderSize> h{};
    std::memcpy(&h[0], "RIFF", 4);
    PutLE(&h[4], static_cast<std::uint32_t>(dataBytes + HeaderSize - 8), 4);
    std::memcpy(&h[8], "WAVEfmt ", 8);
    PutLE(&h[16], 16, 4);
    PutLE(&h[20], 1, 2); // PCM
    PutLE(&h[22], static_cast<std::uint32_t>(FChannels), 2);
    PutLE(&h[24], static_cast<std::uint32_t>(FSampleRate), 4);
    PutLE(&h[28], static_cast<std::uint32_t>(static_cast<std::uint64_t>(FSampleRate) * blockAlign),
          4);
    PutLE(&h[32], static_cast<std::uint32_t>(blockAlign), 2);
    PutLE(&h[34], 16, 2);
    std::memcpy(&h[36], "data", 4);
    PutLE(&h[40], static_cast<std::uint32_t>(dataBytes), 4);

    if (std::fflush(FFile) != 0)
        Fail(errno);
    if (FFrames < FFramesOnDisk &&
        ::ftruncate(::fileno(FFile), static_cast<off_t>(HeaderSize + dataBytes)) != 0)
        Fail(errno);
    if (std::fseek(FFile, 0, SEEK_SET) != 0 ||
        std::fwrite(h.data(), 1, h.size(), FFile) != h.size() || std::fflush(FFile) != 0 ||
        ::fsync(::fileno(FFile)) != 0)
        Fail(errno);
    std::FILE* file = FFile;
    FFile = nullptr;
    if (std::fclose(file) != 0)
    {
        const int error = errno;
        ::unlink(FTempPath.c_str());
        throw EFCreateError(FPath, std::strerror(error));
    }
    if (::rename(FTempPath.c_str(), FPath.c_str()) != 0)
    {
        const int error = errno;
        ::unlink(FTempPath.c_str());
        throw EFCreateError(FPath, std::strerror(error));
    }
}
