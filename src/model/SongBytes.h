#pragma once

// The records and files of the song as bytes in memory: for the clipboard, the undo steps and
// the recovery files.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class TMunit;
class TMuprop;
class TMusicProject;

/// A unit record (UnitRecordSize bytes), a property record, a project file.
std::string ToBytes(const TMunit& unit);
std::string ToBytes(const TMuprop& property);
std::string ToBytes(const TMusicProject& song);

/// Reads the record or file at the start of bytes as ReadFromStream and LoadFromStream do (all
/// or nothing, EReadError) and returns how many bytes it took; what follows is not read.
std::size_t FromBytes(std::string_view bytes, TMunit& unit);
std::size_t FromBytes(std::string_view bytes, TMuprop& property);
std::size_t FromBytes(std::string_view bytes, TMusicProject& song);

/// The bar locks of the song's units, one byte a bar, in entry order: what the project file
/// does not keep.
std::string LocksToBytes(const TMusicProject& song);

/// The song as undo steps and recovery files keep it: the project file, then its locks.
std::string SongWithLocksToBytes(const TMusicProject& song);
/// The same bytes in parts, for a holder of many versions of one song that shares the parts
/// that stayed the same: the project file's header, each entry's record, then the locks.
std::vector<std::string> SongWithLocksParts(const TMusicProject& song);
/// Puts song in the state bytes hold: its entries and locks, the units attached to their
/// property sets. All or nothing: EReadError unless bytes are one project file followed by
/// exactly the locks of its units. The file name and the modified flag stay.
void SongWithLocksFromBytes(std::string_view bytes, TMusicProject& song);
