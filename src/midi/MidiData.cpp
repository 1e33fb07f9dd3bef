#include "midi/MidiData.h"

#include "base/Bytes.h"
#include "base/Exceptions.h"
#include "base/FileIO.h"

#include <algorithm>
#include <array>
#include <limits>
#include <memory>

namespace
{
constexpr std::int64_t MaxTime = std::numeric_limits<std::int32_t>::max();
// Four 7-bit groups: the most a variable-length number may carry in a file.
constexpr std::int64_t MaxVarLen = (std::int64_t{1} << 28) - 1;

std::uint8_t DataByte(int value)
{
    return static_cast<std::uint8_t>(std::clamp(value, 0, 127));
}

std::uint8_t ChannelStatus(int kind, int channel)
{
    return static_cast<std::uint8_t>(kind | (channel & 0x0F));
}

// ---------------------------------------------------------------------------------------
// Writing

void PutVarLen(std::string& out, std::int64_t value)
{
    // A delta beyond four groups cannot be written; it only arises from sequences longer
    // than 2^28 ticks (about 700,000 quarter notes), and the largest delta is the nearest
    // the file can come.
    const auto v = static_cast<std::uint32_t>(std::clamp<std::int64_t>(value, 0, MaxVarLen));
    if (v >> 21)
        out.push_back(static_cast<char>(0x80 | ((v >> 21) & 0x7F)));
    if (v >> 14)
        out.push_back(static_cast<char>(0x80 | ((v >> 14) & 0x7F)));
    if (v >> 7)
        out.push_back(static_cast<char>(0x80 | ((v >> 7) & 0x7F)));
    out.push_back(static_cast<char>(v & 0x7F));
}

void PutBytes(std::string& out, const std::uint8_t* data, std::size_t size)
{
    out.append(reinterpret_cast<const char*>(data), size);
}

void PutUInt32(std::string& out, std::uint32_t value)
{
    std::uint8_t bytes[4];
    PutUInt32BE(bytes, value);
    PutBytes(out, bytes, sizeof bytes);
}

void PutUInt16(std::string& out, std::uint32_t value)
{
    std::uint8_t bytes[2];
    PutUInt16BE(bytes, static_cast<std::uint16_t>(value));
    PutBytes(out, bytes, sizeof bytes);
}

struct TNoteOff
{
    std::int64_t Time;
    std::uint8_t Status;
    std::uint8_t Key;
    std::size_t Source; ///< index of its note-on in the track
};

/// One event after its delta time: channel messages whole, meta and sysex with their length.
void PutEventBody(std::string& out, const TMidiEvent& event)
{
    const std::vector<std::uint8_t>& data = event.Data;
    const std::uint8_t status = data[0];
    if (status < 0xF0)
        PutBytes(out, data.data(), data.size());
    else if (status == 0xFF)
    {
        out.push_back(static_cast<char>(0xFF));
        // A meta event needs its type byte; an event that lacks one is written as type 0.
        out.push_back(static_cast<char>(data.size() > 1 ? data[1] : 0));
        const std::size_t payload = data.size() > 2 ? data.size() - 2 : 0;
        PutVarLen(out, static_cast<std::int64_t>(payload));
        if (payload > 0)
            PutBytes(out, data.data() + 2, payload);
    }
    else
    {
        out.push_back(static_cast<char>(status));
        PutVarLen(out, static_cast<std::int64_t>(data.size() - 1));
        PutBytes(out, data.data() + 1, data.size() - 1);
    }
}

/// Encodes one track, note-offs made from the note-ons' durations.
void PutTrack(std::string& out, const TMidiTrack& track, std::vector<TNoteOff>& noteOffs)
{
    noteOffs.clear();
    for (std::size_t i = 0; i < track.Items().size(); ++i)
    {
        const auto& event = track.Items()[i];
        if ((event->Status() & 0xF0) != 0x90)
            continue;
        const std::int64_t duration = std::max<std::int32_t>(event->Duration, 0);
        const std::uint8_t key = event->Data.size() > 1 ? (event->Data[1] & 0x7F) : 0;
        noteOffs.push_back({event->Time + duration,
                            static_cast<std::uint8_t>(0x80 | (event->Status() & 0x0F)), key, i});
    }
    // Stable: note-offs of one tick keep the order of their note-ons, so the bytes of a
    // file are fully determined by the sequence.
    std::stable_sort(noteOffs.begin(), noteOffs.end(),
                     [](const TNoteOff& a, const TNoteOff& b) { return a.Time < b.Time; });

    std::int64_t lastTime = 0;
    auto putDelta = [&](std::int64_t time)
    {
        PutVarLen(out, time - lastTime);
        lastTime = std::max(lastTime, time);
    };
    auto putNoteOff = [&](const TNoteOff& off)
    {
        putDelta(off.Time);
        out.push_back(static_cast<char>(off.Status));
        out.push_back(static_cast<char>(off.Key));
        out.push_back(0);
    };

    // At equal ticks every note-off goes before the other events, except that a note of
    // length 0 is never closed before it is opened: that would leave it sounding.
    std::size_t next = 0;
    for (std::size_t i = 0; i < track.Items().size(); ++i)
    {
        const auto& event = track.Items()[i];
        while (next < noteOffs.size() &&
               (noteOffs[next].Time < event->Time ||
                (noteOffs[next].Time == event->Time && noteOffs[next].Source < i)))
            putNoteOff(noteOffs[next++]);
        // An event left without bytes has nothing to write; its delta alone would break
        // the file.
        if (event->Data.empty())
            continue;
        putDelta(event->Time);
        PutEventBody(out, *event);
    }
    while (next < noteOffs.size())
        putNoteOff(noteOffs[next++]);

    PutVarLen(out, 0);
    out.push_back(static_cast<char>(0xFF));
    out.push_back(0x2F);
    out.push_back(0);
}

// ---------------------------------------------------------------------------------------
// Reading

/// A bounded cursor over bytes: every read past the end is an invalid file.
class TByteReader
{
public:
    explicit TByteReader(std::string_view bytes) : FBytes(bytes) {}

