#include "render/RenderUnit.h"

#include "base/Exceptions.h"
#include "midi/ArrangeList.h"
#include "midi/MidiData.h"
#include "model/Munit.h"
#include "model/Muprop.h"
#include "model/MusicFunctions.h"
#include "render/PatternCache.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace
{
constexpr int MelodyVelocity = 100;
constexpr int SnareKey = 38;
constexpr int AltSnareKey = 40;

/// Controllers the unit's properties own (bank select, volume, pan, bank select LSB, reverb,
/// chorus): a pattern that sets them would fight the track set-up.
bool IsOwnedController(int controller)
{
    return controller == 0 || controller == 7 || controller == 10 || controller == 32 ||
           controller == 91 || controller == 93;
}

/// The channel messages a pattern may send besides its notes and program changes, whose
/// effect outlasts them.
bool ChangesState(const TMidiEvent& e)
{
    const int kind = e.Status() & 0xF0;
    if (kind == 0xB0)
        return e.DataSize() >= 2 && !IsOwnedController(e.Data[1]);
    return kind == 0xA0 || kind == 0xD0 || kind == 0xE0;
}

/// A note-on that sounds. A note the pattern never closed (-1) or closed at once (0) has
/// nothing to play and is left out.
bool IsPlayableNote(const TMidiEvent& event)
{
    return (event.Status() & 0xF0) == 0x90 && event.DataSize() >= 3 && event.Data[2] > 0 &&
           event.Duration > 0;
}

/// The melody, one note per onset, sounding 15/16 of its steps so repeated notes detach;
/// with the harmony voice a second note under it, in the chord of the step's beat.
void RenderMelody(const TMunit& unit, const TMuprop& property, TMidiData& midi,
                  std::int32_t startTick)
{
    const std::int32_t barLength = midi.BarLength();
    const std::int32_t stepLength = midi.Division / std::max(1, unit.StepsPerBeat);
    for (int b = 0; b < unit.BarCount; ++b)
    {
        for (int s = 0; s < unit.StepsPerBar(); ++s)
        {
            if (unit.GetRhythm(b, s) != RhythmOnset)
                continue;
            const std::int32_t time = b * barLength + startTick + s * stepLength;
            const std::int32_t length = unit.NoteLength(b, s) * stepLength * 15 / 16;
            const int pitch = unit.GetMelody(b, s);
            midi.AddNote(MelodyTrack, time, length, 0, MelodyNote(property, pitch), MelodyVelocity);
            if (unit.HarmonyVoice)
            {
                const int chord = unit.GetChord(b, s / std::max(1, unit.StepsPerBeat));
                midi.AddNote(MelodyTrack, time, length, 0,
                             MelodyNote(property, HarmonyPitch(chord, property.Scale, pitch)),
                             MelodyVelocity);
            }
        }
    }
}
/// The bar of the pattern that plays unit bar `bar`. Backing patterns alternate two bars (two
/// more for seventh chords); bass and drums play their four bars, the drums' fourth being a
/// fill heard only in a Fill unit.
std::int64_t PatternBarIndex(int channel, int bar, bool use7th, bool fill)
{
    if (channel == TrackChannel(BackingTrack1) || channel == TrackChannel(BackingTrack2))
        return bar % 2 + (use7th ? 2 : 0);
    if (channel == DrumChannel && bar == 3 && !fill)
        return 2;
    return bar % 4;
}

/// Where a note of the pattern sounds in the unit: its start and length in output ticks and
/// the last beat of the bar it reaches.
struct TNotePlace
{
    std::int64_t Start = 0;
    std::int64_t Length = 0;
    int LastBeat = 0;
};

/// One unit bar of one accompaniment part, beat by beat. Ticks: PatternStart is the start
/// of the pattern bar in the pattern, UnitStart that of the unit bar in the output.
struct TPatternBarRenderer
{
    const TMunit& Unit;
    TMidiData& Midi;
    const TMidiData& Pattern;
    int Track;
    int Bar;
    int Channel;
    int Key;
    int Scale;
    bool AltSnare;
    std::int64_t Beat = 0;
    std::int64_t BarLength = 0;
    std::int64_t PatternStart = 0;
    std::int64_t UnitStart = 0;
    /// The bar's events in the order they are made, put into the track at the end at once.
    std::vector<std::unique_ptr<TMidiEvent>> Events{};

    int Chord(int beat) const { return static_cast<int>(Unit.GetChord(Bar, beat)); }
    int Beats() const { return Unit.BeatsPerBar; }

    void RenderBeat(int i);
    /// A note of an earlier beat still sounding into beat i's new chord: struck again there.
    bool PlaceCarriedNote(const TMidiEvent& e, int i, TNotePlace& place) const;
    /// An event of beat i: other channel messages are copied onto the part's channel (not
    /// note-offs, program changes or the controllers the properties own); a note is placed.
    bool PlaceOwnEvent(const TMidiEvent& e, TNotePlace& place);
    int PartPitch(int pitch, int i) const;
};

void TPatternBarRenderer::RenderBeat(int i)
{
    const std::int64_t beatStart = PatternStart + Beat * i;
    const bool chordChanges = Chord(i) != Chord(i - 1);
    // Notes of earlier beats matter only where the chord changes; later beats are handled
    // in their own turn.
    const std::int64_t from = chordChanges ? PatternStart : beatStart;
    const std::int64_t to = std::min(PatternStart + BarLength, beatStart + Beat);
    for (const auto& patternTrack : Pattern.Tracks)
    {
        const auto& events = patternTrack->Items();
        auto it = std::partition_point(events.begin(), events.end(),
                                       [from](const auto& e) { return e->Time < from; });
        for (; it != events.end() && (*it)->Time < to; ++it)
        {
            const TMidiEvent& e = **it;
            const int status = e.Status();
            if (status < 0x80 || status > 0xEF)
                continue;
            TNotePlace place;
            if (e.Time < beatStart ? !PlaceCarriedNote(e, i, place) : !PlaceOwnEvent(e, place))
                continue;

            // A note ends where the next chord begins; that chord strikes it again.
            for (int k = i + 1; k <= place.LastBeat; ++k)
            {
                if (Chord(k) != Chord(k - 1))
                {
                    place.Length = UnitStart + Beat * k - place.Start;
                    break;
                }
            }
            Events.push_back(TMidiData::NoteEvent(static_cast<std::int32_t>(place.Start),
                                                  static_cast<std::int32_t>(place.Length), Channel,
                                                  PartPitch(e.Data[1], i), e.Data[2]));
        }
    }
}

bool TPatternBarRenderer::PlaceCarriedNote(const TMidiEvent& e, int i, TNotePlace& place) const
{
    if (!IsPlayableNote(e))
        return false;
    const std::int64_t rest = e.Time - PatternStart + e.Duration - Beat * i;
    if (rest <= 0)
        return false;
    place.Start = UnitStart + Beat * i;
    place.Length = rest;
    place.LastBeat = static_cast<int>(std::min<std::int64_t>(Beats() - 1, (rest - 1) / Beat + i));
    return true;
}

bool TPatternBarRenderer::PlaceOwnEvent(const TMidiEvent& e, TNotePlace& place)
{
    const int kind = e.Status() & 0xF0;
    if (kind == 0x80 || kind == 0xC0)
        return false;
    if (kind == 0xB0 && e.DataSize() >= 2 && IsOwnedController(e.Data[1]))
        return false;
    if (kind != 0x90)
    {
        auto copy = std::make_unique<TMidiEvent>(
            static_cast<std::int32_t>(UnitStart + e.Time - PatternStart), 0);
        copy->Data = e.Data;
        copy->Data[0] = static_cast<std::uint8_t>(kind | (Channel & 0x0F));
        Events.push_back(std::move(copy));
        return false;
    }
    if (!IsPlayableNote(e))
        return false;
    place.Start = UnitStart + e.Time - PatternStart;
    place.Length = e.Duration;
    place.LastBeat = static_cast<int>(
        std::min<std::int64_t>(Beats() - 1, (e.Time - PatternStart + place.Length - 1) / Beat));
    return true;
}

/// Drums keep their keys (the snare perhaps swapped); other parts move onto beat i's chord
/// in the key.
int TPatternBarRenderer::PartPitch(int pitch, int i) const
{
    if (Channel == DrumChannel)
        return AltSnare && pitch == SnareKey ? AltSnareKey : pitch;
    return FoldNoteIntoRange(std::int64_t{Key} + PatternNoteForChord(Chord(i), Scale, pitch));
}
} // namespace

