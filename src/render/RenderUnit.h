#pragma once

#include <cstdint>

class TArrangeList;
class TMidiData;
class TMunit;
class TMuprop;
class TPatternCache;

/// The library that feeds accompaniment track 1..4: backing, backing, bass, drums.
const TArrangeList& PartLibrary(int track);

/// Whether a pattern leaves its channel changed for what plays after it: it sends a
/// controller the properties do not own (expression, modulation, a pedal...), pitch bend or
/// pressure.
bool ChangesChannelState(const TMidiData& pattern);

/// Renders the unit under the given property set from startTick: the melody (and its
/// harmony voice) on track 0, then Acomp. 1, Acomp. 2, Bass and Drums on tracks 1..4 from
/// their patterns, fitted to the unit's chords. A null property raises ELyravaneError.
/// Pattern files come through patterns; a missing or malformed one ends the rendering with
/// its error.
void RenderToMidi(const TMunit& unit, const TMuprop* property, TMidiData& midi,
                  std::int32_t startTick, TPatternCache& patterns);
/// The same under the unit's own Property.
void RenderToMidi(const TMunit& unit, TMidiData& midi, std::int32_t startTick,
                  TPatternCache& patterns);
/// The same under the unit's own Property, with a pattern cache of its own.
void RenderToMidi(const TMunit& unit, TMidiData& midi, std::int32_t startTick);

/// The MIDI note a melody pitch of a unit sounds under property: the key's C (an octave
/// higher with OctaveUp) plus the pitch, folded into the MIDI range.
int MelodyNote(const TMuprop& property, int pitch);

/// Renders unit bar `bar` of one accompaniment part from the loaded pattern: every note is
/// moved onto the chord of its beat, cut where the chord changes and struck again in the
/// new chord of the scale. The channel picks the pattern bar (1 and 2 backing, 9 drums,
/// else bass).
void RenderPatternBar(const TMunit& unit, TMidiData& midi, int track, int bar,
                      std::int32_t barStartTick, int channel, const TMidiData& pattern, int key,
                      int scale, bool use7th, bool altSnare);
