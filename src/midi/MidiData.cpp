#include "midi/MidiData.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <utility>

namespace
{
std::uint8_t DataByte(int value)
{
    return static_cast<std::uint8_t>(std::clamp(value, 0, 127));
}

std::uint8_t ChannelStatus(int kind, int channel)
{
    return static_cast<std::uint8_t>(kind | (channel & 0x0F));
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
    return events.insert(position, std::make_unique<TMidiEvent>(time, 0))->get();
}

void TMidiData::InsertEvents(int track, std::vector<std::unique_ptr<TMidiEvent>> events)
{
    if (events.empty())
        return;
    if (track >= TrackCount())
        SetTrackCount(track + 1);
    const auto byTime = [](const std::unique_ptr<TMidiEvent>& a,
                           const std::unique_ptr<TMidiEvent>& b) { return a->Time < b->Time; };
    if (!std::is_sorted(events.begin(), events.end(), byTime))
        std::stable_sort(events.begin(), events.end(), byTime);
    // Events of the track after the earliest new one are merged with the new ones, the old
    // first among equal ticks; usually there are none and the new events are appended.
    auto& items = GetTrack(track)->Items();
    const auto later = std::upper_bound(items.begin(), items.end(), events.front(), byTime);
    if (later == items.end())
    {
        items.insert(items.end(), std::make_move_iterator(events.begin()),
                     std::make_move_iterator(events.end()));
        return;
    }
    std::vector<std::unique_ptr<TMidiEvent>> tail(std::make_move_iterator(later),
                                                  std::make_move_iterator(items.end()));
    items.erase(later, items.end());
    std::merge(std::make_move_iterator(tail.begin()), std::make_move_iterator(tail.end()),
               std::make_move_iterator(events.begin()), std::make_move_iterator(events.end()),
               std::back_inserter(items), byTime);
}

std::unique_ptr<TMidiEvent> TMidiData::NoteEvent(std::int32_t time, std::int32_t duration,
                                                 int channel, int note, int velocity)
{
    auto event = std::make_unique<TMidiEvent>(time, duration);
    event->Data = {ChannelStatus(0x90, channel), static_cast<std::uint8_t>(FoldNoteIntoRange(note)),
                   DataByte(velocity)};
    return event;
}

void TMidiData::AddNote(int track, std::int32_t time, std::int32_t duration, int channel, int note,
                        int velocity)
{
    TMidiEvent* event = InsertEvent(track, time);
    *event = std::move(*NoteEvent(time, duration, channel, note, velocity));
}

std::uint32_t MicrosPerQuarter(int bpm)
{
    return static_cast<std::uint32_t>(60000000 / std::clamp(bpm, 4, 60000000));
}

void TMidiData::AddTempo(int track, std::int32_t time, int bpm)
{
    const std::uint32_t micros = MicrosPerQuarter(bpm);
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
