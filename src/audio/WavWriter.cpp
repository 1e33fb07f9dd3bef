#include "audio/WavWriter.h"

#include "base/Bytes.h"
#include "base/Exceptions.h"

#include <array>
#include <cerrno>
#include <cstring>

namespace
{
constexpr std::uint64_t HeaderSize = 44;
/// Samples are gathered into writes of about a megabyte; the renderer hands over small blocks.
constexpr std::size_t BufferBytes = 1 << 20;
} // namespace

std::uint64_t MaxWavFrames(int channels)
{
    return (0xFFFFFFFFu - (HeaderSize - 8)) / (2 * static_cast<std::uint64_t>(channels));
}

TWavWriter::TWavWriter(const std::string& path, int sampleRate, int channels)
    : FFile(path), FSampleRate(sampleRate), FChannels(channels)
{
    // The header is completed at the end, at the start of the file.
    if (!FFile.Seekable())
        throw EFCreateError(path, "A WAV file cannot be written to a pipe or a terminal: its "
                                  "header is completed at the end");
    FBuffer.reserve(BufferBytes + HeaderSize);
    // The header is written for real by Commit, when the length is known.
    FBuffer.resize(HeaderSize, 0);
}

void TWavWriter::Flush()
{
    FFile.Write(FBuffer.data(), FBuffer.size());
    FBuffer.clear();
}

void TWavWriter::Write(const std::int16_t* samples, std::size_t frames)
{
    const std::size_t count = frames * static_cast<std::size_t>(FChannels);
    const std::size_t at = FBuffer.size();
    FBuffer.resize(at + 2 * count);
    for (std::size_t i = 0; i < count; ++i)
        PutUInt16LE(&FBuffer[at + 2 * i], static_cast<std::uint16_t>(samples[i]));
    FFrames += frames;
    FFramesWritten = FFrames;
    if (FBuffer.size() >= BufferBytes)
        Flush();
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
    if (FFrames > MaxWavFrames(FChannels))
        throw EFCreateError(FFile.Path(), std::strerror(EFBIG));
    std::array<std::uint8_t, HeaderSize> h{};
    std::memcpy(&h[0], "RIFF", 4);
    PutUInt32LE(&h[4], static_cast<std::uint32_t>(dataBytes + HeaderSize - 8));
    std::memcpy(&h[8], "WAVEfmt ", 8);
    PutUInt32LE(&h[16], 16);
    PutUInt16LE(&h[20], 1); // PCM
    PutUInt16LE(&h[22], static_cast<std::uint16_t>(FChannels));
    PutUInt32LE(&h[24], static_cast<std::uint32_t>(FSampleRate));
    PutUInt32LE(&h[28],
                static_cast<std::uint32_t>(static_cast<std::uint64_t>(FSampleRate) * blockAlign));
    PutUInt16LE(&h[32], static_cast<std::uint16_t>(blockAlign));
    PutUInt16LE(&h[34], 16);
    std::memcpy(&h[36], "data", 4);
    PutUInt32LE(&h[40], static_cast<std::uint32_t>(dataBytes));

    Flush();
    if (FFrames < FFramesWritten)
        FFile.Truncate(HeaderSize + dataBytes);
    FFile.WriteAt(0, h.data(), h.size());
    FFile.Commit();
}
