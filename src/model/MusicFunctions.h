#pragma once

#include <string>

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

/// The letter name of pitch class n mod 12: "C", "Db", "D", ... "B" with flats, as the key
/// labels spell them; "C#", "D#", ... with sharps.
std::string PitchClassName(int n, bool sharps = false);
/// The name of a chord degree as it sounds in a key (0 = C) and scale: root and quality
/// ("F", "Am", "Bdim"), with the seventh the seventh bars of the patterns add when seventh
/// is set ("Cmaj7", "G7", "Am7", "Bm7b5"). Empty for a degree outside 1..6.
std::string ChordName(int key, int scale, int degree, bool seventh);
/// A MIDI note in scientific pitch notation: 60 is "C4", 64 "E4", 61 "C#4" or "Db4".
std::string MidiNoteName(int note, bool sharps = false);
