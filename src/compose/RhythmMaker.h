#pragma once

#include <cstdint>

class TMunit;

/// Writes new rhythms into the unlocked bars of one unit from half-bar figures, later
/// half-bars repeating earlier ones by fixed weights, and resets those bars' melody to the
/// chord roots so the composer has something to start from.
class TRhythmMaker
{
public:
    /// Bars to make; the repeat weights and the closing rules are made for four.
    std::int32_t BarCount = 4;

    /// The unit to work on; not owned.
    void SetMunit(TMunit* unit) { FUnit = unit; }
    void MakeRhythm();

private:
    TMunit* FUnit = nullptr; // not owned
};
