#pragma once

class TMunit;

/// Fills the chords of the unlocked bars of one unit with one of sixteen fixed four-bar
/// progressions, drawn at random: closing rows end on I, open rows never do.
class TChordMaker
{
public:
    /// The unit to work on; not owned.
    void SetMunit(TMunit* unit) { FUnit = unit; }
    /// One draw of the row, then the row's degree on beats 1 and 3 of every unlocked bar.
    void MakeChords();

private:
    TMunit* FUnit = nullptr; // not owned
};
