#pragma once

#include "compose/ToneWeights.h"

#include <cstdint>
#include <utility>
#include <vector>

class TMunit;

/// Composes the melody of the unlocked bars of one unit over its chords and rhythm. Each
/// onset becomes a chord tone, passing note, neighbour note or appoggiatura; a register
/// level per bar shapes the phrase, an earlier model bar may lend its directions and note
/// kinds, and fixed rules shape the cadence. Every draw comes from the shared generator in
/// a fixed order, so a seed always gives the same melody.
class TComposer
{
public:
    /// Note kinds, one byte per step. ChordTone is 0 so that zero-filled state reads as a
    /// chord tone; CopiedChordTone marks a chord tone taken from the model bar and never
    /// outlives ChoosePitch.
    enum TNoteKind : std::uint8_t
    {
        ChordTone = 0,
        PassingTone = 1,
        NeighbourTone = 2,
        Appoggiatura = 3,
        CopiedChordTone = 4,
    };

    /// Marks an Intervals entry whose step holds no recorded onset.
    static constexpr std::int8_t NoInterval = -128;

    // Per run.
    std::int32_t NeighbourRate = 0;
    std::int32_t PassingRate = 0;
    std::int32_t AppoggiaturaRate = 0;
    /// Signed interval from the previous pitch to the onset at each step, bar * steps + step.
    std::vector<std::int8_t> Intervals;
    /// Note kind of the onset at each step, bar * steps + step.
    std::vector<std::uint8_t> Marks;
    /// Register level of each bar, 0..10.
    std::vector<std::int8_t> Levels;

    // Per bar.
    bool TopReached = false;
    std::int32_t Anchor = 0;
    std::int32_t NextBarTarget = 0;
    std::int32_t ModelBar = 0;
    bool InvertCopy = false;
    std::int32_t CopyRate = 0;

    /// The context and choice of the onset being composed. ComposeNote sets it field by
    /// field; the model bar's direction and kind stay from an earlier onset when the model
    /// step has none.
    struct TNoteContext
    {
        std::int32_t Ordinal = 0;
        std::int32_t NotesInBar = 0;
        std::int32_t NotesInNextBar = 0;
        std::int32_t Position96 = 0;
        std::uint8_t Chord = 0;
        std::uint8_t NextChord = 0;
        bool IsFirst = false;
        bool IsLast = false;
        bool IsBarEdge = false;
        bool ChordChangeIn = false;
        bool ChordChangeOut = false;
        bool AtChordChange = false;
        std::int32_t Length96 = 0;
        std::int32_t NextLength96 = 0;
        std::int32_t Upper = 0;
        std::int32_t Lower = 0;
        bool IsFinalNote = false;
        bool NextIsFinal = false;
        bool RestFollows = false;
        bool CanCopy = false;
        std::int32_t CopyDirection = 0;
        std::uint8_t CopyMark = ChordTone;
        std::int32_t Pitch = 0;
    };
    TNoteContext Note;

    // Carried from onset to onset, across bar lines.
    std::int32_t Prev = 0;
    std::int32_t Prev2 = 0;
    std::uint8_t PrevChord = 0;
    std::int32_t PrevInterval = 0;
    /// Melodic motion for the next pitch in qualifying steps: -1, 0, +1, +2 or +3.
    std::int32_t Direction = 0;
    std::uint8_t Mark = ChordTone;
    std::uint8_t PrevMark = ChordTone;
    std::int32_t Target = 0;
    std::int32_t ChordToneRun = 0;
    std::int32_t Streak = 0;

    /// The unit to compose; not owned. Its Property gives the scale (major without one).
    void SetMunit(TMunit* unit) { FUnit = unit; }
    void Compose();

    /// Gives the onset at (bar, step) its pitch and updates the carried state.
    void ComposeNote(int bar, int step);
    /// The first onset after (bar, step) in the unit; bar -1 and step 0 when there is none.
    std::pair<int, int> FindNextNote(int bar, int step) const;
    /// Chooses Note.Pitch and Mark for the onset whose context ComposeNote has set.
    void ChoosePitch();

private:
    /// Fills Levels, one register level per bar.
    void DrawLevels(int bars);
    /// The steps of ChoosePitch, in their order; each draws only as its rules allow.
    void ChooseDirection(int d0);
    void ChooseMark();
    void DrawMark();
    void FitMarkToRange();
    bool ResolveAfterDominant();
    void PlacePitch();
    void ApplyCadenceRules(bool cadenceFixed);

    int UnitScale() const;
    bool IsMajor() const { return UnitScale() == 0; }
    bool IsMinor() const { return UnitScale() == 1; }
    int StepsPerBar() const;
    std::size_t StepIndex(int bar, int step) const;

    TMunit* FUnit = nullptr; // not owned
};