    std::size_t Remaining() const { return FBytes.size() - FPos; }

    std::uint8_t Byte()
    {
        if (FPos >= FBytes.size())
            throw EInvalidMidiFile();
        return static_cast<std::uint8_t>(FBytes[FPos++]);
    }

    std::string_view Take(std::size_t count)
    {
        if (count > Remaining())
            throw EInvalidMidiFile();
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
        throw EInvalidMidiFile();
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

std::unique_ptr<TMidiEvent> MakeEvent(std::int32_t time, std::int32_t duration)
{
    auto event = std::make_unique<TMidiEvent>();
    event->Time = time;
    event->Duration = duration;
    return event;
}
} // namespace

int FoldNoteIntoRange(std::int64_t note)
{
    if (note < 0)
        note += (11 - note) / 12 * 12;
    else if (note > 127)
        note -= (note - 127 + 11) / 12 * 12;
    return static_cast<int>(note);
}

TMidiData::TMidiData() = default;

void TMidiData::SetTrackCount(int count)
{
    count = std::max(count, 0);
    auto& items = Tracks.Items();
    if (static_cast<std::size_t>(count) < items.size())
        items.resize(static_cast<std::size_t>(count));
    while (Tracks.Count() < count)
        Tracks.Add(std::make_unique<TMidiTrack>());
}

TMidiEvent* TMidiData::InsertEvent(int track, std::int32_t time)
{
    if (track >= TrackCount())
        SetTrackCount(track + 1);
    auto& events = GetTrack(track)->Items();
    // From the end: producers add in ascending time, so this is the last slot at once.
    auto position = events.end();
    while (position != events.begin() && (*(position - 1))->Time > time)
        --position;
    return events.insert(position, MakeEvent(time, 0))->get();
}

void TMidiData::AddNote(int track, std::int32_t time, std::int32_t duration, int channel, int note,
                        int velocity)
{
    TMidiEvent* event = InsertEvent(track, time);
    event->Duration = duration;
    event->Data = {ChannelStatus(0x90, channel), static_cast<std::uint8_t>(FoldNoteIntoRange(note)),
                   DataByte(velocity)};
}

void TMidiData::AddTempo(int track, std::int32_t time, int bpm)
{
    const auto micros = static_cast<std::uint32_t>(60000000 / std::clamp(bpm, 4, 60000000));
    TMidiEvent* event = InsertEvent(track, time);
    event->Data = {0xFF, 0x51, static_cast<std::uint8_t>(micros >> 16),
                   static_cast<std::uint8_t>(micros >> 8), static_cast<std::uint8_t>(micros)};
}

void TMidiData::AddControlChange(int track, std::int32_t time, int channel, int controller,
                                 int value)
{
    TMidiEvent* event = InsertEvent(track, time);
    event->Data = {ChannelStatus(0xB0, channel), DataByte(controller), DataByte(value)};
}

void TMidiData::AddProgramChange(int track, std::int32_t time, int channel, int program)
{
    TMidiEvent* event = InsertEvent(track, time);
    event->Data = {ChannelStatus(0xC0, channel),
                   static_cast<std::uint8_t>(std::clamp(program, 1, 128) - 1)};
}

void TMidiData::AddGMSystemOn(int track, std::int32_t time)
{
    TMidiEvent* event = InsertEvent(track, time);
    event->Data = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
}

std::string TMidiData::SaveToString() const
{
    // Most events take four or five bytes, a note twice that with its note-off.
    std::size_t estimate = 14 + 8;
    std::size_t largest = 0;
    for (const auto& track : Tracks)
    {
        estimate += 12 + static_cast<std::size_t>(track->Count()) * 10;
        largest = std::max(largest, static_cast<std::size_t>(track->Count()));
    }
    std::string out;
    out.reserve(estimate);

    // MThd, length 6, then format, track count and division, each 16 bits big-endian.
    out.append("MThd", 4);
    PutUInt32(out, 6);
    PutUInt16(out, 1);
    PutUInt16(out, static_cast<std::uint32_t>(std::max(TrackCount(), 1)));
    PutUInt16(out, static_cast<std::uint32_t>(Division));

    if (Tracks.Count() == 0)
    {
        out.append("MTrk", 4);
        PutUInt32(out, 0);
        return out;
    }

    std::vector<TNoteOff> noteOffs;
    noteOffs.reserve(largest);
    for (const auto& track : Tracks)
    {
        out.append("MTrk", 4);
        const std::size_t lengthAt = out.size();
        PutUInt32(out, 0);
        PutTrack(out, *track, noteOffs);
        const std::size_t length = out.size() - lengthAt - 4;
        PutUInt32BE(reinterpret_cast<std::uint8_t*>(&out[lengthAt]),
                    static_cast<std::uint32_t>(length));
    }
    return out;
}

void TMidiData::SaveToFile(const std::string& fileName) const
{
    WriteFileAtomically(fileName, SaveToString());
}

void TMidiData::LoadFromString(std::string_view bytes)
{
    Tracks.Clear();
    TByteReader file(bytes);

    // MThd | 00 00 00 06 | format | tracks | division, all big-endian.
    if (file.Take(4) != "MThd" || file.UInt32() != 6)
        throw EInvalidMidiFile();
    Format = static_cast<std::int32_t>(file.UInt16());
    FileTrackCount = static_cast<std::int32_t>(file.UInt16());
    FileDivision = static_cast<std::int32_t>(file.UInt16());
    if (Format != 0 && Format != 1)
        throw EInvalidMidiFile();
    // Division 0 would divide by zero when times are rescaled.
    if (FileDivision == 0)
        throw EInvalidMidiFile();

    std::vector<std::string_view> chunks;
    chunks.reserve(static_cast<std::size_t>(FileTrackCount));
    for (int i = 0; i < FileTrackCount; ++i)
    {
        if (file.Take(4) != "MTrk")
            throw EInvalidMidiFile();
        const std::uint32_t length = file.UInt32();
        chunks.push_back(file.Take(length));
    }

    const bool singleTrack = Format == 0;
    SetTrackCount(singleTrack ? 16 : FileTrackCount);

    // Format 0 matches notes per channel list, format 1 per track (one table, reused).
    std::vector<TOpenNotes> openNotes(singleTrack ? 16 : 1);
    const std::int64_t division = Division;
    for (int t = 0; t < FileTrackCount; ++t)
    {
        TByteReader chunk(chunks[static_cast<std::size_t>(t)]);
        if (!singleTrack)
        {
            openNotes[0].Clear();
            // A note is two events in the file and one in the list; running status can
            // bring an event down to three bytes.
            Tracks.Get(t)->Items().reserve(chunk.Remaining() / 6);
        }

        std::uint8_t runningStatus = 0;
        std::int64_t fileTime = 0;
        bool endOfTrack = false;
        while (!endOfTrack)
        {
            fileTime += chunk.VarLen();
            if (fileTime > MaxTime)
                throw EInvalidMidiFile();
            const std::int64_t scaled = fileTime * division / FileDivision;
            if (scaled > MaxTime)
                throw EInvalidMidiFile();
            const auto time = static_cast<std::int32_t>(scaled);

            const std::uint8_t b = chunk.Byte();
            if (b <= 0xEF)
            {
                std::uint8_t status;
                std::uint8_t first;
                if (b & 0x80)
                {
                    status = b;
                    runningStatus = b;
                    first = chunk.Byte();
                }
                else
                {
                    if (runningStatus == 0)
                        throw EInvalidMidiFile();
                    status = runningStatus;
                    first = b;
                }
                const bool oneDataByte = status >= 0xC0 && status <= 0xDF;
                const std::uint8_t second = oneDataByte ? 0 : chunk.Byte();
                // A data byte has bit 7 clear; a status byte in its place is a broken file,
                // and kept it would reach every file we write from this pattern.
                if ((first & 0x80) != 0 || (second & 0x80) != 0)
                    throw EInvalidMidiFile();

                const int list = singleTrack ? (status & 0x0F) : t;
                TOpenNotes& open = openNotes[singleTrack ? list : 0];
                const std::uint8_t kind = status & 0xF0;
                const int key = first & 0x7F;
                if (kind == 0x80 || (kind == 0x90 && second == 0))
                {
                    if (TMidiEvent* on = open.Pop(key))
                        on->Duration = time - on->Time;
                    continue;
                }

                auto event = MakeEvent(time, kind == 0x90 ? -1 : 0);
                if (oneDataByte)
                    event->Data = {status, first};
                else
                    event->Data = {status, first, second};
                TMidiEvent* stored = event.get();
                Tracks.Get(list)->Items().push_back(std::move(event));
                if (kind == 0x90)
                    open.Push(key, stored);
            }
            else
            {
                std::uint8_t type = 0;
                if (b == 0xFF)
                    type = chunk.Byte();
                const std::string_view body = chunk.Block();
                if (b == 0xFF && type == 0x2F)
                {
                    endOfTrack = true;
                    continue;
                }
                auto event = MakeEvent(time, 0);
                event->Data.reserve(body.size() + 2);
                event->Data.push_back(b);
                if (b == 0xFF)
                    event->Data.push_back(type);
                event->Data.insert(event->Data.end(), body.begin(), body.end());
                Tracks.Get(singleTrack ? 0 : t)->Items().push_back(std::move(event));
            }
        }
        // A format 0 file is one track; any further chunks are not part of it.
        if (singleTrack)
            break;
    }
}

void TMidiData::LoadFromFile(const std::string& fileName)
{
    LoadFromString(ReadWholeFile(fileName));
}
