#include "audio/AudioFileWriter.h"

#include "base/Exceptions.h"
#include "base/Text.h"

#include <algorithm>
#include <vector>

#include <sndfile.h>

namespace
{
using TVirtualFile = TAudioFileWriter::TVirtualFile;

sf_count_t VirtualLength(void* data)
{
    return static_cast<TVirtualFile*>(data)->Length;
}

sf_count_t VirtualSeek(sf_count_t offset, int whence, void* data)
{
    auto* file = static_cast<TVirtualFile*>(data);
    sf_count_t at = offset;
    if (whence == SEEK_CUR)
        at += file->Position;
    else if (whence == SEEK_END)
        at += file->Length;
    // What went into a pipe cannot be gone back to.
    if (at < 0 || (!file->Seekable && at != file->Position))
        return -1;
    file->Position = at;
    return at;
}

sf_count_t VirtualRead(void*, sf_count_t, void*)
{
    return 0; // the file is only written
}

sf_count_t VirtualWrite(const void* data, sf_count_t count, void* user)
{
    auto* file = static_cast<TVirtualFile*>(user);
    if (file->Failure)
        return 0;
    try
    {
        // libsndfile goes back to complete headers: a seekable file is written at its
        // position, a pipe in turn.
        if (file->Seekable)
            file->File->WriteAt(static_cast<std::uint64_t>(file->Position), data,
                                static_cast<std::size_t>(count));
        else
            file->File->Write(data, static_cast<std::size_t>(count));
    }
    catch (...)
    {
        // An exception must not unwind through libsndfile's C code.
        file->Failure = std::current_exception();
        return 0;
    }
    file->Position += count;
    file->Length = std::max(file->Length, file->Position);
    return count;
}

sf_count_t VirtualTell(void* data)
{
    return static_cast<TVirtualFile*>(data)->Position;
}

int SndFormat(TAudioFormat format, int bits)
{
    switch (format)
    {
    case TAudioFormat::Wav:
        return SF_FORMAT_WAV | (bits == 24 ? SF_FORMAT_PCM_24 : SF_FORMAT_PCM_16);
    case TAudioFormat::Flac:
        return SF_FORMAT_FLAC | (bits == 24 ? SF_FORMAT_PCM_24 : SF_FORMAT_PCM_16);
    case TAudioFormat::Ogg:
        break;
    }
    return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
}

/// A format's extension and command-line name, in the order of TAudioFormat.
constexpr const char* FormatNames[] = {"wav", "flac", "ogg"};
} // namespace

std::optional<TAudioFormat> AudioFormatFromPath(const std::string& path)
{
    if (HasExtension(path, "oga"))
        return TAudioFormat::Ogg;
    for (const TAudioFormat format : {TAudioFormat::Wav, TAudioFormat::Flac, TAudioFormat::Ogg})
        if (HasExtension(path, FormatNames[static_cast<int>(format)]))
            return format;
    return std::nullopt;
}

std::optional<TAudioFormat> AudioFormatFromName(const std::string& name)
{
    for (const TAudioFormat format : {TAudioFormat::Wav, TAudioFormat::Flac, TAudioFormat::Ogg})
        if (SameTextIgnoringCase(name, FormatNames[static_cast<int>(format)]))
            return format;
    return std::nullopt;
}

const char* AudioFormatName(TAudioFormat format)
{
    switch (format)
    {
    case TAudioFormat::Wav:
        return "WAV";
    case TAudioFormat::Flac:
        return "FLAC";
    case TAudioFormat::Ogg:
        break;
    }
    return "Ogg Vorbis";
}

std::uint64_t MaxWavFrames(int channels, int bits)
{
    // The RIFF size counts the 44-byte header but its first 8 bytes: about 6.7 hours of
    // 44.1 kHz 16-bit stereo.
    return (0xFFFFFFFFu - 36) / (static_cast<std::uint64_t>(bits / 8) * channels);
}

TAudioFileWriter::TAudioFileWriter(const std::string& path, TAudioFormat format, int bits,
                                   int sampleRate, int channels)
    : FFile(path), FChannels(channels), FShift(32 - bits)
{
    FVirtual.File = &FFile;
    FVirtual.Seekable = FFile.Seekable();
    // The header is completed at the end, at the start of the file.
    if (format == TAudioFormat::Wav && !FVirtual.Seekable)
        throw EFCreateError(path, "A WAV file cannot be written to a pipe or a terminal: its "
                                  "header is completed at the end");
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = SndFormat(format, bits);
    SF_VIRTUAL_IO io{&VirtualLength, &VirtualSeek, &VirtualRead, &VirtualWrite, &VirtualTell};
    FSnd = sf_open_virtual(&io, SFM_WRITE, &info, &FVirtual);
    if (!FSnd)
    {
        if (FVirtual.Failure)
            std::rethrow_exception(FVirtual.Failure);
        throw EFCreateError(path, sf_strerror(nullptr));
    }
}

TAudioFileWriter::~TAudioFileWriter()
{
    // Without Commit the TSafeFile removes the temporary file.
    if (FSnd)
        sf_close(FSnd);
}

void TAudioFileWriter::Check(bool ok)
{
    if (FVirtual.Failure)
        std::rethrow_exception(FVirtual.Failure);
    if (!ok)
        throw EFCreateError(FFile.Path(), sf_strerror(FSnd));
}

void TAudioFileWriter::WriteWhole(const std::int32_t* samples, std::size_t frames)
{
    // libsndfile takes whole numbers at 32-bit scale and keeps their top bits.
    std::vector<int> scaled(frames * static_cast<std::size_t>(FChannels));
    for (std::size_t i = 0; i < scaled.size(); ++i)
        scaled[i] = static_cast<int>(static_cast<std::uint32_t>(samples[i]) << FShift);
    const auto count = static_cast<sf_count_t>(frames);
    Check(sf_writef_int(FSnd, scaled.data(), count) == count);
}

void TAudioFileWriter::WriteFloat(const float* samples, std::size_t frames)
{
    const auto count = static_cast<sf_count_t>(frames);
    Check(sf_writef_float(FSnd, samples, count) == count);
}

void TAudioFileWriter::Commit()
{
    SNDFILE* snd = FSnd;
    FSnd = nullptr;
    Check(sf_close(snd) == 0);
    FFile.Commit();
}
