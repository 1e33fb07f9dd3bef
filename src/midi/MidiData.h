#pragma once

#include "base/ObjectList.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

/// One MIDI event at an absolute tick. A note is one note-on event with its length in
/// Duration; note-offs exist only in the written file.
class TMidiEvent
{
public:
    TMidiEvent() = default;
    TMidiEvent(std::int32_t time, std::int32_t duration) : Time(time), Duration(duration) {}

    std::int32_t Time = 0;
    /// Note-on: length in ticks; -1 while the reader has not met the note-off; else 0.
    std::int32_t Duration = 0;
    /// The message bytes; status byte first (see the writer for meta and sysex forms).
    std::vector<std::uint8_t> Data;

    std::int32_t DataSize() const { return static_cast<std::int32_t>(Data.size()); }
    void SetDataSize(std::int32_t size)
    {
        Data.assign(static_cast<std::size_t>(size < 0 ? 0 : size), 0);
    }
    std::uint8_t Status() const { return Data.empty() ? 0 : Data[0]; }
};

using TMidiTrack = TObjectList<TMidiEvent>;

constexpr int QuarterNotesPerBar = 4;
/// Ticks per quarter note of every sequence the program makes.
constexpr std::int32_t ProgramDivision = 384;
/// Ticks of one 4/4 bar at ProgramDivision.
constexpr std::int32_t BarTicks = QuarterNotesPerBar * ProgramDivision;

/// Moves a pitch by whole octaves into 0..127; nothing is ever wrapped modulo 128. Takes 64
/// bits so that a pitch worked out from any key a file can hold cannot overflow on the way.
int FoldNoteIntoRange(std::int64_t note);

/// The microseconds of a quarter note a tempo event of bpm holds: bpm clamped to
/// 4..60000000, so the value fits three bytes and is never a division by zero.
std::uint32_t MicrosPerQuarter(int bpm);

/// The program's MIDI sequence at 384 ticks per quarter note, with its own Standard MIDI
/// File writer (format 1) and reader (formats 0 and 1, any division in ticks per quarter note).
class TMidiData
{
public:
    TMidiData();

    TObjectList<TMidiTrack> Tracks;
    std::int32_t Division = ProgramDivision;
    std::int32_t Format = 1;
    std::int32_t FileTrackCount = 0;
    std::int32_t FileDivision = ProgramDivision;

    /// Ticks of one bar: everything the program writes is in 4/4.
    std::int32_t BarLength() const { return QuarterNotesPerBar * Division; }

    int TrackCount() const { return Tracks.Count(); }
    TMidiTrack* GetTrack(int index) const { return Tracks.Get(index); }
    void SetTrackCount(int count);

    /// Inserts an empty event after the last event whose Time <= time (so equal ticks
    /// keep the order of adding); grows the track count when track is not below it.
    TMidiEvent* InsertEvent(int track, std::int32_t time);
    /// Adds events given in any order, each placed as InsertEvent would place it were they
    /// inserted one by one in the given order; ordered once, so any number costs n log n.
    void InsertEvents(int track, std::vector<std::unique_ptr<TMidiEvent>> events);

    /// The note is moved into 0..127 by octaves; velocity is clamped to 0..127.
    void AddNote(int track, std::int32_t time, std::int32_t duration, int channel, int note,
                 int velocity);
    /// The note-on event AddNote adds.
    static std::unique_ptr<TMidiEvent> NoteEvent(std::int32_t time, std::int32_t duration,
                                                 int channel, int note, int velocity);
    /// bpm is clamped to 4..60000000, so 60000000 / bpm fits three bytes and is never a
    /// division by zero.
    void AddTempo(int track, std::int32_t time, int bpm);
    /// Controller and value are clamped to 0..127: a data byte never has bit 7 set.
    void AddControlChange(int track, std::int32_t time, int channel, int controller, int value);
    /// program is 1-based (1..128) and stored 0-based; clamped into that range.
    void AddProgramChange(int track, std::int32_t time, int channel, int program);
    /// F0 7E 7F 09 01 F7, General MIDI System On.
    void AddGMSystemOn(int track, std::int32_t time);

    /// The whole sequence as Standard MIDI File bytes (format 1).
    std::string SaveToString() const;
    /// Writes through a temporary file beside the target (see WriteFileAtomically).
    void SaveToFile(const std::string& fileName) const;

    /// Clears the tracks and rebuilds them from SMF bytes; raises EInvalidMidiFile.
    void LoadFromString(std::string_view bytes);
    /// Raises EFOpenError when the file cannot be read, EInvalidMidiFile when malformed.
    void LoadFromFile(const std::string& fileName);
};
