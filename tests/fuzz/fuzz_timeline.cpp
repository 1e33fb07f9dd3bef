// Fuzz target: the player's timeline of a Standard MIDI File it opens (any file the media
// player is given), whole and as a looped stretch of it.
//
// Whatever loads lays out: the messages in frame order, none after the end, no note struck
// twice without its release in a stretch, and ticks and frames that map back onto each
// other in order.

#include "FuzzCheck.h"

#include "audio/Timeline.h"
#include "base/Exceptions.h"
#include "midi/MidiData.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace
{
void CheckTimeline(const TTimeline& timeline)
{
    std::uint64_t last = 0;
    for (const TTimedMessage& m : timeline.Messages())
    {
        FUZZ_CHECK(!m.Data.empty());
        FUZZ_CHECK(m.Data[0] != 0xFF);
        FUZZ_CHECK(m.Frame >= last);
        FUZZ_CHECK(m.Frame <= timeline.Frames());
        FUZZ_CHECK(m.Tick >= timeline.FromTick() && m.Tick <= timeline.ToTick());
        last = m.Frame;
    }
    std::int32_t tick = timeline.FromTick();
    for (std::uint64_t frame = 0; frame <= timeline.Frames(); frame += timeline.Frames() / 7 + 1)
    {
        const std::int32_t at = timeline.TickAt(frame);
        FUZZ_CHECK(at >= tick && at <= timeline.ToTick());
        FUZZ_CHECK(timeline.FrameAt(at) <= frame + 1);
        tick = at;
    }
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
    const TTimeline whole(midi, 44100);
    CheckTimeline(whole);
    // A loop over the middle of it, as "Repetir partitura" plays a unit after the lead-in.
    const std::int32_t from = whole.ToTick() / 3;
    const std::int32_t to = from + whole.ToTick() / 2 + 1;
    const TTimeline stretch(midi, 44100, from, to);
    CheckTimeline(stretch);
    FUZZ_CHECK(stretch.ToTick() == to);
    return 0;
}
