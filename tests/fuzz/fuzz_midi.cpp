// Fuzz target: the Standard MIDI File reader (pattern files, and any file a user drops in
// the pattern directory).
//
// Any byte string either loads or raises one of our own errors. A loaded sequence keeps
// every track in time order (the renderer searches it by time), and what our writer makes
// of it is a file whose channel messages carry only 7-bit data bytes, which our reader
// takes back with the same notes.

#include "FuzzCheck.h"

#include "base/Exceptions.h"
#include "midi/MidiData.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace
{
/// Checks the sequence and returns how many notes it holds.
std::size_t CheckSequence(const TMidiData& midi)
{
    std::size_t notes = 0;
    for (const auto& track : midi.Tracks)
    {
        std::int32_t last = 0;
        for (const auto& event : track->Items())
        {
            FUZZ_CHECK(event->Time >= last);
            last = event->Time;
            FUZZ_CHECK(!event->Data.empty());
            const std::uint8_t status = event->Status();
            FUZZ_CHECK(status >= 0x80);
            if (status < 0xF0)
            {
                const std::size_t expected = (status >= 0xC0 && status <= 0xDF) ? 2 : 3;
                FUZZ_CHECK(event->Data.size() == expected);
                for (std::size_t i = 1; i < expected; ++i)
                    FUZZ_CHECK(event->Data[i] < 0x80);
                if ((status & 0xF0) == 0x90)
                {
                    FUZZ_CHECK(event->Data[2] != 0);
                    FUZZ_CHECK(event->Duration >= -1);
                    ++notes;
                }
            }
        }
    }
    return notes;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TMidiData midi;
    try
    {
        midi.LoadFromString(bytes);
    }
    catch (const ELyravaneError&)
    {
        return 0;
    }
    const std::size_t notes = CheckSequence(midi);

    const std::string written = midi.SaveToString();
    // A sequence without tracks (a format 1 file that counts none) is written as a header
    // that says one track and an empty chunk, without the end-of-track event a reader
    // needs: the one file of ours that does not read back.
    if (midi.TrackCount() == 0)
    {
        const std::string emptyChunk("MTrk\0\0\0\0", 8);
        FUZZ_CHECK(written.size() == 22 && written.compare(14, 8, emptyChunk) == 0);
        return 0;
    }
    TMidiData again;
    try
    {
        again.LoadFromString(written);
    }
    catch (const ELyravaneError& error)
    {
        std::fprintf(stderr, "our own file did not read back: %s\n", error.what());
        std::abort();
    }
    FUZZ_CHECK(again.Format == 1);
    FUZZ_CHECK(again.TrackCount() == midi.TrackCount());
    FUZZ_CHECK(CheckSequence(again) == notes);
    return 0;
}
