#include "render/TrackNames.h"

#include "midi/GmInstruments.h"
#include "midi/MidiData.h"
#include "model/Muprop.h"
#include "model/MusicProject.h"

#include <algorithm>
#include <cstddef>
#include <memory>

namespace
{
/// An instrument list's caption without its "001." program number.
std::string WithoutNumber(const char* caption)
{
    const std::string text = caption;
    const std::size_t dot = text.find('.');
    return dot == std::string::npos ? text : text.substr(dot + 1);
}
} // namespace

const char* PartName(int track)
{
    static const char* const parts[TrackCount] = {"Melod\xC3\xAD"
                                                  "a",
                                                  "Acomp. 1", "Acomp. 2", "Bajo",
                                                  "Bater\xC3\xAD"
                                                  "a"};
    return parts[std::clamp(track, 0, TrackCount - 1)];
}

std::string InstrumentName(const TMuprop& property, int track)
{
    const int instrument = property.GetTrack(track).Instrument;
    // As the instrument lists show them: a drum kit outside the list plays the first kit.
    const char* caption =
        track == DrumTrack
            ? DrumSetNames[static_cast<std::size_t>(
                  instrument >= 0 && instrument < static_cast<int>(DrumSetNames.size()) ? instrument
                                                                                        : 0)]
            : GmInstrumentNames[static_cast<std::size_t>(std::clamp(instrument, 0, 127))];
    return WithoutNumber(caption);
}

std::string ExportTrackName(const TMuprop& property, int track)
{
    return std::string(PartName(track)) + ": " + InstrumentName(property, track);
}

void AddTrackNames(TMidiData& midi, const TMuprop& property)
{
    if (midi.TrackCount() < TrackCount)
        midi.SetTrackCount(TrackCount);
    for (int track = 0; track < TrackCount; ++track)
    {
        const std::string name = ExportTrackName(property, track);
        auto event = std::make_unique<TMidiEvent>(0, 0);
        // Meta event 03, the name's bytes after its two leading bytes.
        event->Data.assign(name.size() + 2, 0);
        event->Data[0] = 0xFF;
        event->Data[1] = 0x03;
        std::copy(name.begin(), name.end(), event->Data.begin() + 2);
        midi.GetTrack(track)->Insert(0, std::move(event));
    }
}

void AddTrackNames(TMidiData& midi, const TMusicProject& song)
{
    for (int i = 0; i < song.Count(); ++i)
        if (const TMuprop* property = song.PropertyAt(i))
        {
            AddTrackNames(midi, *property);
            return;
        }
}
