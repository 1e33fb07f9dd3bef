#include "model/MusicProject.h"

#include "base/Bytes.h"
#include "base/Exceptions.h"
#include "base/FileIO.h"
#include "model/Munit.h"
#include "model/Muprop.h"
#include "model/SongBytes.h"

#include <algorithm>
#include <cstring>
#include <istream>
#include <memory>
#include <ostream>

namespace
{
// Project header, 400 bytes:
//   0 magic "LYRV1999"(8)  8 version(4)  12 entry count(4)  16 reserved(192)
// 208 entry kinds, one byte each: 1 property record, 2 unit record; then zeros (192)
constexpr std::size_t HeaderSize = ProjectHeaderSize;
constexpr std::size_t KindsAt = 208;
constexpr char Magic[8] = {'L', 'Y', 'R', 'V', '1', '9', '9', '9'};
constexpr std::uint8_t KindProperty = 1;
constexpr std::uint8_t KindUnit = 2;
} // namespace

TMusicProject::TMusicProject()
{
    NewSong();
}

void TMusicProject::NewSong()
{
    Items.Clear();
    Items.Add(std::make_unique<TMuprop>());
    Items.Add(std::make_unique<TMunit>(4, 4));
    FileName.clear();
    Modified = false;
}

void TMusicProject::SaveToStream(std::ostream& stream) const
{
    // A song the reader would refuse is never written: better an error now than a file
    // that cannot be opened again.
    if (Count() < 1 || Count() > MaxFileEntries)
        throw EWriteError(Msg(Core::Tr("A song holds 1 to %1 entries"), MaxFileEntries));
    std::uint8_t header[HeaderSize] = {};
    std::memcpy(header, Magic, sizeof Magic);
    PutInt32LE(header + 8, 1);
    PutInt32LE(header + 12, Count());
    for (int i = 0; i < Count(); ++i)
        header[KindsAt + static_cast<std::size_t>(i)] =
            PropertyAt(i) != nullptr ? KindProperty : KindUnit;
    WriteExact(stream, header, sizeof header);

    for (const auto& item : Items)
    {
        if (const auto* property = dynamic_cast<const TMuprop*>(item.get()))
            property->WriteToStream(stream);
        else if (const auto* unit = dynamic_cast<const TMunit*>(item.get()))
            unit->WriteToStream(stream);
    }
}

void TMusicProject::LoadFromStream(std::istream& stream)
{
    std::uint8_t header[HeaderSize];
    ReadExact(stream, header, sizeof header);
    if (std::memcmp(header, Magic, sizeof Magic) != 0)
        throw EReadError(Core::Tr("not a song file"));
    if (GetInt32LE(header + 8) != 1)
        throw EReadError(Core::Tr("a song file of an unknown version"));
    const std::int32_t count = GetInt32LE(header + 12);
    if (count < 1 || count > MaxFileEntries)
        throw EReadError(Msg(Core::Tr("%1 entries, not 1 to %2"), count, MaxFileEntries));

    // Read into a list of our own and take it over only when the whole file is good.
    TObjectList<TSongItem> items;
    for (int i = 0; i < count; ++i)
    {
        switch (header[KindsAt + static_cast<std::size_t>(i)])
        {
        case KindProperty:
        {
            auto property = std::make_unique<TMuprop>();
            property->ReadFromStream(stream);
            items.Add(std::move(property));
            break;
        }
        case KindUnit:
        {
            auto unit = std::make_unique<TMunit>(4, 4);
            unit->ReadFromStream(stream);
            items.Add(std::move(unit));
            break;
        }
        default:
            break; // an unknown kind names no record
        }
    }
    // Every song starts with the property set that governs its first units.
    if (items.Count() == 0 || dynamic_cast<TMuprop*>(items.Get(0)) == nullptr)
        throw EReadError(Core::Tr("the song does not start with its properties"));
    Items = std::move(items);
}

void TMusicProject::SaveToFile(const std::string& path) const
{
    WriteFileAtomically(path, ToBytes(*this));
}

void TMusicProject::LoadFromFile(const std::string& path)
{
    const std::string bytes = ReadWholeFile(path, MaxProjectFileSize);
    try
    {
        FromBytes(bytes, *this);
    }
    catch (EReadError& error)
    {
        error.AddPlace(path);
        throw;
    }
}

void TMusicProject::Assign(const TMusicProject& source)
{
    FromBytes(ToBytes(source), *this);
}

TMuprop* TMusicProject::PropertyAt(int index) const
{
    return dynamic_cast<TMuprop*>(Items.Get(index));
}

TMunit* TMusicProject::UnitAt(int index) const
{
    return dynamic_cast<TMunit*>(Items.Get(index));
}

TMuprop* TMusicProject::GoverningProperty(int index) const
{
    for (int i = std::min(index, Count() - 1); i >= 0; --i)
        if (TMuprop* property = PropertyAt(i))
            return property;
    return nullptr;
}

void TMusicProject::AttachProperties() const
{
    TMuprop* current = nullptr;
    for (int i = 0; i < Count(); ++i)
    {
        if (TMuprop* property = PropertyAt(i))
            current = property;
        else if (TMunit* unit = UnitAt(i))
            unit->SetProperty(current);
    }
}
