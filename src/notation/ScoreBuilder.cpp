#include "notation/ScoreBuilder.h"

#include "base/Exceptions.h"
#include "midi/MidiData.h"
#include "model/Munit.h"
#include "model/MusicProject.h"
#include "notation/NoteValues.h"
#include "render/PatternCache.h"
#include "render/RenderUnit.h"
#include "render/TrackNames.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace
{
/// A note of a rendered track: onset and length in ticks, pitch.
struct TPlayedNote
{
    std::int32_t Time = 0;
    std::int32_t Duration = 0;
    int Pitch = 0;
};

/// The sounding notes of a rendered track, in the order rendered.
std::vector<TPlayedNote> PlayedNotes(const TMidiData& midi, int track)
{
    std::vector<TPlayedNote> notes;
    if (track >= midi.TrackCount())
        return notes;
    for (const auto& e : midi.GetTrack(track)->Items())
        if ((e->Status() & 0xF0) == 0x90 && e->DataSize() >= 3 && e->Data[2] > 0 && e->Duration > 0)
            notes.push_back({e->Time, e->Duration, static_cast<int>(e->Data[1])});
    return notes;
}

/// The melody: its first note at an onset in voice 1, the harmony note in voice 2, each
/// written as long as the unit's rhythm holds it (the rendering detaches repeated notes).
std::vector<TScoreVoice> MelodyVoices(const TMunit& unit, const std::vector<TPlayedNote>& notes,
                                      std::int32_t beat)
{
    std::vector<TScoreVoice> voices(unit.HarmonyVoice ? 2 : 1);
    const int perStep = DivisionsPerBeat / std::max(1, unit.StepsPerBeat);
    std::map<std::int32_t, int> seen;
    for (const TPlayedNote& note : notes)
    {
        const int voice = seen[note.Time]++;
        if (voice >= static_cast<int>(voices.size()))
            continue;
        const int step = static_cast<int>(note.Time * unit.StepsPerBeat / beat);
        const int bar = step / unit.StepsPerBar();
        const int length = unit.NoteLength(bar, step % unit.StepsPerBar()) * perStep;
        voices[static_cast<std::size_t>(voice)].Notes.push_back(
            {step * perStep, std::max(perStep, length), {note.Pitch}});
    }
    return voices;
}

/// The drums the feet play (bass drums, pedal hi-hat): written as a second voice, stems
/// down, under the hands'.
bool IsFootDrum(int key)
{
    return key == 35 || key == 36 || key == 44;
}

/// A track's notes on the score's grid: each note's onset in divisions of the unit and how
/// long it sounds from there (divisions), and each beat's grid step.
struct TGridded
{
    std::vector<int> Steps;
    std::vector<int> Onsets;
    std::vector<double> Lengths;

    int StepAt(int position) const
    {
        const auto beat = static_cast<std::size_t>(position / DivisionsPerBeat);
        return beat < Steps.size() ? Steps[beat] : SixteenthStep;
    }

    /// `end` moved onto its beat's grid: back, unless that reaches `start`.
    int OnGrid(int start, int end) const
    {
        const int step = StepAt(end);
        const int offset = end % DivisionsPerBeat % step;
        if (offset == 0)
            return end;
        return end - offset > start ? end - offset : end - offset + step;
    }
};

TGridded PutOnGrid(const std::vector<TPlayedNote>& notes, std::int32_t ticksPerBeat, int beats)
{
    // Notes a strum apart (20 ticks at 384 per beat) start one chord, at its first note.
    const std::int32_t strum = ticksPerBeat * 20 / 384;
    std::vector<std::int32_t> times;
    times.reserve(notes.size());
    for (const TPlayedNote& note : notes)
        times.push_back(note.Time);
    std::sort(times.begin(), times.end());
    std::map<std::int32_t, std::int32_t> chordStart;
    std::vector<std::vector<int>> offsets(static_cast<std::size_t>(beats));
    std::int32_t current = -1;
    for (const std::int32_t time : times)
    {
        if (current < 0 || time - current > strum)
        {
            current = time;
            const int beat = (current + strum) / ticksPerBeat;
            if (beat < beats)
                offsets[static_cast<std::size_t>(beat)].push_back(current - beat * ticksPerBeat);
        }
        chordStart[time] = current;
    }
    TGridded out;
    for (const auto& beat : offsets)
        out.Steps.push_back(BeatStep(beat, ticksPerBeat));
    const double perDivision = static_cast<double>(ticksPerBeat) / DivisionsPerBeat;
    for (const TPlayedNote& note : notes)
    {
        const std::int32_t start = chordStart[note.Time];
        const int beat = (start + strum) / ticksPerBeat;
        const int step = beat < beats ? out.Steps[static_cast<std::size_t>(beat)] : SixteenthStep;
        const double point = (start - beat * ticksPerBeat) / (perDivision * step);
        out.Onsets.push_back(beat * DivisionsPerBeat + static_cast<int>(std::lround(point)) * step);
        out.Lengths.push_back((note.Time + note.Duration - start) / perDivision);
    }
    return out;
}

/// Notes of one onset: pitch and how long each sounds.
using TOnsetNotes = std::vector<std::pair<int, double>>;

std::map<int, TOnsetNotes> ByOnset(const std::vector<TPlayedNote>& notes, const TGridded& grid,
                                   int unitLength, const std::function<bool(int)>& take)
{
    std::map<int, TOnsetNotes> byOnset;
    for (std::size_t i = 0; i < notes.size(); ++i)
        if (grid.Onsets[i] < unitLength && take(notes[i].Pitch))
            byOnset[grid.Onsets[i]].emplace_back(notes[i].Pitch, grid.Lengths[i]);
    return byOnset;
}

/// Pitches in order, each once.
void SortUnique(std::vector<int>& pitches)
{
    std::sort(pitches.begin(), pitches.end());
    pitches.erase(std::unique(pitches.begin(), pitches.end()), pitches.end());
}

/// A drum voice: strokes of one onset together, each written up to the next stroke, the end
/// of its beat at most (never tied).
TScoreVoice DrumVoice(const std::map<int, TOnsetNotes>& byOnset, int unitLength)
{
    TScoreVoice voice;
    for (auto it = byOnset.begin(); it != byOnset.end(); ++it)
    {
        const auto next = std::next(it);
        const int limit = next != byOnset.end() ? next->first : unitLength;
        const int beatEnd = (it->first / DivisionsPerBeat + 1) * DivisionsPerBeat;
        TScoreNote strokes{it->first, std::min(beatEnd, limit) - it->first, {}};
        for (const auto& note : it->second)
            strokes.Pitches.push_back(note.first);
        SortUnique(strokes.Pitches);
        voice.Notes.push_back(std::move(strokes));
    }
    return voice;
}

/// Where the part next strikes `pitch` after the onset `from`, or `until`.
int NextStrike(const std::map<int, TOnsetNotes>& byOnset, int from, int pitch, int until)
{
    for (auto it = byOnset.upper_bound(from); it != byOnset.end(); ++it)
        for (const auto& note : it->second)
            if (note.first == pitch)
                return it->first;
    return until;
}

/// The written value and articulation of each note of a voice, from how long it sounds:
/// up to the voice's next note at most, and never over the part's next strike of its pitch.
void WriteLengths(std::vector<TScoreNote>& voice, const std::vector<double>& sounding,
                  const std::map<int, TOnsetNotes>& byOnset, const TGridded& grid, int unitLength)
{
    for (std::size_t i = 0; i < voice.size(); ++i)
    {
        TScoreNote& note = voice[i];
        int until = i + 1 < voice.size() ? voice[i + 1].Start : unitLength;
        for (const int pitch : note.Pitches)
            until = std::min(until, NextStrike(byOnset, note.Start, pitch, unitLength));
        const TWrittenLength written =
            WrittenLength(sounding[i], note.Start, until - note.Start, grid.StepAt(note.Start));
        note.Length = grid.OnGrid(note.Start, note.Start + written.Length) - note.Start;
        note.Articulation = written.Articulation;
    }
}

/// A pitched accompaniment's voices. The first plays every onset; a note that sounds on
/// over the part's next onset (by a sixteenth, or an eighth of the gap, at least), or much
/// longer than the shortest note of its chord, goes to one of three voices of held notes
/// when one is free, with the notes of its chord held as long, and is written as the value
/// it fills (before the part strikes its pitch again).
std::vector<TScoreVoice> PitchedVoices(const std::map<int, TOnsetNotes>& byOnset,
                                       const TGridded& grid, int unitLength, int staff)
{
    constexpr std::size_t HeldVoices = 3;
    std::vector<TScoreNote> moving;
    std::vector<double> sounding;
    std::vector<std::vector<TScoreNote>> held(HeldVoices);
    std::array<int, HeldVoices> heldUntil{};
    for (auto it = byOnset.begin(); it != byOnset.end(); ++it)
    {
        const int start = it->first;
        const int step = grid.StepAt(start);
        const auto next = std::next(it);
        const int room = (next != byOnset.end() ? next->first : unitLength) - start;
        const double holdsOver = room + std::max(SixteenthStep, room / 8);
        double shortest = room * 4.0;
        for (const auto& note : it->second)
            shortest = std::min(shortest, note.second);
        // The held notes by the value they are written with, and what stays in the first
        // voice with the longest it sounds.
        std::map<int, std::pair<TScoreNote, double>> heldBy;
        TScoreNote chord{start, 0, {}};
        double played = 0;
        for (const auto& [pitch, sounds] : it->second)
        {
            const bool longer = sounds >= holdsOver ||
                                (sounds >= 1.5 * shortest && sounds - shortest >= SixteenthStep);
            if (longer)
            {
                const int until = NextStrike(byOnset, start, pitch, unitLength);
                const TWrittenLength written = WrittenLength(sounds, start, until - start, step);
                const int end = grid.OnGrid(start, start + written.Length);
                auto& [note, longest] = heldBy[end];
                note.Start = start;
                note.Length = end - start;
                note.Articulation = written.Articulation;
                note.Pitches.push_back(pitch);
                longest = std::max(longest, sounds);
                continue;
            }
            chord.Pitches.push_back(pitch);
            played = std::max(played, sounds);
        }
        for (auto& [end, entry] : heldBy)
        {
            const auto free = std::find_if(heldUntil.begin(), heldUntil.end(),
                                           [start](int until) { return until <= start; });
            if (free == heldUntil.end())
            {
                // No voice to hold it in: it is cut at the next onset.
                chord.Pitches.insert(chord.Pitches.end(), entry.first.Pitches.begin(),
                                     entry.first.Pitches.end());
                played = std::max(played, entry.second);
                continue;
            }
            SortUnique(entry.first.Pitches);
            held[static_cast<std::size_t>(free - heldUntil.begin())].push_back(entry.first);
            *free = end;
        }
        if (chord.Pitches.empty())
            continue;
        SortUnique(chord.Pitches);
        moving.push_back(std::move(chord));
        sounding.push_back(played);
    }
    WriteLengths(moving, sounding, byOnset, grid, unitLength);
    std::vector<TScoreVoice> voices{{std::move(moving), staff}};
    for (std::vector<TScoreNote>& notes : held)
        if (!notes.empty())
            voices.push_back({std::move(notes), staff});
    return voices;
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
                {b * DivisionsPerBar + beat * DivisionsPerBeat,
                 ScoreChordSymbol(degree, property.Key, property.Scale, property.Use7th != 0)});
        }
    return chords;
}

