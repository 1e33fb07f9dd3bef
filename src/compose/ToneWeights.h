#pragma once

// The scale search over working pitches (0 is the tonic) of a scale (0 major, 1 minor).

/// 0 outside the scale, 1 a scale note clashing with the chord, 2 a scale note, 3 a chord
/// note. Degrees above 6 and scales other than major and minor weigh 0.
int ToneWeight(int scale, int chord, int pitch);
/// The nearest pitch above (below) within an octave whose weight is at least minWeight; the
/// pitch itself when there is none.
int PitchAbove(int scale, int chord, int pitch, int minWeight);
int PitchBelow(int scale, int chord, int pitch, int minWeight);
int PitchAtOrAbove(int scale, int chord, int pitch, int minWeight);
/// Moves count qualifying pitches up (count > 0) or down. A count of 0 from a pitch that does
/// not qualify draws the side at random.
int MoveBy(int scale, int chord, int pitch, int minWeight, int count);
