#include "compose/Composer.h"

#include "base/Random.h"
#include "model/Munit.h"
#include "model/MusicFunctions.h"

#include <algorithm>
#include <array>

namespace
{
// In working pitches the minor tonic is 0, three semitones above its stored value.
constexpr int MinorShift = 3;

constexpr std::uint8_t DegreeI = 1;
constexpr std::uint8_t DegreeV = 5;
constexpr std::uint8_t DegreeVI = 6;

int Draw100()
{
    return static_cast<int>(Random(100));
}

std::int8_t WrapToByte(int value)
{
    return static_cast<std::int8_t>(static_cast<std::uint8_t>(value & 0xFF));
}

bool IsTonicOrSubmediant(std::uint8_t chord)
{
    return chord == DegreeI || chord == DegreeVI;
}
} // namespace

int TComposer::UnitScale() const
{
    return FUnit != nullptr ? FUnit->Scale() : 0;
}

int TComposer::StepsPerBar() const
{
    if (FUnit == nullptr || FUnit->BeatsPerBar <= 0 || FUnit->StepsPerBeat <= 0)
        return 0;
    return FUnit->StepsPerBar();
}

std::size_t TComposer::StepIndex(int bar, int step) const
{
    return static_cast<std::size_t>(bar * StepsPerBar() + step);
}

std::pair<int, int> TComposer::FindNextNote(int bar, int step) const
{
    if (FUnit == nullptr)
        return {-1, 0};
    const int steps = StepsPerBar();
    for (int b = std::max(bar, 0); b < FUnit->BarCount; ++b)
        for (int s = b == bar ? step + 1 : 0; s < steps; ++s)
            if (FUnit->GetRhythm(b, s) == RhythmOnset)
                return {b, s};
    return {-1, 0};
}

/// The phrase's register: anywhere at first, drifting up over bars 2 and 3, falling back in
/// bar 4.
void TComposer::DrawLevels(int bars)
{
    int level = static_cast<int>(Random(8));
    for (int i = 0; i < bars; ++i)
    {
        switch (i % 4)
        {
        case 1:
            level = std::clamp(level + static_cast<int>(Random(6)) - 1, 2, 8);
            break;
        case 2:
            level = std::clamp(level + static_cast<int>(Random(6)) - 1, 0, 10);
            break;
        case 3:
            level = std::clamp(level + static_cast<int>(Random(6)) - 7, 2, 8);
            break;
        default:
            break;
        }
        Levels[static_cast<std::size_t>(i)] = static_cast<std::int8_t>(level);
    }
}

void TComposer::Compose()
{
    NeighbourRate = Draw100();
    PassingRate = Draw100();
    AppoggiaturaRate = Draw100();

    Prev = static_cast<int>(Random(12));
    Prev2 = 0;
    PrevChord = 0;
    PrevInterval = 0;
    PrevMark = ChordTone;
    Direction = 1;
    ChordToneRun = 0;
    Streak = 0;

    const int bars = FUnit != nullptr ? std::max(0, FUnit->BarCount) : 0;
    const int steps = StepsPerBar();
    Intervals.resize(static_cast<std::size_t>(bars * steps));
    Marks.resize(static_cast<std::size_t>(bars * steps));
    Levels.resize(static_cast<std::size_t>(bars));

    DrawLevels(bars);
    if (FUnit == nullptr)
        return;
    TMunit& unit = *FUnit;
    const int scale = UnitScale();

    // The whole unit, locked bars included, moves into working pitches and back, so the
    // locked bars read as context in the same frame. Stored bytes wrap, so the two shifts
    // always cancel.
    const bool minor = IsMinor();
    auto shiftAll = [&](int by)
    {
        for (int b = 0; b < bars; ++b)
            for (int s = 0; s < steps; ++s)
                unit.SetMelody(b, s, unit.GetMelody(b, s) + by);
    };
    if (minor)
        shiftAll(MinorShift);

    for (int i = 0; i < bars; ++i)
    {
        TopReached = false;
        NextBarTarget = i + 1 < bars ? PitchAtOrAbove(scale, unit.GetChord(i + 1, 0),
                                                      Levels[static_cast<std::size_t>(i + 1)], 1)
                                     : Anchor;
        ModelBar = static_cast<int>(Random(static_cast<std::uint32_t>(i)));
        InvertCopy = Random(5) == 0;
        CopyRate = static_cast<int>(Random(4)) * 10;
        if (i == 0)
        {
            InvertCopy = false;
            CopyRate = 0;
        }

        const bool locked = unit.GetLock(i) != 0;
        for (int s = 0; s < steps; ++s)
        {
            const std::size_t at = StepIndex(i, s);
            Intervals[at] = NoInterval;
            Marks[at] = ChordTone;
            if (unit.GetRhythm(i, s) != RhythmOnset)
                continue;
            if (locked)
            {
                // A locked bar only lends its pitches as context.
                const int p = unit.GetMelody(i, s);
                Intervals[at] = WrapToByte(p - Prev);
                Prev = p;
            }
            else
                ComposeNote(i, s);
        }
    }

    if (minor)
        shiftAll(-MinorShift);
}