/// A unit as the MIDI export renders it: the notes of each track, at Division ticks a beat.
struct TRenderedUnit
{
    const TMunit* Unit = nullptr;
    const TMuprop* Property = nullptr;
    int Entry = 0;
    std::int32_t Division = ProgramDivision;
    std::array<std::vector<TPlayedNote>, TrackCount> Notes;
};

TScoreUnit BuildUnit(const TRenderedUnit& rendered, bool fullScore,
                     const std::array<TStaffLayout, TrackCount>& layouts, std::set<int>& drumKeys)
{
    const TMunit& unit = *rendered.Unit;
    const TMuprop& property = *rendered.Property;
    TScoreUnit out;
    out.Name = "Ptn." + std::to_string(rendered.Entry);
    out.Bars = unit.BarCount;
    out.Key = property.Key;
    out.Minor = property.Scale != 0;
    out.Tempo = property.Tempo;
    out.Chords = ChordChanges(unit, property);
    out.Parts[MelodyTrack] = MelodyVoices(unit, rendered.Notes[MelodyTrack], rendered.Division);
    if (!fullScore)
        return out;
    const int length = unit.BarCount * DivisionsPerBar;
    const int beats = unit.BarCount * BeatsPerScoreBar;
    for (int track = MelodyTrack + 1; track < TrackCount; ++track)
    {
        const auto t = static_cast<std::size_t>(track);
        const std::vector<TPlayedNote>& notes = rendered.Notes[t];
        const TGridded grid = PutOnGrid(notes, rendered.Division, beats);
        out.Steps[t] = grid.Steps;
        auto& voices = out.Parts[t];
        if (track != DrumTrack)
        {
            // Each staff is voiced alone: a hand's rhythm is its own.
            const TStaffLayout& layout = layouts[t];
            for (int staff = 1; staff <= layout.Staves; ++staff)
            {
                const auto onStaff = [&layout, staff](int pitch)
                { return layout.Staves == 1 || (pitch >= layout.Split) == (staff == 1); };
                for (TScoreVoice& voice :
                     PitchedVoices(ByOnset(notes, grid, length, onStaff), grid, length, staff))
                    voices.push_back(std::move(voice));
            }
            continue;
        }
        voices.push_back(DrumVoice(
            ByOnset(notes, grid, length, [](int key) { return !IsFootDrum(key); }), length));
        TScoreVoice feet = DrumVoice(ByOnset(notes, grid, length, IsFootDrum), length);
        if (!feet.Notes.empty())
            voices.push_back(std::move(feet));
        for (const TScoreVoice& voice : voices)
            for (const TScoreNote& note : voice.Notes)
                drumKeys.insert(note.Pitches.begin(), note.Pitches.end());
    }
    return out;
}

