#pragma once

// What the bar editor's clicks do to a unit's rhythm and melody.

class TMunit;

/// The editor keeps the melody within these pitches.
constexpr int LowestEditedPitch = -12;
constexpr int HighestEditedPitch = 24;

/// The pitch a melody click moves pitch to: one semitone in direction (+1 or -1), then on
/// past the classes outside the scale (unless chromatic), then into LowestEditedPitch to
/// HighestEditedPitch. Over chord V of the minor scale the scale is harmonic minor.
int SteppedMelodyPitch(int pitch, int direction, int scale, int chord, bool chromatic);

/// The step of the onset of the note sounding at step of bar: step itself or the onset its
/// holds go back to; -1 at a rest.
int NoteOnsetAt(const TMunit& unit, int bar, int step);

/// What a click makes of a rhythm step: forward (the primary button) rest, hold, onset, rest
/// again; backward (the other button) the same round the other way. The hold is left out
/// where no note sounds in the step before (afterNote false). Any other value stays.
char CycledRhythm(char value, bool afterNote, bool backward);

/// A click on step of bar: the step turns as CycledRhythm says. A new onset repeats the
/// latest onset before it in the bar, or else sounds the chord root. Then a note swallows
/// the rests after it and a rest releases the holds after it. A step outside the bar
/// changes nothing.
void CycleRhythmStep(TMunit& unit, int bar, int step, bool backward);
