#include "model/UnitEditing.h"

#include "model/Munit.h"
#include "model/MusicFunctions.h"

#include <algorithm>

int SteppedMelodyPitch(int pitch, int direction, int scale, int chord, bool chromatic)
{
    int p = pitch + direction;
    if (!chromatic)
    {
        const int c = PitchClass(p);
        if (scale == 1 && chord == 5)
        {
            // Harmonic minor over the dominant: the raised seventh replaces the plain one.
            if (c == 1 || c == 3 || c == 10)
                p += direction;
            else if (c == 6)
                p = direction > 0 ? p + 2 : p - 1;
            else if (c == 7)
                p = direction > 0 ? p + 1 : p - 2;
        }
        else if (c == 1 || c == 3 || c == 6 || c == 8 || c == 10)
            p += direction;
    }
    return std::clamp(p, LowestEditedPitch, HighestEditedPitch);
}

int NoteOnsetAt(const TMunit& unit, int bar, int step)
{
    // Walk left over the note's holds to its onset.
    for (; step >= 0; --step)
    {
        const char rhythm = unit.GetRhythm(bar, step);
        if (rhythm == RhythmOnset)
            return step;
        if (rhythm != RhythmHold)
            return -1;
    }
    return -1;
}

char CycledRhythm(char value, bool afterNote, bool backward)
{
    switch (value)
    {
    case RhythmRest:
        return backward ? RhythmOnset : (afterNote ? RhythmHold : RhythmOnset);
    case RhythmHold:
        return backward ? RhythmRest : RhythmOnset;
    case RhythmOnset:
        return backward && afterNote ? RhythmHold : RhythmRest;
    default:
        return value;
    }
}

namespace
{
/// The pitch a new onset at step of bar sounds.
int NewOnsetPitch(const TMunit& unit, int bar, int step)
{
    for (int earlier = step - 1; earlier >= 0; --earlier)
        if (unit.GetRhythm(bar, earlier) == RhythmOnset)
            return unit.GetMelody(bar, earlier);
    const int root = ChordRootOffset(unit.GetChord(bar, step / 2), unit.Scale());
    return root < 0 ? root + 12 : root;
}

/// Turns the steps after step of bar that hold from into to, up to the first that does not.
void ReplaceFollowing(TMunit& unit, int bar, int step, char from, char to)
{
    for (int next = step + 1; next < unit.StepsPerBar() && unit.GetRhythm(bar, next) == from;
         ++next)
        unit.SetRhythm(bar, next, to);
}
} // namespace

void CycleRhythmStep(TMunit& unit, int bar, int step, bool backward)
{
    if (step < 0 || step >= unit.StepsPerBar())
        return;
    const char before = step == 0 ? RhythmRest : unit.GetRhythm(bar, step - 1);
    const char old = unit.GetRhythm(bar, step);
    const char now = CycledRhythm(old, before == RhythmOnset || before == RhythmHold, backward);
    unit.SetRhythm(bar, step, now);
    if (old != RhythmOnset && now == RhythmOnset)
        unit.SetMelody(bar, step, NewOnsetPitch(unit, bar, step));
    if (now == RhythmOnset || now == RhythmHold)
        ReplaceFollowing(unit, bar, step, RhythmRest, RhythmHold);
    else if (now == RhythmRest)
        ReplaceFollowing(unit, bar, step, RhythmHold, RhythmRest);
}