TPartRole RoleOf(int track)
{
    switch (track)
    {
    case MelodyTrack:
        return TPartRole::Melody;
    case BassTrack:
        return TPartRole::Bass;
    case DrumTrack:
        return TPartRole::Drums;
    default:
        return TPartRole::Backing;
    }
}

/// Each track's staves, for the lowest and highest pitch it plays in the whole song.
std::array<TStaffLayout, TrackCount> Layouts(const std::vector<TRenderedUnit>& units,
                                             const std::array<int, TrackCount>& programs)
{
    std::array<TStaffLayout, TrackCount> layouts;
    for (int track = 0; track < TrackCount; ++track)
    {
        const auto t = static_cast<std::size_t>(track);
        int lowest = 127;
        int highest = 0;
        for (const TRenderedUnit& unit : units)
            for (const TPlayedNote& note : unit.Notes[t])
            {
                lowest = std::min(lowest, note.Pitch);
                highest = std::max(highest, note.Pitch);
            }
        layouts[t] = ChooseStaves(RoleOf(track), programs[t], lowest, highest);
    }
    return layouts;
}
} // namespace

TBarGrid TScoreUnit::BarGrid(int track, int bar) const
{
    TBarGrid grid = StraightBar;
    const auto& steps = Steps[static_cast<std::size_t>(std::clamp(track, 0, TrackCount - 1))];
    for (int beat = 0; beat < BeatsPerScoreBar; ++beat)
    {
        const auto at = static_cast<std::size_t>(bar * BeatsPerScoreBar + beat);
        if (at < steps.size())
            grid[static_cast<std::size_t>(beat)] = steps[at];
    }
    return grid;
}

