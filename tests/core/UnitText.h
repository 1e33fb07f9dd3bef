#pragma once

#include "model/Munit.h"

#include <string>

/// The chords of a bar of the unit as four degree digits, "1455".
inline std::string BarChords(const TMunit& unit, int bar)
{
    std::string chords;
    for (int beat = 0; beat < 4; ++beat)
        chords += static_cast<char>('0' + unit.GetChord(bar, beat));
    return chords;
}
