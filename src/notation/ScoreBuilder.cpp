#include "notation/ScoreBuilder.h"

#include "base/Exceptions.h"
#include "midi/MidiData.h"
#include "model/Munit.h"
#include "model/MusicProject.h"
#include "notation/NoteValues.h"
#include "render/PatternCache.h"
#include "render/RenderUnit.h"

#include <algorithm>
#include <map>

namespace
{
/// Ticks of a sixteenth in the rendering (384 per quarter note).
std::int32_t SixteenthTicks(const TMidiData& midi)
{
    return midi.Division / SixteenthsPerBeat;
}

/// The sounding notes of a rendered track as (onset tick, pitch), in the order rendered.
std::vector<std::pair<std::int32_t, const TMidiEvent*>> TrackNotes(const TMidiData& midi, int track)
{
    std::vector<std::pair<std::int32_t, const TMidiEvent*>> notes;
    if (track >= midi.TrackCount())
        return notes;
    for (const auto& e : midi.GetTrack(track)->Items())
        if ((e->Status() & 0xF0) == 0x90 && e->DataSize() >= 3 && e->Data[2] > 0 && e->Duration > 0)
            notes.emplace_back(e->Time, e.get());
    return notes;
}

/// The melody: its first note at an onset in voice 1, the harmony note in voice 2, each
/// written as long as the unit's rhythm holds it (the rendering detaches repeated notes).
std::vector<TScoreVoice> MelodyVoices(const TMunit& unit, const TMidiData& midi)
{
    std::vector<TScoreVoice> voices(unit.HarmonyVoice ? 2 : 1);
    const std::int32_t sixteenth = SixteenthTicks(midi);
    const int perStep = SixteenthsPerBeat / std::max(1, unit.StepsPerBeat);
    std::map<std::int32_t, int> seen;
    for (const auto& [time, event] : TrackNotes(midi, MelodyTrack))
    {
        const int voice = seen[time]++;
        if (voice >= static_cast<int>(voices.size()))
            continue;
        const int start = time / sixteenth;
        const int step = start / perStep;
        const int bar = step / unit.StepsPerBar();
        const int length = unit.NoteLength(bar, step % unit.StepsPerBar()) * perStep;
        voices[static_cast<std::size_t>(voice)].push_back(
            {start, std::max(1, length), {static_cast<int>(event->Data[1])}});
    }
    return voices;
}

/// The drums the feet play (bass drums, pedal hi-hat): written as a second voice, stems
/// down, under the hands'.
bool IsFootDrum(int key)
{
    return key == 35 || key == 36 || key == 44;
}

/// A voice of an accompaniment part (its notes for which `take` holds) as chords: notes of
/// one onset together, each chord as long as its longest note, cut at the next onset and at
/// the end of the unit. Drum strokes have no length of their own: they are written up to the
/// next stroke, the end of their beat at most (never tied).
template <typename Take>
TScoreVoice AccompanimentVoice(const TMidiData& midi, int track, int unitLength, Take take)
{
    const bool strokes = track == DrumTrack;
    const std::int32_t sixteenth = SixteenthTicks(midi);
    std::map<int, TScoreNote> byStart;
    for (const auto& [time, event] : TrackNotes(midi, track))
    {
        if (!take(static_cast<int>(event->Data[1])))
            continue;
        const int start = (time + sixteenth / 2) / sixteenth;
        if (start >= unitLength)
            continue;
        TScoreNote& note = byStart[start];
        note.Start = start;
        const int length = std::max(1, (event->Duration + sixteenth / 2) / sixteenth);
        note.Length = std::max(note.Length, length);
        const int pitch = event->Data[1];
        if (std::find(note.Pitches.begin(), note.Pitches.end(), pitch) == note.Pitches.end())
            note.Pitches.push_back(pitch);
    }
    TScoreVoice voice;
    for (auto it = byStart.begin(); it != byStart.end(); ++it)
    {
        TScoreNote note = it->second;
        const auto next = std::next(it);
        const int limit = next != byStart.end() ? next->first : unitLength;
        const int beatEnd = (note.Start / SixteenthsPerBeat + 1) * SixteenthsPerBeat;
        note.Length = std::min(strokes ? beatEnd : note.Start + note.Length, limit) - note.Start;
        std::sort(note.Pitches.begin(), note.Pitches.end());
        voice.push_back(std::move(note));
    }
    return voice;
}

std::vector<TScoreChord> ChordChanges(const TMunit& unit, const TMuprop& property)
{
    std::vector<TScoreChord> chords;
    int previous = -1;
    for (int b = 0; b < unit.BarCount; ++b)
        for (int beat = 0; beat < unit.BeatsPerBar; ++beat)
        {
            const int degree = unit.GetChord(b, beat);
            if (degree == previous)
                continue;
            previous = degree;
            chords.push_back(
                {b * SixteenthsPerBar + beat * SixteenthsPerBeat,
                 ScoreChordSymbol(degree, property.Key, property.Scale, property.Use7th != 0)});
        }
    return chords;
}

TScoreUnit BuildUnit(const TMunit& unit, const TMuprop& property, int entry, bool fullScore,
                     TPatternCache& patterns, std::set<int>& drumKeys)
{
    TMidiData midi;
    RenderToMidi(unit, &property, midi, 0, patterns);
    TScoreUnit out;
    out.Name = "Ptn." + std::to_string(entry);
    out.Bars = unit.BarCount;
    out.Key = property.Key;
    out.Minor = property.Scale != 0;
    out.Tempo = property.Tempo;
    out.Chords = ChordChanges(unit, property);
    out.Parts[MelodyTrack] = MelodyVoices(unit, midi);
    if (!fullScore)
        return out;
    const int length = unit.BarCount * SixteenthsPerBar;
    for (int track = MelodyTrack + 1; track < DrumTrack; ++track)
        out.Parts[static_cast<std::size_t>(track)] = {
            AccompanimentVoice(midi, track, length, [](int) { return true; })};
    auto& drums = out.Parts[DrumTrack];
    drums.push_back(
        AccompanimentVoice(midi, DrumTrack, length, [](int key) { return !IsFootDrum(key); }));
    TScoreVoice feet = AccompanimentVoice(midi, DrumTrack, length, IsFootDrum);
    if (!feet.empty())
        drums.push_back(std::move(feet));
    for (const TScoreVoice& voice : drums)
        for (const TScoreNote& note : voice)
            drumKeys.insert(note.Pitches.begin(), note.Pitches.end());
    return out;
}
} // namespace

TScore BuildScore(const TMusicProject& project, const std::string& title, int repeatCount,
                  bool fullScore)
{
    TScore score;
    score.Title = title;
    score.RepeatCount = std::max(1, repeatCount);
    score.FullScore = fullScore;
    TPatternCache patterns;
    const TMuprop* governing = nullptr;
    for (int i = 0; i < project.Count(); ++i)
    {
        if (const TMuprop* property = project.PropertyAt(i))
        {
            if (governing == nullptr)
                for (int t = 0; t < TrackCount; ++t)
                    score.Programs[static_cast<std::size_t>(t)] =
                        t == DrumTrack ? DrumKitProgram(property->GetTrack(t).Instrument)
                                       : std::clamp(property->GetTrack(t).Instrument, 0, 127);
            governing = property;
        }
        else if (const TMunit* unit = project.UnitAt(i))
        {
            if (governing == nullptr)
                throw ELyravaneError(
                    Core::Tr("A music unit without properties cannot be rendered"));
            score.Units.push_back(
                BuildUnit(*unit, *governing, i, fullScore, patterns, score.DrumKeys));
        }
    }
    return score;
}