void TComposer::ComposeNote(int bar, int step)
{
    TMunit& unit = *FUnit;
    const int scale = UnitScale();
    const int steps = StepsPerBar();
    if (steps <= 0)
        return; // a unit without steps has no onsets
    const int stepsPerBeat = unit.StepsPerBeat;

    const auto [nextBar, nextStep] = FindNextNote(bar, step);
    bool noneAfterNext = true;
    if (nextBar != -1)
        noneAfterNext = FindNextNote(nextBar, nextStep).first == -1;

    Note.Ordinal = unit.NoteOrdinal(bar, step);
    Note.NotesInBar = unit.NoteCount(bar);
    Note.NotesInNextBar = nextBar != -1 ? unit.NoteCount(nextBar) : 0;
    Note.Position96 = step * 96 / steps;
    Note.Chord = unit.GetChord(bar, step / stepsPerBeat);
    Note.NextChord = nextBar != -1 ? unit.GetChord(nextBar, nextStep / stepsPerBeat) : 0;

    Note.IsFirst = Note.Ordinal == 1;
    Note.IsLast = Note.Ordinal == Note.NotesInBar;
    Note.IsBarEdge = Note.IsFirst || Note.IsLast;
    Note.ChordChangeIn = Note.IsFirst && Note.Chord != PrevChord;
    Note.ChordChangeOut = Note.IsLast && Note.Chord != Note.NextChord;
    Note.AtChordChange = Note.ChordChangeIn || Note.ChordChangeOut;

    Note.Length96 = unit.NoteLength(bar, step) * 96 / steps;
    Note.NextLength96 = nextBar != -1 ? unit.NoteLength(nextBar, nextStep) * 96 / steps : 0;

    const int level = Levels[static_cast<std::size_t>(bar)];
    Anchor = PitchAtOrAbove(scale, Note.Chord, level, 3);
    Note.Upper = PitchBelow(scale, Note.Chord, level + 5, 3);
    Note.Lower = PitchAbove(scale, Note.Chord, level - 5, 3);

    const bool closing = unit.Cadence != 0;
    Note.IsFinalNote = closing && nextBar == -1;
    Note.NextIsFinal = closing && nextBar != -1 && noneAfterNext;

    Note.RestFollows = unit.IsFollowedByRest(bar, step);
    Note.CanCopy = bar > ModelBar;

    // In the first bar the model is the bar itself, whose entry here was just reset.
    const std::size_t modelAt = StepIndex(ModelBar, step);
    const int modelInterval = Intervals[modelAt];
    if (modelInterval != NoInterval)
    {
        Note.CopyDirection = (modelInterval > 0) - (modelInterval < 0);
        if (InvertCopy)
            Note.CopyDirection = -Note.CopyDirection;
        Note.CopyMark =
            Marks[modelAt] == ChordTone ? std::uint8_t{CopiedChordTone} : Marks[modelAt];
    }

    ChoosePitch();

    const std::size_t at = StepIndex(bar, step);
    unit.SetMelody(bar, step, Note.Pitch);
    Intervals[at] = WrapToByte(Note.Pitch - Prev);
    Marks[at] = Mark;

    Prev2 = Prev;
    Prev = Note.Pitch;
    PrevChord = Note.Chord;
    PrevInterval = Intervals[at];
    PrevMark = Mark;
    if (Prev >= Note.Upper && !TopReached)
        TopReached = true;
}

