#include "base/Bytes.h"
#include "base/Exceptions.h"
#include "base/FileIO.h"
#include "midi/MidiData.h"

#include <array>
#include <limits>
#include <memory>
#include <string>

// The Standard MIDI File reader: formats 0 and 1, any division in ticks per quarter note, times
// rescaled to ours.

namespace
{
constexpr std::int64_t MaxTime = std::numeric_limits<std::int32_t>::max();
/// A format 0 file's single track is spread over one list per MIDI channel.
constexpr int ChannelCount = 16;

/// A bounded cursor over bytes: every read past the end is an invalid file.
class TByteReader
{
public:
    explicit TByteReader(std::string_view bytes) : FBytes(bytes) {}

    std::size_t Remaining() const { return FBytes.size() - FPos; }

    std::uint8_t Byte()
    {
        if (FPos >= FBytes.size())
            throw EInvalidMidiFile(Core::Tr("the data ends early"));
        return static_cast<std::uint8_t>(FBytes[FPos++]);
    }

    std::string_view Take(std::size_t count)
    {
        if (count > Remaining())
            throw EInvalidMidiFile(Core::Tr("the data ends early"));
        const std::string_view part = FBytes.substr(FPos, count);
        FPos += count;
        return part;
    }

    std::uint32_t UInt32() { return GetUInt32BE(Bytes(4)); }

    std::uint32_t UInt16() { return GetUInt16BE(Bytes(2)); }

    /// A variable-length number of at most four bytes; a fifth group is a broken file.
    std::uint32_t VarLen()
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
        {
            const std::uint8_t b = Byte();
            value = (value << 7) | (b & 0x7Fu);
            if ((b & 0x80) == 0)
                return value;
        }
        throw EInvalidMidiFile(Core::Tr("a variable-length number of more than four bytes"));
    }

    /// A length followed by that many bytes, checked against what remains before use.
    std::string_view Block()
    {
        const std::uint32_t length = VarLen();
        return Take(length);
    }

private:
    const std::uint8_t* Bytes(std::size_t count)
    {
        return reinterpret_cast<const std::uint8_t*>(Take(count).data());
    }

    std::string_view FBytes;
    std::size_t FPos = 0;
};

/// Note-ons still waiting for their note-off, per key, oldest first. Events in a list
/// arrive in ascending time, so the oldest open note-on of a key is the first one a search
/// from the front of the list would meet.
class TOpenNotes
{
public:
    void Push(int key, TMidiEvent* event)
    {
        FKeys[static_cast<std::size_t>(key)].Items.push_back(event);
    }

    TMidiEvent* Pop(int key)
    {
        TQueue& queue = FKeys[static_cast<std::size_t>(key)];
        if (queue.Head >= queue.Items.size())
            return nullptr;
        TMidiEvent* event = queue.Items[queue.Head++];
        if (queue.Head == queue.Items.size())
        {
            queue.Items.clear();
            queue.Head = 0;
        }
        return event;
    }

    void Clear()
    {
        for (TQueue& queue : FKeys)
        {
            queue.Items.clear();
            queue.Head = 0;
        }
    }

private:
    struct TQueue
    {
        std::vector<TMidiEvent*> Items;
        std::size_t Head = 0;
    };
    std::array<TQueue, 128> FKeys;
};

/// MThd | 00 00 00 06 | format | tracks | division, all big-endian; only formats 0 and 1 and
/// a division in ticks per quarter note other than 0 are read.
void ReadHeaderChunk(TByteReader& file, TMidiData& midi)
{
    if (file.Take(4) != "MThd" || file.UInt32() != 6)
        throw EInvalidMidiFile(Core::Tr("no MThd header"));
    midi.Format = static_cast<std::int32_t>(file.UInt16());
    midi.FileTrackCount = static_cast<std::int32_t>(file.UInt16());
    midi.FileDivision = static_cast<std::int32_t>(file.UInt16());
    if (midi.Format != 0 && midi.Format != 1)
        throw EInvalidMidiFile(Msg(Core::Tr("format %1, not 0 or 1"), midi.Format));
    // With the top bit set the division counts frames of SMPTE time code, not ticks of a
    // quarter note: read as ticks, every length would come out wrong.
    if ((midi.FileDivision & 0x8000) != 0)
        throw EInvalidMidiFile(Core::Tr("SMPTE timing is not supported"));
    // Division 0 would divide by zero when times are rescaled.
    if (midi.FileDivision == 0)
        throw EInvalidMidiFile(Core::Tr("time division 0"));
}

/// The bodies of the count MTrk chunks that follow the header.
std::vector<std::string_view> ReadTrackChunks(TByteReader& file, int count)
{
    std::vector<std::string_view> chunks;
    chunks.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
    {
        if (file.Take(4) != "MTrk")
            throw EInvalidMidiFile(Core::Tr("a missing MTrk chunk"));
        const std::uint32_t length = file.UInt32();
        chunks.push_back(file.Take(length));
    }
    return chunks;
}

/// Reads the events of track chunks into the lists of a TMidiData whose track count is set:
/// format 0 into one list per channel, format 1 into the list of the chunk's number.
class TTrackParser
{
public:
    TTrackParser(TMidiData& midi, bool singleTrack)
        : FMidi(midi), FSingleTrack(singleTrack), FOpenNotes(singleTrack ? ChannelCount : 1)
    {
    }

