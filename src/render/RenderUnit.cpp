#include "render/RenderUnit.h"

#include "base/Exceptions.h"
#include "midi/ArrangeList.h"
#include "midi/MidiData.h"
#include "model/Munit.h"
#include "model/Muprop.h"
#include "model/MusicFunctions.h"
#include "render/PatternCache.h"

#include <algorithm>

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
    const std::int64_t reference = std::int64_t{60} + property.Key + (property.OctaveUp ? 12 : 0);
    const std::int32_t barLength = 4 * midi.Division;
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
            midi.AddNote(0, time, length, 0, FoldNoteIntoRange(pitch + reference), MelodyVelocity);
            if (unit.HarmonyVoice)
            {
                const int chord = unit.GetChord(b, s / std::max(1, unit.StepsPerBeat));
                midi.AddNote(
                    0, time, length, 0,
                    FoldNoteIntoRange(HarmonyPitch(chord, property.Scale, pitch) + reference),
                    MelodyVelocity);
            }
        }
    }
}
} // namespace

const TArrangeList& PartLibrary(int track)
{
    if (track == 3)
        return BassPatterns;
    if (track == DrumTrack)
        return DrumPatterns;
    return BackPatterns;
}

void RenderToMidi(const TMunit& unit, const TMuprop* governing, TMidiData& midi,
                  std::int32_t startTick, TPatternCache& patterns)
{
    if (governing == nullptr)
        throw ELyravaneError("A music unit without properties cannot be rendered");
    const TMuprop& property = *governing;
    if (midi.TrackCount() < TrackCount)
        midi.SetTrackCount(TrackCount);

    RenderMelody(unit, property, midi, startTick);

    const std::int32_t barLength = 4 * midi.Division;
    for (int track = 1; track < TrackCount; ++track)
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
    const std::int64_t beat = midi.Division;
    const std::int64_t barLength = 4 * beat;
    const int beats = unit.BeatsPerBar;

    // Backing patterns alternate two bars (two more for seventh chords); bass and drums
    // play their four bars, the drums' fourth being a fill heard only in a Fill unit.
    std::int64_t patternBar = 0;
    if (channel == 1 || channel == 2)
        patternBar = bar % 2 + (use7th ? 2 : 0);
    else
    {
        patternBar = bar % 4;
        if (channel == DrumChannel && bar == 3 && !unit.Fill)
            patternBar = 2;
    }
    const std::int64_t u = patternBar * barLength;
    const std::int64_t s = barStartTick;
    auto chord = [&](int k) { return static_cast<int>(unit.GetChord(bar, k)); };

    for (int i = 0; i < beats; ++i)
    {
        const std::int64_t beatStart = u + beat * i;
        const bool chordChanges = chord(i) != chord(i - 1);
        // Notes of earlier beats matter only where the chord changes; later beats are
        // handled in their own turn.
        const std::int64_t from = chordChanges ? u : beatStart;
        const std::int64_t to = std::min(u + barLength, beatStart + beat);
        for (const auto& patternTrack : pattern.Tracks)
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

                std::int64_t start = 0;
                std::int64_t length = 0;
                int lastBeat = 0;
                if (e.Time < beatStart)
                {
                    // Still sounding into this beat's new chord: strike it again here.
                    if (!IsPlayableNote(e))
                        continue;
                    const std::int64_t rest = e.Time - u + e.Duration - beat * i;
                    if (rest <= 0)
                        continue;
                    start = s + beat * i;
                    length = rest;
                    lastBeat =
                        static_cast<int>(std::min<std::int64_t>(beats - 1, (rest - 1) / beat + i));
                }
                else
                {
                    const int kind = status & 0xF0;
                    if (kind == 0x80 || kind == 0xC0)
                        continue;
                    if (kind == 0xB0 && e.DataSize() >= 2 && IsOwnedController(e.Data[1]))
                        continue;
                    if (kind != 0x90)
                    {
                        TMidiEvent* copy =
                            midi.InsertEvent(track, static_cast<std::int32_t>(s + e.Time - u));
                        copy->Data = e.Data;
                        copy->Data[0] = static_cast<std::uint8_t>(kind | (channel & 0x0F));
                        continue;
                    }
                    if (!IsPlayableNote(e))
                        continue;
                    start = s + e.Time - u;
                    length = e.Duration;
                    lastBeat = static_cast<int>(
                        std::min<std::int64_t>(beats - 1, (e.Time - u + length - 1) / beat));
                }

                int pitch = e.Data[1];
                if (channel == DrumChannel)
                {
                    if (altSnare && pitch == SnareKey)
                        pitch = AltSnareKey;
                }
                else
                    pitch = FoldNoteIntoRange(std::int64_t{key} +
                                              PatternNoteForChord(chord(i), scale, pitch));

                // A note ends where the next chord begins; that chord strikes it again.
                for (int k = i + 1; k <= lastBeat; ++k)
                {
                    if (chord(k) != chord(k - 1))
                    {
                        length = s + beat * k - start;
                        break;
                    }
                }
                midi.AddNote(track, static_cast<std::int32_t>(start),
                             static_cast<std::int32_t>(length), channel, pitch, e.Data[2]);
            }
        }
    }
}