void TComposer::ChoosePitch()
{
    // Conditions short-circuit from left to right: a draw is made only when the parts before
    // it allow, and the order of the draws is what makes a seed reproducible.
    const int d0 = Direction;
    ChooseDirection(d0);
    ChooseMark();
    DrawMark();
    FitMarkToRange();
    const bool cadenceFixed = ResolveAfterDominant();
    PlacePitch();
    ApplyCadenceRules(cadenceFixed);

    ChordToneRun = ToneWeight(UnitScale(), Note.Chord, Note.Pitch) == 3 ? ChordToneRun + 1 : 0;
    Streak = ((d0 > 0 && Direction > 0) || (d0 < 0 && Direction < 0)) ? Streak + 20 : 0;
}

/// The melodic direction: the previous note's motion, the bar's targets and the model bar
/// steer it after a chord tone; the bar's range bounds it.
void TComposer::ChooseDirection(int d0)
{
    const int scale = UnitScale();
    // Direction.
    if (PrevMark == ChordTone)
    {
        if (PrevInterval > 6)
            Direction = -1; // after a leap up of more than a tritone, turn back
        else
        {
            if (Note.Position96 % 24 == 12 && Draw100() < 50)
                Direction = 0;
            if (Draw100() < Note.Position96 / 3)
            {
                if (Prev > NextBarTarget)
                    Direction = -1;
                else if (Prev < NextBarTarget)
                    Direction = 1;
            }
            if (Draw100() < 34 - Note.Position96 / 3)
            {
                if (Prev > Anchor)
                    Direction = -1;
                else if (Prev < Anchor)
                    Direction = 1;
            }
            if (TopReached && Draw100() < 30)
                Direction = -1;
            if (Draw100() < Streak - 30)
                Direction = -d0;
            if (Draw100() < CopyRate)
                Direction = Note.CopyDirection;
            if (Draw100() < 34 - CopyRate / 3 && Prev <= Note.Lower + 2)
                Direction = 1;
            if (!TopReached && Draw100() < 50 - CopyRate)
            {
                if (Draw100() < 60)
                    Direction = 1;
                if (Draw100() < 20)
                {
                    const int to = MoveBy(scale, Note.Chord, Prev, 3, 2);
                    if (Note.Lower <= to && to <= Note.Upper)
                        Direction = 2;
                }
                if (Draw100() < 10)
                {
                    const int to = MoveBy(scale, Note.Chord, Prev, 3, 3);
                    if (Note.Lower <= to && to <= Note.Upper)
                        Direction = 3;
                }
            }
        }
    }

    // Bounds of the bar's range.
    if (Direction > 0 && Prev >= Note.Upper)
        Direction = -1;
    if (Direction < 0 && Prev <= Note.Lower)
        Direction = 1;
}

/// The note kind: perhaps the model bar's, then cleared where the context rules it out.
void TComposer::ChooseMark()
{
    // Note kind, perhaps taken over from the model bar.
    Mark = ChordTone;
    if (Note.CanCopy && Draw100() < CopyRate &&
        (TopReached || Direction < 0 || Draw100() < CopyRate))
    {
        Mark = Note.CopyMark;
        if (Mark == CopiedChordTone && Draw100() < ChordToneRun * 20)
            Mark = ChordTone;
    }
    if (PrevMark == PassingTone)
        Mark = PassingTone; // a passing line continues

    const auto neighbourOrPassing = [this] { return Mark == NeighbourTone || Mark == PassingTone; };
    if (neighbourOrPassing() && (Note.IsBarEdge || Note.RestFollows))
        Mark = ChordTone;
    if (Mark == Appoggiatura && (Note.IsLast || Note.RestFollows))
        Mark = ChordTone;
    if (neighbourOrPassing() && Note.AtChordChange)
        Mark = ChordTone;
    if (Mark == Appoggiatura && Note.ChordChangeOut)
        Mark = ChordTone;
    if (neighbourOrPassing() && Note.Length96 >= 2 * Note.NextLength96)
        Mark = ChordTone;
    if (Mark == Appoggiatura && Note.NextLength96 >= 2 * Note.Length96)
        Mark = ChordTone;
    if ((Mark == NeighbourTone && Direction < 0) || (Mark == PassingTone && Direction > 1) ||
        (Mark == Appoggiatura && Direction < 0))
        Mark = ChordTone;
}

