#include "render/RenderExport.h"

#include "model/Munit.h"
#include "model/MusicProject.h"
#include "render/RenderSong.h"
#include "render/TrackNames.h"

bool RenderExport(const TMusicProject& song, int entry, const TExportOptions& options,
                  TMidiData& midi)
{
    if (entry == 0)
    {
        RenderSong(song, midi, options.RepeatCount, options.IncludeReset);
        if (options.TrackNames)
            AddTrackNames(midi, song);
        return true;
    }
    const TMunit* unit = entry > 0 && entry < song.Count() ? song.UnitAt(entry) : nullptr;
    if (unit == nullptr)
        return false;
    RenderUnitPlayback(*unit, midi, options.IncludeReset);
    if (options.TrackNames && unit->Property != nullptr)
        AddTrackNames(midi, *unit->Property);
    return true;
}
