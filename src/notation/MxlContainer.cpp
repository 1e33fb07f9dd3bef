#include "notation/MxlContainer.h"

#include "base/Bytes.h"
#include "base/Exceptions.h"
#include "base/Text.h"

#include <algorithm>
#include <limits>
#include <vector>

#include <zlib.h>

namespace
{
/// 1 January 1980, the earliest date a zip entry can hold, in MS-DOS form.
constexpr std::uint16_t DosDate = (0 << 9) | (1 << 5) | 1;
constexpr std::uint16_t DosTime = 0;
/// Version 2.0 of the format: deflated entries.
constexpr std::uint16_t VersionNeeded = 20;
constexpr std::uint16_t MethodStored = 0;
constexpr std::uint16_t MethodDeflated = 8;

struct TEntry
{
    std::string Name;
    std::uint16_t Method = MethodStored;
    std::uint32_t Crc = 0;
    std::uint32_t PackedSize = 0;
    std::uint32_t Size = 0;
    std::uint32_t Offset = 0;
};

void Append16(std::string& out, std::uint16_t value)
{
    std::uint8_t b[2];
    PutUInt16LE(b, value);
    out.append(reinterpret_cast<const char*>(b), 2);
}

void Append32(std::string& out, std::uint32_t value)
{
    std::uint8_t b[4];
    PutUInt32LE(b, value);
    out.append(reinterpret_cast<const char*>(b), 4);
}

std::uint32_t Checked32(std::size_t value)
{
    if (value > std::numeric_limits<std::uint32_t>::max())
        throw ELyravaneError(Core::Tr("The score is too large for a compressed MusicXML file"));
    return static_cast<std::uint32_t>(value);
}

/// The fields local and central headers share, from "version needed" to the name length.
void AppendCommon(std::string& out, const TEntry& entry)
{
    Append16(out, VersionNeeded);
    Append16(out, 0); // flags
    Append16(out, entry.Method);
    Append16(out, DosTime);
    Append16(out, DosDate);
    Append32(out, entry.Crc);
    Append32(out, entry.PackedSize);
    Append32(out, entry.Size);
    Append16(out, static_cast<std::uint16_t>(entry.Name.size()));
}

/// Raw deflate (no zlib header), as a zip entry holds it.
std::string Deflate(std::string_view data)
{
    Checked32(data.size());
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) !=
        Z_OK)
        throw ELyravaneError(Core::Tr("Cannot start compressing the MusicXML file"));
    std::string packed(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(packed.data());
    stream.avail_out = static_cast<uInt>(packed.size());
    const int result = deflate(&stream, Z_FINISH);
    packed.resize(stream.total_out);
    deflateEnd(&stream);
    if (result != Z_STREAM_END)
        throw ELyravaneError(Core::Tr("Cannot compress the MusicXML file"));
    return packed;
}

/// The mimetype entry stays stored, so a reader can recognise the file by its first bytes.
void AddEntry(std::string& zip, std::vector<TEntry>& entries, const std::string& name,
              std::string_view data, std::uint16_t method)
{
    const std::string packed = method == MethodDeflated ? Deflate(data) : std::string(data);
    TEntry entry{name,
                 method,
                 Crc32(data),
                 Checked32(packed.size()),
                 Checked32(data.size()),
                 Checked32(zip.size())};
    Append32(zip, 0x04034B50);
    AppendCommon(zip, entry);
    Append16(zip, 0); // extra field
    zip += name;
    zip += packed;
    entries.push_back(std::move(entry));
}
} // namespace

std::uint32_t Crc32(std::string_view data)
{
    std::uint32_t crc = 0;
    for (std::size_t done = 0; done < data.size();)
    {
        const std::size_t chunk = std::min<std::size_t>(data.size() - done, 1U << 30);
        crc = static_cast<std::uint32_t>(crc32(
            crc, reinterpret_cast<const Bytef*>(data.data() + done), static_cast<uInt>(chunk)));
        done += chunk;
    }
    return crc;
}

std::string MakeMxlContainer(const std::string& musicXml, const std::string& innerName)
{
    const std::string container = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                  "<container>\n"
                                  "  <rootfiles>\n"
                                  "    <rootfile full-path=\"" +
                                  innerName +
                                  "\" media-type=\"application/vnd.recordare.musicxml+xml\"/>\n"
                                  "  </rootfiles>\n"
                                  "</container>\n";
    std::string zip;
    std::vector<TEntry> entries;
    AddEntry(zip, entries, "mimetype", "application/vnd.recordare.musicxml", MethodStored);
    AddEntry(zip, entries, "META-INF/container.xml", container, MethodDeflated);
    AddEntry(zip, entries, innerName, musicXml, MethodDeflated);

    const std::uint32_t directoryStart = Checked32(zip.size());
    for (const TEntry& entry : entries)
    {
        Append32(zip, 0x02014B50);
        Append16(zip, VersionNeeded); // made by: MS-DOS attributes, version 2.0
        AppendCommon(zip, entry);
        Append16(zip, 0); // extra field
        Append16(zip, 0); // comment
        Append16(zip, 0); // disk
        Append16(zip, 0); // internal attributes
        Append32(zip, 0); // external attributes
        Append32(zip, entry.Offset);
        zip += entry.Name;
    }
    const std::uint32_t directorySize = Checked32(zip.size() - directoryStart);
    Append32(zip, 0x06054B50);
    Append16(zip, 0);
    Append16(zip, 0);
    Append16(zip, static_cast<std::uint16_t>(entries.size()));
    Append16(zip, static_cast<std::uint16_t>(entries.size()));
    Append32(zip, directorySize);
    Append32(zip, directoryStart);
    Append16(zip, 0); // comment
    return zip;
}

std::string ScoreFileBytes(const std::string& musicXml, const std::string& fileName)
{
    return HasExtension(fileName, "mxl") ? MakeMxlContainer(musicXml, "score.musicxml") : musicXml;
}
