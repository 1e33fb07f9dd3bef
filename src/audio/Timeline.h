#pragma once

#include <cstdint>
#include <vector>

class TMidiData;

/// One MIDI message due at a frame of the output; note-ons and note-offs are separate here.
struct TTimedMessage
{
    std::uint64_t Frame = 0;
    std::int32_t Tick = 0;
    /// Status byte first; sysex as F0 ... F7.
    std::vector<std::uint8_t> Data;
};

/// The channel of the clicks a player adds (count-in and metronome): one the program's songs
/// leave free, so that muting the drums leaves the clicks.
constexpr int ClickChannel = 15;

/// A MIDI sequence laid out on the frames of an audio output, for playing it block by block.
/// Frame 0 is the tick the timeline starts at. Within one tick, the note-offs of earlier notes
/// come first, so a note struck again on that tick is not cut by the end of the one before.
class TTimeline
{
public:
    TTimeline() = default;
    /// The messages of midi from fromTick on, at sampleRate frames a second, through its tempo
    /// events (120 beats a minute before the first); tempo and other meta events are not
    /// messages. With toTick >= 0 the timeline ends exactly there: later events are left out
    /// and notes still sounding are released at toTick. Otherwise it ends with its last
    /// message (the last note-off included).
    TTimeline(const TMidiData& midi, double sampleRate, std::int32_t fromTick = 0,
              std::int32_t toTick = -1);

    const std::vector<TTimedMessage>& Messages() const { return FMessages; }
    std::uint64_t Frames() const { return FFrames; }
    std::int32_t FromTick() const { return FFromTick; }
    std::int32_t ToTick() const { return FToTick; }
    double SampleRate() const { return FSampleRate; }

    /// Adds clicks on ClickChannel (a wood block, higher on each bar's first beat): with
    /// metronome one on every beat from FromTick() to ToTick(), bars counted from tick 0;
    /// with countIn a bar of four before the stretch, by which every message comes later and
    /// the timeline grows (the ticks of that bar read as FromTick()). beatTicks: the ticks of
    /// a beat (a quarter note).
    void AddClicks(bool countIn, bool metronome, std::int32_t beatTicks);
    /// Frames of count-in before the stretch's first tick.
    std::uint64_t LeadFrames() const { return FLead; }

    /// The tick heard at frame (clamped to the timeline); FromTick() at frame 0.
    std::int32_t TickAt(std::uint64_t frame) const;
    /// The frame of tick (clamped to the timeline), rounded to the nearest.
    std::uint64_t FrameAt(std::int32_t tick) const;

private:
    struct TTempoPoint
    {
        std::int32_t Tick;
        double Frame;         ///< from FromTick
        double FramesPerTick; ///< from this tick on
    };
    void ReadTempo(const TMidiData& midi);
    double ExactFrameAt(std::int32_t tick) const;

    std::vector<TTimedMessage> FMessages;
    std::vector<TTempoPoint> FTempo;
    std::uint64_t FFrames = 0;
    std::uint64_t FLead = 0;
    std::int32_t FFromTick = 0;
    std::int32_t FToTick = 0;
    double FSampleRate = 44100;
};
