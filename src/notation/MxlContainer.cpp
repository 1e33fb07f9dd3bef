#include "notation/MxlContainer.h"

#include "base/Bytes.h"
#include "base/Exceptions.h"

#include <array>
#include <limits>
#include <vector>

namespace
{
std::array<std::uint32_t, 256> MakeCrcTable()
{
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n)
    {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) != 0 ? 0xEDB88320U ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

/// 1 January 1980, the earliest date a zip entry can hold, in MS-DOS form.
constexpr std::uint16_t DosDate = (0 << 9) | (1 << 5) | 1;
constexpr std::uint16_t DosTime = 0;
/// Version 1.0 of the format suffices for stored entries.
constexpr std::uint16_t VersionNeeded = 10;

struct TEntry
{
    std::string Name;
    std::uint32_t Crc = 0;
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
        throw ELyravaneError("The score is too large for a compressed MusicXML file");
    return static_cast<std::uint32_t>(value);
}

/// The fields local and central headers share, from "version needed" to the name length.
void AppendCommon(std::string& out, const TEntry& entry)
{
    Append16(out, VersionNeeded);
    Append16(out, 0); // flags
    Append16(out, 0); // stored
    Append16(out, DosTime);
    Append16(out, DosDate);
    Append32(out, entry.Crc);
    Append32(out, entry.Size);
    Append32(out, entry.Size);
    Append16(out, static_cast<std::uint16_t>(entry.Name.size()));
}

void AddEntry(std::string& zip, std::vector<TEntry>& entries, const std::string& name,
              std::string_view data)
{
    TEntry entry{name, Crc32(data), Checked32(data.size()), Checked32(zip.size())};
    Append32(zip, 0x04034B50);
    AppendCommon(zip, entry);
    Append16(zip, 0); // extra field
    zip += name;
    zip += data;
    entries.push_back(std::move(entry));
}
} // namespace

std::uint32_t Crc32(std::string_view data)
{
    static const std::array<std::uint32_t, 256> table = MakeCrcTable();
    std::uint32_t c = 0xFFFFFFFFU;
    for (const char ch : data)
        c = table[(c ^ static_cast<std::uint8_t>(ch)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFU;
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
    AddEntry(zip, entries, "mimetype", "application/vnd.recordare.musicxml");
    AddEntry(zip, entries, "META-INF/container.xml", container);
    AddEntry(zip, entries, innerName, musicXml);

    const std::uint32_t directoryStart = Checked32(zip.size());
    for (const TEntry& entry : entries)
    {
        Append32(zip, 0x02014B50);
        Append16(zip, VersionNeeded); // made by: MS-DOS attributes, version 1.0
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
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    const std::string suffix = ".mxl";
    bool compressed = fileName.size() >= suffix.size();
    for (std::size_t i = 0; compressed && i < suffix.size(); ++i)
        compressed = lower(fileName[fileName.size() - suffix.size() + i]) == suffix[i];
    return compressed ? MakeMxlContainer(musicXml, "score.musicxml") : musicXml;
}
