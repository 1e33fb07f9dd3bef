#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TMidiData;
class TMunit;
class TMusicProject;
class TPatternCache;

/// The General MIDI lead-in: System On and tempo 300 at tick 0 of track 0, so the reset
/// has 0.8 seconds of silence to settle. Returns the tick where the music starts (one bar).
std::int32_t AddLeadIn(TMidiData& midi);

/// The whole song, as played and exported: the lead-in bar with includeReset (closed by
/// controller 111 on its last tick), then every entry repeatCount times, a property set
/// sending only the settings that differ from the one before it. Each unit is rendered under
/// the property set sent last before it, whatever its own Property link; the song is not
/// changed. Each pattern file is read once, however many units use it.
void RenderSong(const TMusicProject& project, TMidiData& midi, int repeatCount, bool includeReset);
/// How long the song lasts as RenderSong renders it with these options, in seconds: the
/// lead-in bar with includeReset, then every unit repeatCount times at the tempo of the
/// property set before it.
double SongSeconds(const TMusicProject& project, int repeatCount, bool includeReset);

/// Where a unit of the song lies in its rendering.
struct TSongSpan
{
    /// The unit's entry in the song.
    int Entry = 0;
    std::int32_t FromTick = 0;
    std::int32_t ToTick = 0;
};

/// The same, reading pattern files through the given cache. "Reproducir desde aquí": with
/// fromEntry > 0 the first repetition starts at that entry, the settings of the property set
/// sent last before it sent in full first. layout, when given, gets every unit's span.
void RenderSong(const TMusicProject& project, TMidiData& midi, int repeatCount, bool includeReset,
                TPatternCache& patterns, int fromEntry = 0,
                std::vector<TSongSpan>* layout = nullptr);

/// "Reproducir partitura": the unit's own properties in full, then the unit once, after the
/// lead-in bar with includeReset.
void RenderUnitPlayback(const TMunit& unit, TMidiData& midi, bool includeReset);
/// Where the unit of entry lies in what RenderUnitPlayback makes of it: its bars, after the
/// lead-in bar with includeReset.
TSongSpan UnitPlaybackSpan(const TMunit& unit, int entry, bool includeReset);

/// A pattern a property set of the song names that no loaded library lists: its part is
/// silent wherever that property set governs.
struct TMissingPattern
{
    /// The property set's entry in the song.
    int Entry = 0;
    /// The track the pattern plays on (1 to 4: the two backing parts, bass, drums).
    int Track = 0;
    std::string Name;
};

/// Each missing pattern once per part, in song order; an empty name asks for no pattern and
/// is never missing.
std::vector<TMissingPattern> MissingPatterns(const TMusicProject& song);
/// "the pattern "X" of Acomp. 1 (entry 0) is in no pattern library; that part is silent"
std::string MissingPatternText(const TMissingPattern& missing);