/// After a chord tone that stays one, perhaps a non-chord note, drawn by weight.
void TComposer::DrawMark()
{
    // Weighted choice of a non-chord note; short notes lean to neighbour and passing notes,
    // long ones to appoggiaturas, and a run of chord notes pushes away from another.
    if (PrevMark == ChordTone && Mark == ChordTone && Direction < 2 && Draw100() < 100 - CopyRate)
    {
        const int len = std::clamp(Note.Length96, 1, 50);
        int wN = (200 / len + 20) * NeighbourRate / 100;
        int wP = (200 / len + 40) * PassingRate / 100;
        int wA = (len / 2 + 20) * AppoggiaturaRate / 100;
        const int wC = std::max(0, (200 / len + 30) * (100 - 25 * ChordToneRun) / 100);
        if (Note.IsBarEdge || Note.RestFollows || Note.AtChordChange)
            wN = wP = 0;
        if (Note.IsLast || Note.RestFollows || Note.ChordChangeOut)
            wA = 0;
        if (Note.Length96 >= 2 * Note.NextLength96)
            wN = wP = 0;
        if (Note.NextLength96 >= 2 * Note.Length96)
            wA = 0;
        if (Direction < 0)
            wN = wA = 0;
        if (Direction > 1)
            wP = 0;
        const int t = static_cast<int>(Random(static_cast<std::uint32_t>(wC + wP + wN + wA)));
        if (t < wN)
            Mark = NeighbourTone;
        else if (t < wN + wP)
            Mark = PassingTone;
        else if (t < wN + wP + wA)
            Mark = Appoggiatura;
        else
            Mark = ChordTone;
    }
}

/// Keeps the kind only when the notes it needs lie within the bar's range; sets Target.
void TComposer::FitMarkToRange()
{
    const int scale = UnitScale();
    // Checks of the kind against the bar's range.
    const auto outside = [this](int p) { return p >= Note.Upper || p < Note.Lower; };
    switch (Mark)
    {
    case PassingTone:
    {
        const int goal = MoveBy(scale, Note.Chord, Prev, 3, Direction);
        if (goal > Note.Upper || goal < Note.Lower)
            Mark = ChordTone;
        break;
    }
    case NeighbourTone:
    case Appoggiatura:
        Target = Mark == NeighbourTone ? Prev : MoveBy(scale, Note.Chord, Prev, 3, Direction);
        if (outside(Target))
        {
            Target = MoveBy(scale, Note.Chord, Prev, 3, -Direction);
            if (Note.Lower < Target && Target < Note.Upper)
                Direction = -Direction;
        }
        if (outside(Target))
            Mark = ChordTone;
        break;
    case CopiedChordTone:
        Mark = ChordTone;
        break;
    default:
        break;
    }
}

/// True when the chord after V fixed the direction and kind of the note.
bool TComposer::ResolveAfterDominant()
{
    bool fixed = false;
    // After V the leading note rises and the seventh of V falls.
    if (PrevChord == DegreeV && IsTonicOrSubmediant(Note.Chord))
    {
        if (PitchClass(Prev) == 11)
        {
            Direction = 1;
            Mark = ChordTone;
            fixed = true;
        }
        if (PitchClass(Prev) == 5)
        {
            Direction = -1;
            Mark = ChordTone;
            fixed = true;
        }
    }

    return fixed;
}

