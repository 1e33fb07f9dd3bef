#pragma once

#include <string>

// How the notation names pitches and chords: key signatures on the line of fifths, each
// pitch spelled for the key, chord symbols as the accompaniment sounds them.

/// A written pitch: step letter, alteration in semitones and octave (middle C is C4).
struct TSpelledPitch
{
    char Step = 'C';
    int Alter = 0;
    int Octave = 4;
};

/// The key signature of a song key (the program's Key: semitones above C of the major
/// scale; a minor song is in its relative minor), as sharps (> 0) or flats (< 0): -6..5.
int KeyFifths(int key);

/// The name of the key as a musician says it: "G", "Bb", "F#m".
std::string KeyName(int key, bool minor);

/// A MIDI pitch spelled for the key signature: the key's own notes as the signature has
/// them, the others as the nearest sharps or flats (in minor the raised seventh as a sharp).
TSpelledPitch SpellPitch(int midiPitch, int fifths, bool minor);

/// The kinds of chord the accompaniment plays.
enum class TChordKind
{
    Major,
    Minor,
    Diminished,
    MajorSeventh,
    MinorSeventh,
    Dominant,
    HalfDiminished,
};

/// A chord symbol: its root spelled for the key and its kind.
struct TChordSymbol
{
    char RootStep = 'C';
    int RootAlter = 0;
    TChordKind Kind = TChordKind::Major;
};

/// The chord of a degree (1..6) as the backing patterns sound it in the key and scale: the
/// triad, or with seventh chords the triad with the pattern's seventh moved onto it (major
/// seventh over a major chord, minor seventh over minor, dominant over V, half-diminished
/// over a diminished one).
TChordSymbol ScoreChordSymbol(int degree, int key, int scale, bool use7th);

/// The kind as MusicXML writes it: "major", "minor-seventh", ...
const char* MusicXmlKindName(TChordKind kind);
/// What follows the root in the symbol: "", "m", "dim", "maj7", "m7", "7", "m7b5".
const char* ScoreChordSuffix(TChordKind kind);
/// The symbol as a lead sheet prints it: "C", "Am", "Bdim", "Cmaj7", "Am7", "G7", "Bm7b5".
std::string ScoreChordName(const TChordSymbol& chord);
