#pragma once

// The harmony of a unit's chord degrees (1..6 = I..VI) in a scale (0 major, 1 minor), in
// semitones from the reference pitch.

/// 0 major, 1 diminished, 2 minor, 3 dominant seventh.
int ChordQuality(int degree, int scale);
/// Semitones from the reference pitch to the chord root.
int ChordRootOffset(int degree, int scale);
/// 0..11 for any n.
int PitchClass(int n);
/// Moves a note written over chord I of C major onto the chord.
int PatternNoteForChord(int degree, int scale, int note);
/// The harmony note under a melody pitch.
int HarmonyPitch(int degree, int scale, int pitch);
