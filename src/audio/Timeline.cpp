#include "audio/Timeline.h"

#include "midi/MidiData.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

namespace
{
constexpr double DefaultMicrosPerQuarter = 500000; // 120 beats a minute

bool IsTempo(const TMidiEvent& event)
{
    return event.DataSize() == 5 && event.Data[0] == 0xFF && event.Data[1] == 0x51;
}

/// Where a message goes among those of its tick: releases of notes struck before first,
/// then everything in the order of the sequence, then the releases of notes of no length.
enum TOrder
{
    Release = 0,
    InOrder = 1,
    LateRelease = 2
};

struct TPending
{
    std::int32_t Tick;
    TOrder Order;
    std::size_t Index;
    std::vector<std::uint8_t> Data;
};
} // namespace

TTimeline::TTimeline(const TMidiData& midi, double sampleRate, std::int32_t fromTick,
                     std::int32_t toTick)
    : FFromTick(std::max(fromTick, 0)), FSampleRate(sampleRate > 0 ? sampleRate : 44100)
{
    ReadTempo(midi);
    const std::int32_t end =
        toTick >= 0 ? std::max(toTick, FFromTick) : std::numeric_limits<std::int32_t>::max();
    std::vector<TPending> pending;
    std::size_t index = 0;
    std::int32_t last = FFromTick;
    for (int t = 0; t < midi.TrackCount(); ++t)
        for (const auto& event : midi.GetTrack(t)->Items())
        {
            ++index;
            const std::int32_t time = event->Time;
            if (event->Data.empty() || event->Data[0] == 0xFF || time < FFromTick || time >= end)
                continue;
            pending.push_back({time, InOrder, index, event->Data});
            last = std::max(last, time);
            // A note-on of velocity 0 is a release already; the others get theirs, a note
            // never released only where a stretch ends.
            if ((event->Status() & 0xF0) != 0x90 || event->DataSize() < 3 || event->Data[2] == 0 ||
                (event->Duration < 0 && toTick < 0))
                continue;
            const std::int64_t off =
                event->Duration < 0
                    ? end
                    : std::min<std::int64_t>(std::int64_t{time} + event->Duration, end);
            const auto offTick = static_cast<std::int32_t>(off);
            pending.push_back(
                {offTick,
                 offTick == time ? LateRelease : Release,
                 index,
                 {static_cast<std::uint8_t>(0x80 | (event->Status() & 0x0F)), event->Data[1], 0}});
            last = std::max(last, offTick);
        }
    std::stable_sort(
        pending.begin(), pending.end(),
        [](const TPending& a, const TPending& b)
        { return std::tie(a.Tick, a.Order, a.Index) < std::tie(b.Tick, b.Order, b.Index); });
    FToTick = toTick >= 0 ? end : last;
    FMessages.reserve(pending.size());
    for (TPending& p : pending)
        FMessages.push_back({FrameAt(p.Tick), p.Tick, std::move(p.Data)});
    FFrames = FrameAt(FToTick);
}

void TTimeline::ReadTempo(const TMidiData& midi)
{
    std::vector<std::pair<std::int32_t, std::uint32_t>> tempos;
    for (int t = 0; t < midi.TrackCount(); ++t)
        for (const auto& event : midi.GetTrack(t)->Items())
            if (IsTempo(*event))
                tempos.emplace_back(event->Time, (std::uint32_t{event->Data[2]} << 16) |
                                                     (std::uint32_t{event->Data[3]} << 8) |
                                                     event->Data[4]);
    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    const double division = midi.Division > 0 ? midi.Division : ProgramDivision;
    // A tempo of 0 microseconds a beat, which only a broken file holds, counts as 1.
    const auto perTick = [&](double micros)
    { return std::max(micros, 1.0) / 1e6 / division * FSampleRate; };
    // Frames counted from tick 0 first, then shifted so that FFromTick is frame 0.
    FTempo.push_back({0, 0, perTick(DefaultMicrosPerQuarter)});
    for (const auto& [tick, micros] : tempos)
    {
        const TTempoPoint& back = FTempo.back();
        const double frame = back.Frame + (tick - back.Tick) * back.FramesPerTick;
        if (tick == back.Tick)
            FTempo.back().FramesPerTick = perTick(micros);
        else
            FTempo.push_back({tick, frame, perTick(micros)});
    }
    const double origin = ExactFrameAt(FFromTick);
    for (TTempoPoint& point : FTempo)
        point.Frame -= origin;
}