/// The pitch for the direction and kind.
void TComposer::PlacePitch()
{
    const int scale = UnitScale();
    // Pitch.
    if (PrevMark == NeighbourTone || PrevMark == Appoggiatura)
        Note.Pitch = Target; // the previous note resolves
    else if (Mark == NeighbourTone || Mark == Appoggiatura)
        Note.Pitch = Direction >= 0 ? PitchAbove(scale, Note.Chord, Target, 1)
                                    : PitchBelow(scale, Note.Chord, Target, 1);
    else if (Mark == PassingTone)
    {
        Note.Pitch = MoveBy(scale, Note.Chord, Prev, 1, Direction);
        if (ToneWeight(scale, Note.Chord, Note.Pitch) == 3)
            Mark = ChordTone;
    }
    else
        Note.Pitch = MoveBy(scale, Note.Chord, Prev, 3, Direction);
}

/// Corrections of the placed pitch: the closing tonic, forbidden intervals and the
/// tendency tones around V.
void TComposer::ApplyCadenceRules(bool cadenceFixed)
{
    const int scale = UnitScale();
    // A closing unit ends on the tonic.
    if (!cadenceFixed && Note.Chord == DegreeI && Note.IsFinalNote && PitchClass(Note.Pitch) != 0)
    {
        Note.Pitch = (Prev2 == 4 && Prev == 7) ? 0 : (Prev >= 6 ? 12 : 0);
        Mark = ChordTone;
    }

    // No rising tritone.
    if (Note.Pitch == Prev + 6)
    {
        Note.Pitch = PitchBelow(scale, Note.Chord, Note.Pitch, 3);
        Mark = ChordTone;
    }

    // No augmented second up to the raised seventh in minor.
    if (IsMinor() && PitchClass(Note.Pitch) == 11 && Note.Pitch == Prev + 3)
    {
        Note.Pitch = PitchBelow(scale, Note.Chord, Note.Pitch, 3);
        Mark = ChordTone;
    }

    // Reach the final tonic from the second degree.
    if (Note.NextChord == DegreeI && Note.NextIsFinal)
    {
        if (PitchClass(Note.Pitch) == 5)
        {
            Note.Pitch = PitchBelow(scale, Note.Chord, Note.Pitch, 3);
            Mark = ChordTone;
        }
        if (PitchClass(Note.Pitch) == 0 &&
            ((IsMajor() && Prev == Note.Pitch + 4) || (IsMajor() && Prev == Note.Pitch - 1) ||
             (IsMinor() && Prev == Note.Pitch + 3)))
        {
            Note.Pitch += 2;
            Mark = PassingTone;
        }
    }

    // No early tonic on a lone note after V.
    if (PrevChord == DegreeV && IsTonicOrSubmediant(Note.Chord) && Note.NotesInBar == 1 &&
        !Note.IsFinalNote && PitchClass(Note.Pitch) == 0)
    {
        Note.Pitch = Note.Pitch > 0 ? PitchBelow(scale, Note.Chord, Note.Pitch, 3)
                                    : PitchAbove(scale, Note.Chord, Note.Pitch, 3);
        Mark = ChordTone;
    }

    // Before V goes to I or VI, keep the note that must resolve off a lone next note.
    if (Note.Chord == DegreeV && IsTonicOrSubmediant(Note.NextChord) && Note.NotesInNextBar == 1 &&
        ((Note.NextIsFinal && PitchClass(Note.Pitch) == 5) ||
         (!Note.NextIsFinal && PitchClass(Note.Pitch) == 11)))
    {
        const bool down = Direction > 0;
        Note.Pitch = down ? PitchBelow(scale, Note.Chord, Note.Pitch, 3)
                          : PitchAbove(scale, Note.Chord, Note.Pitch, 3);
        if (Note.Pitch == Prev)
            Note.Pitch = down ? PitchBelow(scale, Note.Chord, Note.Pitch, 3)
                              : PitchAbove(scale, Note.Chord, Note.Pitch, 3);
        Mark = ChordTone;
    }
}
