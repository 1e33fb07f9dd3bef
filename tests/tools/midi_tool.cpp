// midi_tool: a small driver of the MIDI event list for cross-checks with other MIDI tools.
//
//   midi_tool write OUT.mid   writes a fixed sequence and prints its event lists
//   midi_tool dump IN.mid     reads a file and prints the event lists it gives
//
// Output: one line "format F tracks N division D lists L", then one line per event,
// list by list: "<list> <time> <duration> <bytes in hex>".

#include "base/Exceptions.h"
#include "midi/MidiData.h"

#include <cstdint>
#include <cstdio>
#include <exception>
#include <string>

namespace
{
void Dump(const TMidiData& midi)
{
    std::printf("format %d tracks %d division %d lists %d\n", midi.Format, midi.FileTrackCount,
                midi.FileDivision, midi.TrackCount());
    for (int t = 0; t < midi.TrackCount(); ++t)
    {
        for (const auto& event : *midi.GetTrack(t))
        {
            std::string hex;
            char byte[3];
            for (std::uint8_t b : event->Data)
            {
                std::snprintf(byte, sizeof byte, "%02x", b);
                hex += byte;
            }
            std::printf("%d %d %d %s\n", t, event->Time, event->Duration, hex.c_str());
        }
    }
}

/// A fixed pseudo-random stream, so every run writes the same file.
class TSequence
{
public:
    int Next(int n)
    {
        FState = FState * 1103515245u + 12345u;
        return static_cast<int>((FState >> 16) % static_cast<std::uint32_t>(n));
    }

private:
    std::uint32_t FState = 1999;
};

/// Meta, sysex, controllers, overlapping and equal-time notes added out of time order,
/// and gaps long enough for every delta-time length.
void BuildSequence(TMidiData& midi)
{
    midi.AddGMSystemOn(0, 0);
    midi.AddTempo(0, 0, 120);
    TMidiEvent* name = midi.InsertEvent(0, 0);
    name->Data = {0xFF, 0x03, 'L', 'y', 'r'};
    midi.AddTempo(0, 1536 * 4, 90);
    midi.AddTempo(0, 1536 * 4 + (1 << 21) + 17, 150);

    TSequence random;
    for (int track = 1; track <= 4; ++track)
    {
        const int channel = track == 4 ? 9 : track - 1;
        midi.AddProgramChange(track, 0, channel, 1 + track * 10);
        midi.AddControlChange(track, 0, channel, 7, 100);
        midi.AddControlChange(track, 0, channel, 10, 64);
        for (int i = 0; i < 300; ++i)
        {
            // Starts on a coarse grid, so that many notes share a tick, and most ends on
            // it too, so that note-offs meet other events at their tick.
            const std::int32_t time = random.Next(64) * 96;
            const std::int32_t duration = 96 * (1 + random.Next(4)) - random.Next(3) * 47;
            const int key = 48 + random.Next(12);
            midi.AddNote(track, time, duration, channel, key, 1 + random.Next(127));
        }
        midi.AddControlChange(track, 64 * 96 + 20000, channel, 64, 0);
    }
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: midi_tool write|dump FILE\n");
        return 2;
    }
    const std::string command = argv[1];
    try
    {
        TMidiData midi;
        if (command == "write")
        {
            BuildSequence(midi);
            midi.SaveToFile(argv[2]);
            midi.Format = 1;
            midi.FileTrackCount = midi.TrackCount();
            midi.FileDivision = midi.Division;
        }
        else if (command == "dump")
            midi.LoadFromFile(argv[2]);
        else
        {
            std::fprintf(stderr, "midi_tool: unknown command %s\n", command.c_str());
            return 2;
        }
        Dump(midi);
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "midi_tool: %s\n", e.what());
        return 1;
    }
    return 0;
}