double TTimeline::ExactFrameAt(std::int32_t tick) const
{
    auto point = std::upper_bound(FTempo.begin(), FTempo.end(), tick,
                                  [](std::int32_t t, const TTempoPoint& p) { return t < p.Tick; });
    if (point != FTempo.begin())
        --point;
    return point->Frame + (tick - point->Tick) * point->FramesPerTick;
}

std::uint64_t TTimeline::FrameAt(std::int32_t tick) const
{
    const double frame = ExactFrameAt(std::clamp(tick, FFromTick, std::max(FToTick, FFromTick)));
    return FLead + static_cast<std::uint64_t>(std::llround(std::max(frame, 0.0)));
}

void TTimeline::AddClicks(bool countIn, bool metronome, std::int32_t beatTicks)
{
    constexpr int BeatsPerBar = 4;
    constexpr std::uint8_t WoodBlock = 115;
    constexpr std::uint8_t Accent = 84;
    constexpr std::uint8_t Beat = 77;
    if (beatTicks <= 0 || (!countIn && !metronome))
        return;
    const auto status = [](std::uint8_t kind)
    { return static_cast<std::uint8_t>(kind | ClickChannel); };
    const double beatFrames = ExactFrameAt(FFromTick + beatTicks) - ExactFrameAt(FFromTick);
    const auto lead =
        countIn ? static_cast<std::uint64_t>(std::llround(beatFrames * BeatsPerBar)) : 0;
    for (TTimedMessage& message : FMessages)
        message.Frame += lead;
    FLead += lead;
    FFrames += lead;
    std::vector<TTimedMessage> clicks = {
        {0, FFromTick, {status(0xC0), WoodBlock}},
        {0, FFromTick, {status(0xB0), 7, 110}},
    };
    const auto click = [&](std::uint64_t frame, bool first)
    {
        // A click lasts a sixteenth of a beat, the next one's start at most.
        const auto length = static_cast<std::uint64_t>(std::max(beatFrames / 16, 1.0));
        clicks.push_back(
            {frame,
             FFromTick,
             {status(0x90), first ? Accent : Beat, first ? std::uint8_t{127} : std::uint8_t{96}}});
        clicks.push_back({frame + length, FFromTick, {status(0x80), first ? Accent : Beat, 0}});
    };
    for (int beat = 0; countIn && beat < BeatsPerBar; ++beat)
        click(static_cast<std::uint64_t>(
                  std::llround(beat * static_cast<double>(lead) / BeatsPerBar)),
              beat == 0);
    if (metronome)
        for (std::int32_t tick = (FFromTick + beatTicks - 1) / beatTicks * beatTicks;
             tick < FToTick; tick += beatTicks)
            click(FrameAt(tick), tick / beatTicks % BeatsPerBar == 0);
    FMessages.insert(FMessages.end(), clicks.begin(), clicks.end());
    // The song's messages before the clicks of their frame.
    std::stable_sort(FMessages.begin(), FMessages.end(),
                     [](const TTimedMessage& a, const TTimedMessage& b)
                     { return a.Frame < b.Frame; });
    FFrames = std::max(FFrames, FMessages.empty() ? 0 : FMessages.back().Frame);
}

std::int32_t TTimeline::TickAt(std::uint64_t frame) const
{
    frame = frame > FLead ? frame - FLead : 0;
    const double at = static_cast<double>(std::min(frame, FFrames - FLead));
    auto point = std::upper_bound(FTempo.begin(), FTempo.end(), at,
                                  [](double f, const TTempoPoint& p) { return f < p.Frame; });
    if (point != FTempo.begin())
        --point;
    const double tick = point->Tick + (at - point->Frame) / point->FramesPerTick;
    // Clamped before the conversion: a tempo of a microsecond a beat makes ticks by the
    // million a frame.
    return static_cast<std::int32_t>(std::clamp(std::floor(tick + 1e-9),
                                                static_cast<double>(FFromTick),
                                                static_cast<double>(std::max(FToTick, FFromTick))));
}