TScore BuildScore(const TMusicProject& project, const std::string& title, int repeatCount,
                  bool fullScore)
{
    TScore score;
    score.Title = title;
    score.RepeatCount = std::max(1, repeatCount);
    score.FullScore = fullScore;
    TPatternCache patterns;
    const TMuprop* governing = nullptr;
    std::vector<TRenderedUnit> rendered;
    for (int i = 0; i < project.Count(); ++i)
    {
        if (const TMuprop* property = project.PropertyAt(i))
        {
            if (governing == nullptr)
                for (int t = 0; t < TrackCount; ++t)
                {
                    const auto at = static_cast<std::size_t>(t);
                    score.Programs[at] = t == DrumTrack
                                             ? DrumKitProgram(property->GetTrack(t).Instrument)
                                             : std::clamp(property->GetTrack(t).Instrument, 0, 127);
                    score.Instruments[at] = InstrumentName(*property, t);
                }
            governing = property;
        }
        else if (const TMunit* unit = project.UnitAt(i))
        {
            if (governing == nullptr)
                throw ELyravaneError(
                    Core::Tr("A music unit without properties cannot be rendered"));
            TMidiData midi;
            RenderToMidi(*unit, governing, midi, 0, patterns);
            TRenderedUnit& out = rendered.emplace_back();
            out.Unit = unit;
            out.Property = governing;
            out.Entry = i;
            out.Division = midi.Division;
            for (int t = 0; t < TrackCount; ++t)
                out.Notes[static_cast<std::size_t>(t)] = PlayedNotes(midi, t);
        }
    }
    score.Layouts = Layouts(rendered, score.Programs);
    for (const TRenderedUnit& unit : rendered)
        score.Units.push_back(BuildUnit(unit, fullScore, score.Layouts, score.DrumKeys));
    return score;
}
