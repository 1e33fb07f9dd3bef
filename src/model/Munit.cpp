#include "model/Munit.h"

#include "base/Bytes.h"
#include "base/Exceptions.h"
#include "model/Muprop.h"

#include <algorithm>
#include <cstring>
#include <istream>
#include <ostream>

namespace
{
// Unit record, 256 bytes:
//   0 version(4)  4 StepsPerBeat(4)  8 BeatsPerBar(4)  12 BarCount(4)
//  16 Fill(4)  20 Cadence(4)  24 ShortNotes(4)  28 HarmonyVoice(4)  32 reserved(32)
//  64 Chords(16)  80 reserved(16)  96 Rhythm(32)  128 reserved(32)
// 160 Melody(32)  192 reserved(64)
constexpr std::size_t ChordsAt = 64;
constexpr std::size_t RhythmAt = 96;
constexpr std::size_t MelodyAt = 160;
constexpr std::size_t ChordBytes = 16;
constexpr std::size_t StepBytes = 32;
} // namespace

TMunit::TMunit(int barCount, int beatsPerBar) : BeatsPerBar(beatsPerBar), BarCount(barCount)
{
    Resize();
    InitRhythm();
    InitChords();
}

int TMunit::Scale() const
{
    return Property != nullptr ? Property->Scale : 0;
}

void TMunit::Resize()
{
    const auto bars = static_cast<std::size_t>(std::max(0, BarCount));
    const auto beats = static_cast<std::size_t>(std::max(0, BeatsPerBar));
    const auto steps = beats * static_cast<std::size_t>(std::max(0, StepsPerBeat));
    Chords.resize(bars * beats, 0);
    Rhythm.resize(bars * steps, 0);
    Melody.resize(bars * steps, 0);
    Locks.resize(bars, 0);
}

void TMunit::SetBeatsPerBar(int count)
{
    BeatsPerBar = count;
    Resize();
}

void TMunit::SetBarCount(int count)
{
    BarCount = count;
    Resize();
}

void TMunit::InitRhythm()
{
    std::fill(Rhythm.begin(), Rhythm.end(), RhythmRest);
}

void TMunit::InitChords()
{
    std::fill(Chords.begin(), Chords.end(), 1);
    SetChordRun(0, 0, 1);
    SetChordRun(1, 0, 4);
    SetChordRun(2, 0, 5);
    SetChordRun(3, 0, 1);
}

bool TMunit::InGrid(int bar, int index, int perBar) const
{
    return bar >= 0 && bar < BarCount && index >= 0 && index < perBar;
}

std::uint8_t TMunit::GetChord(int bar, int beat) const
{
    if (!InGrid(bar, beat, BeatsPerBar))
        return 0;
    return Chords[static_cast<std::size_t>(bar * BeatsPerBar + beat)];
}

void TMunit::SetChord(int bar, int beat, std::uint8_t degree)
{
    if (InGrid(bar, beat, BeatsPerBar))
        Chords[static_cast<std::size_t>(bar * BeatsPerBar + beat)] = degree;
}

char TMunit::GetRhythm(int bar, int step) const
{
    if (!InGrid(bar, step, StepsPerBar()))
        return RhythmRest;
    return Rhythm[static_cast<std::size_t>(bar * StepsPerBar() + step)];
}

void TMunit::SetRhythm(int bar, int step, char value)
{
    if (InGrid(bar, step, StepsPerBar()))
        Rhythm[static_cast<std::size_t>(bar * StepsPerBar() + step)] = value;
}

int TMunit::GetMelody(int bar, int step) const
{
    if (!InGrid(bar, step, StepsPerBar()))
        return 0;
    return Melody[static_cast<std::size_t>(bar * StepsPerBar() + step)];
}

void TMunit::SetMelody(int bar, int step, int pitch)
{
    if (InGrid(bar, step, StepsPerBar()))
        Melody[static_cast<std::size_t>(bar * StepsPerBar() + step)] =
            static_cast<std::int8_t>(static_cast<std::uint8_t>(pitch));
}

std::uint8_t TMunit::GetLock(int bar) const
{
    if (bar < 0 || bar >= static_cast<int>(Locks.size()))
        return 0;
    return Locks[static_cast<std::size_t>(bar)];
}

