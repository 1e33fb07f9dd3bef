#pragma once

#include "base/FileIO.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

/// The most frames of 16-bit samples a WAV file can hold (its sizes are 32-bit).
std::uint64_t MaxWavFrames(int channels);

/// Writes a 16-bit PCM WAV file through a TSafeFile: Commit completes the header and puts the
/// file in place. A writer destroyed without Commit leaves no partial WAV behind.
class TWavWriter
{
public:
    /// Raises EFCreateError when the temporary file cannot be made.
    TWavWriter(const std::string& path, int sampleRate, int channels);

    /// Appends frames frames of interleaved samples.
    void Write(const std::int16_t* samples, std::size_t frames);
    /// Keeps only the first frames frames written (trailing silence); call it after the
    /// last Write.
    void Truncate(std::uint64_t frames);
    std::uint64_t Frames() const { return FFrames; }
    /// Completes the header and puts the file in place; raises EFCreateError.
    void Commit();

private:
    void Flush();

    TSafeFile FFile;
    std::vector<std::uint8_t> FBuffer;
    int FSampleRate;
    int FChannels;
    std::uint64_t FFrames = 0;
    std::uint64_t FFramesWritten = 0;
};