    void ReadTrack(int track, std::string_view bytes);

private:
    /// The absolute file time in our division; a time past 32 bits is a broken file.
    std::int32_t EventTime(std::int64_t fileTime) const;
    /// A channel message whose first byte (status, or a data byte under running status) is
    /// b; a note-off closes the oldest open note of its key instead of being stored.
    void ReadChannelEvent(TByteReader& chunk, std::uint8_t b, std::int32_t time, int track);
    /// A meta (b = FF) or sysex event; true at the end of the track.
    bool ReadMetaOrSysex(TByteReader& chunk, std::uint8_t b, std::int32_t time, int track);

    TMidiData& FMidi;
    bool FSingleTrack;
    /// Format 0 matches notes per channel list, format 1 per track (one table, reused).
    std::vector<TOpenNotes> FOpenNotes;
    std::uint8_t FRunningStatus = 0;
};

void TTrackParser::ReadTrack(int track, std::string_view bytes)
{
    TByteReader chunk(bytes);
    if (!FSingleTrack)
    {
        FOpenNotes[0].Clear();
        // A note is two events in the file and one in the list; running status can
        // bring an event down to three bytes.
        FMidi.Tracks.Get(track)->Items().reserve(chunk.Remaining() / 6);
    }

    FRunningStatus = 0;
    std::int64_t fileTime = 0;
    for (;;)
    {
        fileTime += chunk.VarLen();
        const std::int32_t time = EventTime(fileTime);
        const std::uint8_t b = chunk.Byte();
        if (b <= 0xEF)
            ReadChannelEvent(chunk, b, time, track);
        else if (ReadMetaOrSysex(chunk, b, time, track))
            return;
    }
}

std::int32_t TTrackParser::EventTime(std::int64_t fileTime) const
{
    if (fileTime > MaxTime)
        throw EInvalidMidiFile(Core::Tr("an event time beyond the largest tick"));
    const std::int64_t scaled = fileTime * std::int64_t{FMidi.Division} / FMidi.FileDivision;
    if (scaled > MaxTime)
        throw EInvalidMidiFile(Core::Tr("an event time beyond the largest tick"));
    return static_cast<std::int32_t>(scaled);
}

void TTrackParser::ReadChannelEvent(TByteReader& chunk, std::uint8_t b, std::int32_t time,
                                    int track)
{
    std::uint8_t status;
    std::uint8_t first;
    if (b & 0x80)
    {
        status = b;
        FRunningStatus = b;
        first = chunk.Byte();
    }
    else
    {
        if (FRunningStatus == 0)
            throw EInvalidMidiFile(Core::Tr("a data byte without a status byte"));
        status = FRunningStatus;
        first = b;
    }
    const bool oneDataByte = status >= 0xC0 && status <= 0xDF;
    const std::uint8_t second = oneDataByte ? 0 : chunk.Byte();
    // A data byte has bit 7 clear; a status byte in its place is a broken file, and kept it
    // would reach every file we write from this pattern.
    if ((first & 0x80) != 0 || (second & 0x80) != 0)
        throw EInvalidMidiFile(Core::Tr("a status byte in place of a data byte"));

    const int list = FSingleTrack ? (status & 0x0F) : track;
    TOpenNotes& open = FOpenNotes[FSingleTrack ? static_cast<std::size_t>(list) : 0];
    const std::uint8_t kind = status & 0xF0;
    const int key = first & 0x7F;
    if (kind == 0x80 || (kind == 0x90 && second == 0))
    {
        if (TMidiEvent* on = open.Pop(key))
            on->Duration = time - on->Time;
        return;
    }

    auto event = std::make_unique<TMidiEvent>(time, kind == 0x90 ? -1 : 0);
    if (oneDataByte)
        event->Data = {status, first};
    else
        event->Data = {status, first, second};
    TMidiEvent* stored = event.get();
    FMidi.Tracks.Get(list)->Items().push_back(std::move(event));
    if (kind == 0x90)
        open.Push(key, stored);
}

bool TTrackParser::ReadMetaOrSysex(TByteReader& chunk, std::uint8_t b, std::int32_t time, int track)
{
    std::uint8_t type = 0;
    if (b == 0xFF)
        type = chunk.Byte();
    const std::string_view body = chunk.Block();
    if (b == 0xFF && type == 0x2F)
        return true;
    auto event = std::make_unique<TMidiEvent>(time, 0);
    event->Data.reserve(body.size() + 2);
    event->Data.push_back(b);
    if (b == 0xFF)
        event->Data.push_back(type);
    event->Data.insert(event->Data.end(), body.begin(), body.end());
    FMidi.Tracks.Get(FSingleTrack ? 0 : track)->Items().push_back(std::move(event));
    return false;
}
} // namespace

void TMidiData::LoadFromString(std::string_view bytes)
{
    Tracks.Clear();
    TByteReader file(bytes);
    ReadHeaderChunk(file, *this);
    const std::vector<std::string_view> chunks = ReadTrackChunks(file, FileTrackCount);

    const bool singleTrack = Format == 0;
    SetTrackCount(singleTrack ? ChannelCount : FileTrackCount);
    TTrackParser parser(*this, singleTrack);
    for (int t = 0; t < FileTrackCount; ++t)
    {
        parser.ReadTrack(t, chunks[static_cast<std::size_t>(t)]);
        // A format 0 file is one track; any further chunks are not part of it.
        if (singleTrack)
            break;
    }
}

void TMidiData::LoadFromFile(const std::string& fileName)
{
    try
    {
        LoadFromString(ReadWholeFile(fileName, MaxDataFileSize));
    }
    catch (EInvalidMidiFile& error)
    {
        error.AddPlace(fileName);
        throw;
    }
}