void TMunit::SetLock(int bar, std::uint8_t flag)
{
    if (bar >= 0 && bar < static_cast<int>(Locks.size()))
        Locks[static_cast<std::size_t>(bar)] = flag;
}

void TMunit::SetChordRun(int bar, int beat, std::uint8_t degree)
{
    const std::uint8_t old = GetChord(bar, beat);
    SetChord(bar, beat, degree);
    for (int k = beat + 1; k < BeatsPerBar && GetChord(bar, k) == old; ++k)
        SetChord(bar, k, degree);
}

void TMunit::SetBarRhythm(int bar, std::string_view text)
{
    const int steps = StepsPerBar();
    for (int s = 0; s < steps; ++s)
        SetRhythm(bar, s, RhythmHold);
    const auto length = static_cast<int>(text.size());
    if (length == 0)
        return;
    // Character i lands on step i * steps / length; with 8 characters, step i. When several
    // land on one step the last of them wins.
    for (int i = 0; i < length; ++i)
        SetRhythm(bar, static_cast<int>(static_cast<long long>(i) * steps / length),
                  text[static_cast<std::size_t>(i)]);
}

int TMunit::NoteLength(int bar, int step) const
{
    if (GetRhythm(bar, step) != RhythmOnset)
        return 0;
    int length = 1;
    for (int s = step + 1; s < StepsPerBar() && GetRhythm(bar, s) == RhythmHold; ++s)
        ++length;
    return length;
}

bool TMunit::IsFollowedByRest(int bar, int step) const
{
    if (GetRhythm(bar, step) != RhythmOnset)
        return false;
    for (int s = step + 1; s < StepsPerBar(); ++s)
    {
        const char c = GetRhythm(bar, s);
        if (c == RhythmOnset)
            return false;
        if (c == RhythmRest)
            return true;
    }
    return false;
}

int TMunit::NoteCount(int bar) const
{
    int count = 0;
    for (int s = 0; s < StepsPerBar(); ++s)
        count += GetRhythm(bar, s) == RhythmOnset ? 1 : 0;
    return count;
}

int TMunit::NoteOrdinal(int bar, int step) const
{
    if (GetRhythm(bar, step) != RhythmOnset)
        return 0;
    int ordinal = 0;
    for (int s = 0; s <= step; ++s)
        ordinal += GetRhythm(bar, s) == RhythmOnset ? 1 : 0;
    return ordinal;
}

void TMunit::ReadFromStream(std::istream& stream)
{
    std::uint8_t r[UnitRecordSize];
    ReadExact(stream, r, sizeof r);
    if (GetInt32LE(r) != 1 || GetInt32LE(r + 4) != 2 || GetInt32LE(r + 8) != 4 ||
        GetInt32LE(r + 12) != 4)
        throw EReadError(Core::Tr("a unit record of an unknown version or size"));

    StepsPerBeat = 2;
    BeatsPerBar = 4;
    BarCount = 4;
    Resize();
    Fill = r[16];
    Cadence = r[20];
    ShortNotes = r[24];
    HarmonyVoice = r[28];
    std::memcpy(Chords.data(), r + ChordsAt, ChordBytes);
    std::memcpy(Rhythm.data(), r + RhythmAt, StepBytes);
    std::memcpy(Melody.data(), r + MelodyAt, StepBytes);
}

void TMunit::WriteToStream(std::ostream& stream) const
{
    std::uint8_t r[UnitRecordSize] = {};
    PutInt32LE(r, 1);
    PutInt32LE(r + 4, StepsPerBeat);
    PutInt32LE(r + 8, BeatsPerBar);
    PutInt32LE(r + 12, BarCount);
    PutInt32LE(r + 16, Fill);
    PutInt32LE(r + 20, Cadence);
    PutInt32LE(r + 24, ShortNotes);
    PutInt32LE(r + 28, HarmonyVoice);
    // The record holds a 4 x 4 x 2 unit; every unit the program makes has that shape.
    std::memcpy(r + ChordsAt, Chords.data(), std::min(Chords.size(), ChordBytes));
    std::memcpy(r + RhythmAt, Rhythm.data(), std::min(Rhythm.size(), StepBytes));
    std::memcpy(r + MelodyAt, Melody.data(), std::min(Melody.size(), StepBytes));
    WriteExact(stream, r, sizeof r);
}
