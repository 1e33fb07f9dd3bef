#pragma once

#include <cstdint>

class TArrangeList;
class TMidiData;
class TMunit;
class TPatternCache;

/// The library that feeds accompaniment track 1..4: backing, backing, bass, drums.
const TArrangeList& PartLibrary(int track);

/// Renders the unit from startTick: the melody (and its harmony voice) on track 0, then
/// Acomp. 1, Acomp. 2, Bass and Drums on tracks 1..4 from their patterns, fitted to the
/// unit's chords. The unit's Property must be set (ELyravaneError otherwise). Pattern files
/// come through patterns; a missing or malformed one ends the rendering with its error.
void RenderToMidi(const TMunit& unit, TMidiData& midi, std::int32_t startTick,
                  TPatternCache& patterns);
/// The same with a pattern cache of its own.
void RenderToMidi(const TMunit& unit, TMidiData& midi, std::int32_t startTick);

/// Renders unit bar `bar` of one accompaniment part from the loaded pattern: every note is
/// moved onto the chord of its beat, cut where the chord changes and struck again in the
/// new chord. The channel picks the pattern bar (1 and 2 backing, 9 drums, else bass).
void RenderPatternBar(const TMunit& unit, TMidiData& midi, int track, int bar,
                      std::int32_t barStartTick, int channel, const TMidiData& pattern, int key,
                      bool use7th, bool altSnare);
