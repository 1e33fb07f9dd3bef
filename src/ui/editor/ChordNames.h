#pragma once

#include <QString>

class TMunit;

/// The chord symbol of half a bar of the unit (beat 0 or 2 of the bar) as the accompaniment
/// sounds it in the key, scale and sevenths of the unit's properties: "C", "Am7", "Bdim";
/// empty when the beat holds no chord I to VI.
QString HalfBarChordName(const TMunit& unit, int bar, int half);