int MelodyNote(const TMuprop& property, int pitch)
{
    return FoldNoteIntoRange(std::int64_t{60} + property.Key + (property.OctaveUp ? 12 : 0) +
                             pitch);
}

bool ChangesChannelState(const TMidiData& pattern)
{
    return std::any_of(pattern.Tracks.begin(), pattern.Tracks.end(),
                       [](const auto& track)
                       {
                           const auto& events = track->Items();
                           return std::any_of(events.begin(), events.end(),
                                              [](const auto& e) { return ChangesState(*e); });
                       });
}

const TArrangeList& PartLibrary(int track)
{
    if (track == BassTrack)
        return BassPatterns;
    if (track == DrumTrack)
        return DrumPatterns;
    return BackPatterns;
}

void RenderToMidi(const TMunit& unit, const TMuprop* governing, TMidiData& midi,
                  std::int32_t startTick, TPatternCache& patterns)
{
    if (governing == nullptr)
        throw ELyravaneError(Core::Tr("A music unit without properties cannot be rendered"));
    const TMuprop& property = *governing;
    if (midi.TrackCount() < TrackCount)
        midi.SetTrackCount(TrackCount);

    RenderMelody(unit, property, midi, startTick);

    const std::int32_t barLength = midi.BarLength();
    // The accompaniment tracks follow the melody track, one per pattern slot.
    for (int track = MelodyTrack + 1; track < TrackCount; ++track)
    {
        const TMidiData* pattern =
            patterns.Find(PartLibrary(track), property.GetPatternName(track - 1));
        if (pattern == nullptr)
            continue;
        for (int b = 0; b < unit.BarCount; ++b)
            RenderPatternBar(unit, midi, track, b, startTick + barLength * b, TrackChannel(track),
                             *pattern, property.Key, property.Scale, property.Use7th != 0,
                             property.AltSnare != 0);
    }
}

void RenderToMidi(const TMunit& unit, TMidiData& midi, std::int32_t startTick,
                  TPatternCache& patterns)
{
    RenderToMidi(unit, unit.Property, midi, startTick, patterns);
}

void RenderToMidi(const TMunit& unit, TMidiData& midi, std::int32_t startTick)
{
    TPatternCache patterns;
    RenderToMidi(unit, unit.Property, midi, startTick, patterns);
}

void RenderPatternBar(const TMunit& unit, TMidiData& midi, int track, int bar,
                      std::int32_t barStartTick, int channel, const TMidiData& pattern, int key,
                      int scale, bool use7th, bool altSnare)
{
    if (bar < 0)
        return;
    TPatternBarRenderer renderer{unit, midi, pattern, track, bar, channel, key, scale, altSnare};
    renderer.Beat = midi.Division;
    renderer.BarLength = QuarterNotesPerBar * renderer.Beat;
    renderer.PatternStart =
        PatternBarIndex(channel, bar, use7th, unit.Fill != 0) * renderer.BarLength;
    renderer.UnitStart = barStartTick;
    for (int i = 0; i < unit.BeatsPerBar; ++i)
        renderer.RenderBeat(i);
    midi.InsertEvents(track, std::move(renderer.Events));
}
