#include "model/SongBytes.h"

#include "base/Exceptions.h"
#include "model/Munit.h"
#include "model/Muprop.h"
#include "model/MusicProject.h"

#include <sstream>

namespace
{
template <typename TWrite> std::string Written(TWrite write)
{
    std::ostringstream stream(std::ios::binary);
    write(stream);
    return stream.str();
}

template <typename TRead> std::size_t Read(std::string_view bytes, TRead read)
{
    std::istringstream stream(std::string(bytes), std::ios::binary);
    read(stream);
    const std::streamoff taken = stream.tellg();
    if (taken < 0)
        throw EReadError();
    return static_cast<std::size_t>(taken);
}
} // namespace

std::string ToBytes(const TMunit& unit)
{
    return Written([&](std::ostream& stream) { unit.WriteToStream(stream); });
}

std::string ToBytes(const TMuprop& property)
{
    return Written([&](std::ostream& stream) { property.WriteToStream(stream); });
}

std::string ToBytes(const TMusicProject& song)
{
    return Written([&](std::ostream& stream) { song.SaveToStream(stream); });
}

std::size_t FromBytes(std::string_view bytes, TMunit& unit)
{
    return Read(bytes, [&](std::istream& stream) { unit.ReadFromStream(stream); });
}

std::size_t FromBytes(std::string_view bytes, TMuprop& property)
{
    return Read(bytes, [&](std::istream& stream) { property.ReadFromStream(stream); });
}

std::size_t FromBytes(std::string_view bytes, TMusicProject& song)
{
    return Read(bytes, [&](std::istream& stream) { song.LoadFromStream(stream); });
}

std::string LocksToBytes(const TMusicProject& song)
{
    std::string locks;
    for (int i = 0; i < song.Count(); ++i)
        if (const TMunit* unit = song.UnitAt(i))
            locks.append(unit->Locks.begin(), unit->Locks.end());
    return locks;
}

std::string SongWithLocksToBytes(const TMusicProject& song)
{
    return ToBytes(song) + LocksToBytes(song);
}

std::vector<std::string> SongWithLocksParts(const TMusicProject& song)
{
    const std::string file = ToBytes(song);
    std::vector<std::string> parts;
    parts.reserve(static_cast<std::size_t>(song.Count()) + 2);
    std::size_t at = ProjectHeaderSize;
    parts.push_back(file.substr(0, at));
    for (int i = 0; i < song.Count(); ++i)
    {
        const std::size_t size =
            song.PropertyAt(i) != nullptr ? PropertyRecordSize : UnitRecordSize;
        parts.push_back(file.substr(at, size));
        at += size;
    }
    parts.push_back(LocksToBytes(song));
    return parts;
}

void SongWithLocksFromBytes(std::string_view bytes, TMusicProject& song)
{
    // Read into a song of our own and take its entries over only when every byte is good.
    TMusicProject loaded;
    const std::string_view locks = bytes.substr(FromBytes(bytes, loaded));
    std::size_t at = 0;
    for (int i = 0; i < loaded.Count(); ++i)
        if (TMunit* unit = loaded.UnitAt(i))
            for (std::uint8_t& lock : unit->Locks)
            {
                if (at >= locks.size())
                    throw EReadError(Core::Tr("fewer locks than the song has bars"));
                lock = static_cast<std::uint8_t>(locks[at++]);
            }
    if (at != locks.size())
        throw EReadError(Core::Tr("more locks than the song has bars"));
    song.Items = std::move(loaded.Items);
    song.AttachProperties();
}
