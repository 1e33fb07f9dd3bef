// Fuzz target: rendering.
//
// The first byte chooses: bit 0 clear, a 640-byte property record followed by a 256-byte
// unit record, rendered as "play the unit"; bit 0 set, a whole project file, rendered as
// the song; bit 1 the General MIDI lead-in; bits 2..3 the repeat count of the song (1..4).
// The first byte of each pattern name picks an entry of its library by position (one past
// the end: a name no library lists), so the fuzzer reaches every shipped pattern.
//
// The rendering, written with our writer, must read back with our reader, keep every data
// byte within 7 bits and every note within 0..127, and hold every note it rendered.

#include "FuzzCheck.h"

#include "base/Exceptions.h"
#include "midi/ArrangeList.h"
#include "midi/MidiData.h"
#include "model/Munit.h"
#include "model/Muprop.h"
#include "model/MusicProject.h"
#include "render/PatternCache.h"
#include "render/RenderSong.h"
#include "render/RenderUnit.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#ifndef LYRAVANE_PATTERN_DIR
#define LYRAVANE_PATTERN_DIR "data/PATTERN"
#endif

namespace
{
/// The shipped libraries, loaded once; LYRAVANE_FUZZ_PATTERN_DIR names another directory.
TPatternCache& Patterns()
{
    static TPatternCache* cache = []
    {
        const char* dir = std::getenv("LYRAVANE_FUZZ_PATTERN_DIR");
        LoadPatternLibraries(dir != nullptr && *dir != '\0' ? dir : LYRAVANE_PATTERN_DIR);
        if (BackPatterns.Count() == 0 || BassPatterns.Count() == 0 || DrumPatterns.Count() == 0)
        {
            std::fprintf(stderr, "fuzz_render: the pattern libraries are empty\n");
            std::abort();
        }
        // Kept for the whole run: every pattern file is read once.
        return new TPatternCache();
    }();
    return *cache;
}

void PickPatterns(TMuprop& property)
{
    for (int slot = 0; slot < PatternSlotCount; ++slot)
    {
        const TArrangeList& library = PartLibrary(slot + 1);
        const std::string& stored = property.GetPatternName(slot);
        const auto pick =
            static_cast<std::size_t>(stored.empty() ? 0 : static_cast<std::uint8_t>(stored[0]));
        const std::size_t index = pick % (library.Names.size() + 1);
        property.SetPatternName(slot, index < library.Names.size() ? library.Names[index]
                                                                   : std::string("None"));
    }
}

/// Checks the sequence and counts its notes.
std::size_t CheckSequence(const TMidiData& midi)
{
    std::size_t notes = 0;
    for (const auto& track : midi.Tracks)
    {
        for (const auto& event : track->Items())
        {
            const std::uint8_t status = event->Status();
            if (status < 0x80 || status >= 0xF0)
                continue;
            for (std::size_t i = 1; i < event->Data.size(); ++i)
                FUZZ_CHECK(event->Data[i] < 0x80);
            if ((status & 0xF0) == 0x90 && event->Data.size() >= 3 && event->Data[2] > 0)
            {
                FUZZ_CHECK(event->Duration >= 0);
                ++notes;
            }
        }
    }
    return notes;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    TPatternCache& patterns = Patterns();
    const std::uint8_t options = data[0];
    const bool wholeSong = (options & 1) != 0;
    const bool includeReset = (options & 2) != 0;
    const int repeatCount = 1 + ((options >> 2) & 3);
    std::istringstream in(std::string(reinterpret_cast<const char*>(data) + 1, size - 1),
                          std::ios::binary);

    TMidiData midi;
    try
    {
        if (wholeSong)
        {
            TMusicProject song;
            song.LoadFromStream(in);
            for (int i = 0; i < song.Count(); ++i)
                if (TMuprop* property = song.PropertyAt(i))
                    PickPatterns(*property);
            RenderSong(song, midi, repeatCount, includeReset, patterns);
        }
        else
        {
            TMuprop property;
            property.ReadFromStream(in);
            TMunit unit;
            unit.ReadFromStream(in);
            PickPatterns(property);
            unit.SetProperty(&property);
            // As "Reproducir partitura" does, through the shared pattern cache.
            midi.SetTrackCount(TrackCount);
            const std::int32_t tick = includeReset ? AddLeadIn(midi) : 0;
            property.EmitTrackSetup(midi, tick, nullptr);
            RenderToMidi(unit, midi, tick, patterns);
        }
    }
    catch (const ELyravaneError&)
    {
        return 0;
    }
    const std::size_t notes = CheckSequence(midi);

    const std::string written = midi.SaveToString();
    TMidiData again;
    try
    {
        again.LoadFromString(written);
    }
    catch (const ELyravaneError& error)
    {
        std::fprintf(stderr, "the rendering did not read back: %s\n", error.what());
        std::abort();
    }
    FUZZ_CHECK(again.TrackCount() == midi.TrackCount());
    FUZZ_CHECK(CheckSequence(again) == notes);
    return 0;
}
