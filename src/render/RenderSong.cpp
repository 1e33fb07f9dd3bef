#include "render/RenderSong.h"

#include "base/Exceptions.h"
#include "base/Text.h"
#include "midi/ArrangeList.h"
#include "midi/MidiData.h"
#include "model/Munit.h"
#include "model/Muprop.h"
#include "model/MusicProject.h"
#include "render/PatternCache.h"
#include "render/RenderUnit.h"
#include "render/TrackNames.h"

#include <algorithm>

namespace
{
constexpr int LeadInTempo = 300;
/// Controller 111 with value 0 on the lead-in's last tick marks the end of that bar.
constexpr int LeadInEndController = 111;
/// "Reset all controllers": pitch bend, pressure, expression, modulation and the pedals back
/// at rest; volume, pan and the effect sends (the properties') stay.
constexpr int ResetAllControllers = 121;

/// Where a new property set changes a part's pattern, a pattern before it that bent, pressed
/// or pedalled its channel must not go on doing so under the new one: that channel's
/// controllers are reset. Patterns that send none of that render as they always have.
void ResetLeftOverControllers(TMidiData& midi, std::int32_t tick, const TMuprop& before,
                              const TMuprop& now, TPatternCache& patterns)
{
    for (int track = MelodyTrack + 1; track < TrackCount; ++track)
    {
        const std::string& was = before.GetPatternName(track - 1);
        if (SameTextIgnoringCase(was, now.GetPatternName(track - 1)))
            continue;
        const TMidiData* pattern = patterns.Find(PartLibrary(track), was);
        if (pattern != nullptr && ChangesChannelState(*pattern))
            midi.AddControlChange(track, tick, TrackChannel(track), ResetAllControllers, 0);
    }
}
} // namespace

std::int32_t AddLeadIn(TMidiData& midi)
{
    midi.AddGMSystemOn(0, 0);
    midi.AddTempo(0, 0, LeadInTempo);
    return midi.BarLength();
}

void RenderSong(const TMusicProject& project, TMidiData& midi, int repeatCount, bool includeReset)
{
    TPatternCache patterns;
    RenderSong(project, midi, repeatCount, includeReset, patterns);
}

void RenderSong(const TMusicProject& project, TMidiData& midi, int repeatCount, bool includeReset,
                TPatternCache& patterns, int fromEntry, std::vector<TSongSpan>* layout)
{
    midi.SetTrackCount(TrackCount);
    const std::int32_t barLength = midi.BarLength();
    std::int32_t tick = 0;
    const TMuprop* previous = nullptr;
    if (includeReset)
    {
        tick = AddLeadIn(midi);
        midi.AddControlChange(0, barLength - 1, 0, LeadInEndController, 0);
    }

    for (int repeat = 0; repeat < repeatCount; ++repeat)
    {
        for (int i = 0; i < project.Count(); ++i)
        {
            if (repeat == 0 && i < fromEntry)
            {
                // Skipped, but its settings hold for what follows.
                if (const TMuprop* property = project.PropertyAt(i))
                    previous = property;
                continue;
            }
            if (repeat == 0 && i == fromEntry && i > 0 && previous != nullptr)
                previous->EmitTrackSetup(midi, tick, nullptr);
            if (const TMuprop* property = project.PropertyAt(i))
            {
                if (previous != nullptr && !(repeat == 0 && i == fromEntry))
                    ResetLeftOverControllers(midi, tick, *previous, *property, patterns);
                property->EmitTrackSetup(midi, tick, previous);
                previous = property;
            }
            else if (const TMunit* unit = project.UnitAt(i))
            {
                // The properties carry over from one repetition to the next: a single
                // property set at the top is sent once.
                RenderToMidi(*unit, previous, midi, tick, patterns);
                if (layout != nullptr)
                    layout->push_back({i, tick, tick + barLength * unit->BarCount});
                tick += barLength * unit->BarCount;
            }
        }
    }
}

double SongSeconds(const TMusicProject& project, int repeatCount, bool includeReset)
{
    // Whole microseconds per quarter note, as the tempo events hold them.
    std::uint64_t micros =
        includeReset ? std::uint64_t{QuarterNotesPerBar} * MicrosPerQuarter(LeadInTempo) : 0;
    std::uint64_t perRepeat = 0;
    // A song always starts with its property set; before one, MIDI's own 120.
    std::uint32_t quarter = MicrosPerQuarter(120);
    for (int i = 0; i < project.Count(); ++i)
    {
        if (const TMuprop* property = project.PropertyAt(i))
            quarter = MicrosPerQuarter(property->Tempo);
        else if (const TMunit* unit = project.UnitAt(i))
            perRepeat += std::uint64_t{QuarterNotesPerBar} *
                         static_cast<std::uint64_t>(std::max(unit->BarCount, 0)) * quarter;
    }
    micros += perRepeat * static_cast<std::uint64_t>(std::max(repeatCount, 0));
    return static_cast<double>(micros) / 1e6;
}

void RenderUnitPlayback(const TMunit& unit, TMidiData& midi, bool includeReset)
{
    if (unit.Property == nullptr)
        throw ELyravaneError(Core::Tr("A music unit without properties cannot be rendered"));
    if (midi.TrackCount() < TrackCount)
        midi.SetTrackCount(TrackCount);
    // Unlike the song, no controller 111 closes the lead-in here.
    const std::int32_t tick = includeReset ? AddLeadIn(midi) : 0;
    unit.Property->EmitTrackSetup(midi, tick, nullptr);
    RenderToMidi(unit, midi, tick);
}

TSongSpan UnitPlaybackSpan(const TMunit& unit, int entry, bool includeReset)
{
    const std::int32_t bar = BarTicks;
    const std::int32_t from = includeReset ? bar : 0;
    return {entry, from, from + bar * unit.BarCount};
}

std::vector<TMissingPattern> MissingPatterns(const TMusicProject& song)
{
    std::vector<TMissingPattern> missing;
    for (int entry = 0; entry < song.Count(); ++entry)
    {
        const TMuprop* property = song.PropertyAt(entry);
        if (property == nullptr)
            continue;
        for (int track = MelodyTrack + 1; track < TrackCount; ++track)
        {
            const std::string& name = property->GetPatternName(track - 1);
            if (name.empty() || PartLibrary(track).IndexOf(name) >= 0)
                continue;
            const bool reported = std::any_of(missing.begin(), missing.end(),
                                              [&](const TMissingPattern& m)
                                              { return m.Track == track && m.Name == name; });
            if (!reported)
                missing.push_back({entry, track, name});
        }
    }
    return missing;
}

std::string MissingPatternText(const TMissingPattern& missing)
{
    return "the pattern \"" + missing.Name + "\" of " + PartName(missing.Track) + " (entry " +
           std::to_string(missing.Entry) + ") is in no pattern library; that part is silent";
}
