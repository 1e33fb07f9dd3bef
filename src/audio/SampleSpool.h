#pragma once

#include "audio/Loudness.h"

#include <cstdint>
#include <string>
#include <vector>

/// Floating-point samples kept on disk instead of in memory while a song is normalised: an
/// unnamed file that the system frees with its last descriptor, however the process ends (a
/// stop signal, a crash, SIGKILL), so nothing is ever left behind to remove. Appending is
/// buffered; reading sees what Flush has written.
class TSampleSpool : public TSoundSource
{
public:
    /// In dir, which must have bytes of free room; raises EAudioError when it has not or the
    /// file cannot be made.
    TSampleSpool(const std::string& dir, int channels, std::uint64_t bytes);
    ~TSampleSpool() override;
    TSampleSpool(const TSampleSpool&) = delete;
    TSampleSpool& operator=(const TSampleSpool&) = delete;

    void Append(const float* samples, std::size_t frames);
    void Flush();
    std::size_t Frames() const override { return FFrames; }
    void Read(std::size_t from, std::size_t count, float* out) const override;

private:
    [[noreturn]] void Fail(int error) const;
    /// Writes size bytes at at, or reads them; a signal that asks to stop gives up.
    void Transfer(char* bytes, std::size_t size, std::uint64_t at, bool write) const;

    std::string FDir;
    int FFd = -1;
    std::size_t FChannels;
    std::size_t FFrames = 0;
    std::vector<float> FBuffer;
};

/// Where a spool for an output file goes: the output's folder, or the system's temporary
/// folder for a pipe or a device.
std::string SpoolDirFor(const std::string& outputPath);
