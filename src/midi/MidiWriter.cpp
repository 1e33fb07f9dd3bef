#include "base/Bytes.h"
#include "base/FileIO.h"
#include "midi/MidiData.h"

#include <algorithm>

// The Standard MIDI File writer: format 1, note-offs made from the notes' durations.

namespace
{
// Four 7-bit groups: the most a variable-length number may carry in a file.
constexpr std::int64_t MaxVarLen = (std::int64_t{1} << 28) - 1;

inline void PutVarLen(std::string& out, std::int64_t value)
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
} // namespace

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
