#include "audio/AudioFileWriter.h"

#include "audio/SoundLibraries.h"
#include "base/Exceptions.h"
#include "base/Text.h"

#include <algorithm>
#include <array>
#include <vector>

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

/// The CRC of an Ogg page: polynomial 0x04C11DB7, not reflected, from 0, over the page with
/// its checksum field zeroed.
std::uint32_t OggChecksum(const std::string& page)
{
    static const std::array<std::uint32_t, 256> table = []
    {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i)
        {
            std::uint32_t r = i << 24;
            for (int k = 0; k < 8; ++k)
                r = (r & 0x80000000u) != 0 ? (r << 1) ^ 0x04C11DB7u : r << 1;
            t[i] = r;
        }
        return t;
    }();
    std::uint32_t crc = 0;
    for (const char c : page)
        crc = (crc << 8) ^ table[((crc >> 24) ^ static_cast<unsigned char>(c)) & 0xFF];
    return crc;
}

void PutLittleEndian(std::string& bytes, std::size_t at, std::uint32_t value)
{
    for (int k = 0; k < 4; ++k)
        bytes[at + static_cast<std::size_t>(k)] = static_cast<char>((value >> (8 * k)) & 0xFF);
}

/// Writes the whole Ogg pages among the pending bytes, each with the stream's serial number
/// and its checksum made anew; an incomplete page waits for its rest.
void WriteOggPages(TVirtualFile& file)
{
    constexpr std::size_t HeaderSize = 27;
    std::string& pending = file.OggPending;
    std::size_t at = 0;
    while (pending.size() - at >= HeaderSize)
    {
        if (pending.compare(at, 4, "OggS") != 0)
            throw EFCreateError(file.File->Path(),
                                Core::Tr("the Ogg encoder wrote something not a page"));
        const std::size_t segments = static_cast<unsigned char>(pending[at + 26]);
        if (pending.size() - at < HeaderSize + segments)
            break;
        std::size_t body = 0;
        for (std::size_t k = 0; k < segments; ++k)
            body += static_cast<unsigned char>(pending[at + HeaderSize + k]);
        const std::size_t size = HeaderSize + segments + body;
        if (pending.size() - at < size)
            break;
        std::string page = pending.substr(at, size);
        PutLittleEndian(page, 14, file.OggSerial);
        PutLittleEndian(page, 22, 0);
        PutLittleEndian(page, 22, OggChecksum(page));
        file.File->Write(page.data(), page.size());
        at += size;
    }
    pending.erase(0, at);
}

sf_count_t VirtualWrite(const void* data, sf_count_t count, void* user)
{
    auto* file = static_cast<TVirtualFile*>(user);
    if (file->Failure)
        return 0;
    try
    {
        if (file->Ogg)
        {
            // Ogg pages are written one after the other, never gone back to.
            if (file->Position != file->Length)
                throw EFCreateError(file->File->Path(),
                                    Core::Tr("the Ogg encoder went back in its file"));
            file->OggPending.append(static_cast<const char*>(data),
                                    static_cast<std::size_t>(count));
            WriteOggPages(*file);
        }
        // libsndfile goes back to complete headers: a seekable file is written at its
        // position, a pipe in turn.
        else if (file->Seekable)
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
                                   int sampleRate, int channels, std::uint32_t oggSerial)
    : FFile(path), FChannels(channels), FShift(32 - bits)
{
    FVirtual.File = &FFile;
    FVirtual.Seekable = FFile.Seekable();
    FVirtual.Ogg = format == TAudioFormat::Ogg;
    FVirtual.OggSerial = oggSerial;
    // The header is completed at the end, at the start of the file.
    if (format == TAudioFormat::Wav && !FVirtual.Seekable)
        throw EFCreateError(path, Core::Tr("A WAV file cannot be written to a pipe or a terminal: "
                                           "its header is completed at the end"));
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = SndFormat(format, bits);
    SF_VIRTUAL_IO io{&VirtualLength, &VirtualSeek, &VirtualRead, &VirtualWrite, &VirtualTell};
    FSnd = Sndfile().sf_open_virtual(&io, SFM_WRITE, &info, &FVirtual);
    if (!FSnd)
    {
        if (FVirtual.Failure)
            std::rethrow_exception(FVirtual.Failure);
        throw EFCreateError(path, Sndfile().sf_strerror(nullptr));
    }
}

TAudioFileWriter::~TAudioFileWriter()
{
    // Without Commit the TSafeFile removes the temporary file.
    if (FSnd)
        Sndfile().sf_close(FSnd);
}

void TAudioFileWriter::Check(bool ok)
{
    if (FVirtual.Failure)
        std::rethrow_exception(FVirtual.Failure);
    if (!ok)
        throw EFCreateError(FFile.Path(), Sndfile().sf_strerror(FSnd));
}

void TAudioFileWriter::WriteWhole(const std::int32_t* samples, std::size_t frames)
{
    // libsndfile takes whole numbers at 32-bit scale and keeps their top bits.
    std::vector<int> scaled(frames * static_cast<std::size_t>(FChannels));
    for (std::size_t i = 0; i < scaled.size(); ++i)
        scaled[i] = static_cast<int>(static_cast<std::uint32_t>(samples[i]) << FShift);
    const auto count = static_cast<sf_count_t>(frames);
    Check(Sndfile().sf_writef_int(FSnd, scaled.data(), count) == count);
}

void TAudioFileWriter::WriteFloat(const float* samples, std::size_t frames)
{
    const auto count = static_cast<sf_count_t>(frames);
    Check(Sndfile().sf_writef_float(FSnd, samples, count) == count);
}

void TAudioFileWriter::Commit()
{
    SNDFILE* snd = FSnd;
    FSnd = nullptr;
    Check(Sndfile().sf_close(snd) == 0);
    if (!FVirtual.OggPending.empty())
        throw EFCreateError(FFile.Path(), Core::Tr("the Ogg encoder left a page unfinished"));
    FFile.Commit();
}
