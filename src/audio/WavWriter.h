#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

/// Writes a 16-bit PCM WAV file through a temporary file beside the target, which Commit
/// renames over the target once the header is complete. A writer destroyed without Commit
/// removes its temporary file, so a failed render leaves no partial WAV behind.
class TWavWriter
{
public:
    /// Raises EFCreateError when the temporary file cannot be made.
    TWavWriter(const std::string& path, int sampleRate, int channels);
    ~TWavWriter();
    TWavWriter(const TWavWriter&) = delete;
    TWavWriter& operator=(const TWavWriter&) = delete;

    /// Appends frames frames of interleaved samples.
    void Write(const std::int16_t* samples, std::size_t frames);
    /// Keeps only the first frames frames written (trailing silence); call it after the
    /// last Write.
    void Truncate(std::uint64_t frames);
    std::uint64_t Frames() const { return FFrames; }
    /// Completes the header and puts the file in place; raises EFCreateError.
    void Commit();

private:
    [[noreturn]] void Fail(int error);

    std::string FPath;
    std::string FTempPath;
    std::FILE* FFile = nullptr;
    int FSampleRate;
    int FChannels;
    std::uint64_t FFrames = 0;
    std::uint64_t FFramesOnDisk = 0;
};
