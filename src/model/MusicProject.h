#pragma once

#include "base/ObjectList.h"
#include "model/Muprop.h"
#include "model/SongItem.h"

#include <cstdint>
#include <iosfwd>
#include <string>

class TMunit;

constexpr int MaxFileEntries = 50;
constexpr int MaxEditorEntries = 49;
/// Bytes of the project file's header, before the entries' records.
constexpr int ProjectHeaderSize = 400;
/// The largest project file: the header and every entry a property record.
constexpr std::uint64_t MaxProjectFileSize =
    ProjectHeaderSize + std::uint64_t{MaxFileEntries} * PropertyRecordSize;

/// The song: property sets and music units in playing order, its file name and
/// unsaved-changes flag. The project file is a 400-byte header and one record per entry.
class TMusicProject
{
public:
    TMusicProject();

    TObjectList<TSongItem> Items;
    std::string FileName;
    bool Modified = false;

    /// One reset property set and one new unit; no file name; not modified.
    void NewSong();

    void SaveToStream(std::ostream& stream) const;
    /// All or nothing: a malformed stream raises EReadError and leaves the song as it was.
    /// A file whose entry 0 is not a property set is refused.
    void LoadFromStream(std::istream& stream);
    /// Writes through a temporary file; raises EFCreateError. FileName and Modified stay.
    void SaveToFile(const std::string& path) const;
    /// Raises EFOpenError or EReadError. FileName and Modified stay.
    void LoadFromFile(const std::string& path);
    /// Deep copy through the file format: no locks, no Property links.
    void Assign(const TMusicProject& source);

    void SetFileName(const std::string& path) { FileName = path; }
    void SetModified(bool flag) { Modified = flag; }

    int Count() const { return Items.Count(); }
    /// The entry as a property set or a unit; null when it is the other kind.
    TMuprop* PropertyAt(int index) const;
    TMunit* UnitAt(int index) const;
    /// The nearest property set at or before index; null when there is none.
    TMuprop* GoverningProperty(int index) const;
    /// Attaches every unit to the nearest preceding property set.
    void AttachProperties() const;
};
