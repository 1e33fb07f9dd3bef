#include "render/PatternPreview.h"

#include "midi/MidiData.h"
#include "model/Munit.h"
#include "model/Muprop.h"
#include "render/PatternCache.h"
#include "render/RenderSong.h"
#include "render/RenderUnit.h"

#include <stdexcept>
#include <string>

void RenderPatternPreview(TMuprop& property, int slot, TMidiData& midi, bool includeReset)
{
    if (slot < 1 || slot > PatternSlotCount)
        throw std::out_of_range("pattern slot " + std::to_string(slot) + " is outside 1..4");
    if (midi.TrackCount() < TrackCount)
        midi.SetTrackCount(TrackCount);
    const std::int32_t barLength = midi.BarLength();
    const std::int32_t start = includeReset ? AddLeadIn(midi) : 0;
    property.EmitTrackSetup(midi, start, nullptr);

    // A scratch unit with chord I throughout, so the pattern sounds as it was written
    // (transposed by the key).
    TMunit unit(4, 4);
    unit.SetProperty(&property);
    for (int bar = 0; bar < unit.BarCount; ++bar)
        unit.SetChordRun(bar, 0, 1);

    const int track = slot;
    TPatternCache patterns;
    const TMidiData* pattern = patterns.Find(PartLibrary(track), property.GetPatternName(slot - 1));
    if (pattern == nullptr)
        return;
    for (int bar = 0; bar < 2; ++bar)
        RenderPatternBar(unit, midi, track, bar, start + bar * barLength, TrackChannel(track),
                         *pattern, property.Key, property.Scale, property.Use7th != 0,
                         property.AltSnare != 0);
}
