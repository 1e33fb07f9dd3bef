#pragma once

class TMidiData;
class TMusicProject;

/// How a song or a unit is rendered for a MIDI file.
struct TExportOptions
{
    /// How often the song's entries play (a unit plays once).
    int RepeatCount = 1;
    /// The General MIDI lead-in bar first.
    bool IncludeReset = false;
    /// A name for each track (AddTrackNames); without it the file has none.
    bool TrackNames = false;
};

/// The song (entry 0) or the unit of entry, as exported: RenderSong or RenderUnitPlayback,
/// then the track names of the song's first property set or of the unit's own. False, with
/// midi untouched, when entry is neither 0 nor a unit of the song.
bool RenderExport(const TMusicProject& song, int entry, const TExportOptions& options,
                  TMidiData& midi);
