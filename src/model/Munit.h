#pragma once

#include "model/MusicFunctions.h"
#include "model/SongItem.h"

#include <cstdint>
#include <iosfwd>
#include <string_view>
#include <vector>

class TMuprop;

constexpr char RhythmOnset = '*';
constexpr char RhythmHold = '-';
constexpr char RhythmRest = '.';

/// Bytes of one unit record, in project files and on the clipboard.
constexpr int UnitRecordSize = 256;

/// A music unit: four 4/4 bars of chords (one per beat), rhythm and melody (one per
/// eighth-note step), four flags and a lock per bar. Access outside the grid never fails.
class TMunit : public TSongItem
{
public:
    explicit TMunit(int barCount = 4, int beatsPerBar = 4);

    std::int32_t StepsPerBeat = 2;
    std::int32_t BeatsPerBar = 4;
    std::int32_t BarCount = 4;
    std::uint8_t Fill = 0;
    std::uint8_t Cadence = 0;
    /// Chord degree per beat, bar * BeatsPerBar + beat; 1..6 = I..VI.
    std::vector<std::uint8_t> Chords;
    /// '*' onset, '-' hold, '.' rest per step, bar * StepsPerBar() + step.
    std::vector<char> Rhythm;
    /// Semitones from the reference pitch per step.
    std::vector<std::int8_t> Melody;
    std::vector<std::uint8_t> Locks;
    /// The governing property set; not owned.
    TMuprop* Property = nullptr;
    std::uint8_t ShortNotes = 0;
    std::uint8_t HarmonyVoice = 0;

    int StepsPerBar() const { return BeatsPerBar * StepsPerBeat; }
    /// The governing scale (0 without properties).
    int Scale() const;

    void SetBeatsPerBar(int count);
    void SetBarCount(int count);
    void InitRhythm();
    void InitChords();
    void SetProperty(TMuprop* property) { Property = property; }
    void SetFill(std::uint8_t value) { Fill = value; }
    void SetCadence(std::uint8_t value) { Cadence = value; }
    void SetShortNotes(std::uint8_t value) { ShortNotes = value; }
    void SetHarmonyVoice(std::uint8_t value) { HarmonyVoice = value; }

    std::uint8_t GetChord(int bar, int beat) const;
    void SetChord(int bar, int beat, std::uint8_t degree);
    char GetRhythm(int bar, int step) const;
    void SetRhythm(int bar, int step, char value);
    int GetMelody(int bar, int step) const;
    void SetMelody(int bar, int step, int pitch);
    /// Bars outside the unit read 0; writes there are ignored.
    std::uint8_t GetLock(int bar) const;
    void SetLock(int bar, std::uint8_t flag);

    /// Sets the beat, then the following beats of the bar that held the old degree.
    void SetChordRun(int bar, int beat, std::uint8_t degree);
    /// Every step becomes '-', then the text is spread over the bar's steps.
    void SetBarRhythm(int bar, std::string_view text);
    int NoteLength(int bar, int step) const;
    bool IsFollowedByRest(int bar, int step) const;
    int NoteCount(int bar) const;
    int NoteOrdinal(int bar, int step) const;

    /// One unit record (UnitRecordSize bytes); a wrong version or dimensions or a short stream
    /// raises EReadError and leaves the unit unchanged.
    void ReadFromStream(std::istream& stream);
    void WriteToStream(std::ostream& stream) const;

private:
    bool InGrid(int bar, int index, int perBar) const;
    void Resize();
};
