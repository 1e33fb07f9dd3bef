#pragma once

#include "base/FileIO.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>

struct sf_private_tag;

/// The kinds of audio file the program writes.
enum class TAudioFormat
{
    Wav,
    Flac,
    Ogg,
};

/// The format a file name's extension stands for (.wav, .flac, .ogg or .oga, in any case).
std::optional<TAudioFormat> AudioFormatFromPath(const std::string& path);
/// The format of a name as the command line gives it: "wav", "flac" or "ogg".
std::optional<TAudioFormat> AudioFormatFromName(const std::string& name);
/// "WAV", "FLAC", "Ogg Vorbis".
const char* AudioFormatName(TAudioFormat format);

/// The most frames of samples of bits bits a WAV file can hold (its sizes are 32-bit).
std::uint64_t MaxWavFrames(int channels, int bits = 16);

/// Writes an audio file through libsndfile into a TSafeFile: Commit completes the file and
/// puts it in place; a writer destroyed without Commit leaves nothing behind. WAV and FLAC
/// take whole-number samples of 16 or 24 bits, Ogg Vorbis takes floating-point ones. A WAV
/// file's header is completed at its start at the end, so a WAV file is never written to a
/// pipe. Raises EFCreateError.
class TAudioFileWriter
{
public:
    /// oggSerial: the Ogg Vorbis stream's serial number, which libsndfile would draw at random;
    /// given, the same samples make the same file.
    TAudioFileWriter(const std::string& path, TAudioFormat format, int bits, int sampleRate,
                     int channels, std::uint32_t oggSerial = 0);
    ~TAudioFileWriter();
    TAudioFileWriter(const TAudioFileWriter&) = delete;
    TAudioFileWriter& operator=(const TAudioFileWriter&) = delete;

    /// Interleaved samples of the file's bit depth (-32768..32767 for 16 bits).
    void WriteWhole(const std::int32_t* samples, std::size_t frames);
    /// Interleaved samples within -1..1.
    void WriteFloat(const float* samples, std::size_t frames);
    void Commit();
    /// False for a pipe or a terminal: what is written cannot be taken back.
    bool Seekable() const { return FVirtual.Seekable; }

    /// The file's position and length as libsndfile sees them; used by its callbacks.
    struct TVirtualFile
    {
        TSafeFile* File = nullptr;
        bool Seekable = true;
        std::int64_t Position = 0;
        std::int64_t Length = 0;
        /// A failure raised inside a callback, raised again once libsndfile has returned.
        std::exception_ptr Failure;
        /// Ogg Vorbis: the serial number every page gets, and the bytes of a page not yet
        /// complete (pages go out whole, with their checksum made anew).
        bool Ogg = false;
        std::uint32_t OggSerial = 0;
        std::string OggPending;
    };

private:
    void Check(bool ok);

    TSafeFile FFile;
    TVirtualFile FVirtual;
    sf_private_tag* FSnd = nullptr;
    int FChannels;
    int FShift;
};
