// Fuzz target: the unit record reader, the payload of a paste.
//
// The input is a 256-byte unit record as another program may have put it on the clipboard,
// optionally followed by one byte: bit 0 the scale of the song it lands in, bits 1..4 the
// bars the user locked, the rest the seed of the melody composer. A record either pastes
// or is refused with the unit untouched; a pasted unit writes back a record that reads to
// the same unit; the bar functions and the melody composer work on whatever it holds.

#include "FuzzCheck.h"

#include "base/Exceptions.h"
#include "base/Random.h"
#include "compose/Composer.h"
#include "model/Munit.h"
#include "model/Muprop.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace
{
constexpr std::size_t RecordSize = 256;

std::string Record(const TMunit& unit)
{
    std::ostringstream out(std::ios::binary);
    unit.WriteToStream(out);
    return out.str();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    TMunit unit;
    const std::string fresh = Record(unit);
    {
        std::istringstream in(bytes, std::ios::binary);
        try
        {
            unit.ReadFromStream(in);
        }
        catch (const ELyravaneError&)
        {
            FUZZ_CHECK(Record(unit) == fresh);
            return 0;
        }
    }
    FUZZ_CHECK(size >= RecordSize);

    const std::string first = Record(unit);
    FUZZ_CHECK(first.size() == RecordSize);
    {
        TMunit again;
        std::istringstream in(first, std::ios::binary);
        again.ReadFromStream(in);
        FUZZ_CHECK(Record(again) == first);
    }

    for (int bar = -1; bar <= unit.BarCount; ++bar)
    {
        int onsets = 0;
        for (int step = -1; step <= unit.StepsPerBar(); ++step)
        {
            const int length = unit.NoteLength(bar, step);
            FUZZ_CHECK(length >= 0 && length <= unit.StepsPerBar());
            FUZZ_CHECK((length > 0) == (unit.GetRhythm(bar, step) == RhythmOnset));
            if (length > 0)
                FUZZ_CHECK(unit.NoteOrdinal(bar, step) == ++onsets);
            unit.IsFollowedByRest(bar, step);
        }
        FUZZ_CHECK(unit.NoteCount(bar) == onsets);
    }

    // Paste into a song, then "Comp. Automatica" on it: the composer must cope with every
    // chord and rhythm byte a record can carry, and leave locked bars alone.
    const std::uint8_t extra = size > RecordSize ? data[RecordSize] : 0;
    TMuprop property;
    property.Scale = extra & 1;
    unit.SetProperty(&property);
    for (int bar = 0; bar < 4; ++bar)
        unit.SetLock(bar, (extra >> (1 + bar)) & 1);
    const TMunit before = unit;
    SetRandSeed(extra >> 5);
    TComposer composer;
    composer.SetMunit(&unit);
    composer.Compose();
    for (int bar = 0; bar < 4; ++bar)
    {
        if (unit.GetLock(bar) == 0)
            continue;
        for (int step = 0; step < unit.StepsPerBar(); ++step)
            FUZZ_CHECK(unit.GetMelody(bar, step) == before.GetMelody(bar, step));
    }
    FUZZ_CHECK(unit.Chords == before.Chords && unit.Rhythm == before.Rhythm);
    return 0;
}
