#include "base/Exceptions.h"
#include "cli/Args.h"
#include "cli/Commands.h"
#include "midi/MidiData.h"
#include "model/Munit.h"
#include "model/Muprop.h"
#include "model/MusicProject.h"
#include "render/PatternPreview.h"
#include "render/RenderSong.h"

#include <string>

int CmdExport(const std::vector<std::string>& words)
{
    const TArgs args(words, {"--repeat", "--unit", "--pattern-dir"}, {"--gm-reset"});
    const std::string& input = args.Input();
    const std::string out = args.Required("-o");
    if (args.Has("--unit") && args.Has("--repeat"))
        throw EUsageError("--repeat does not apply to a single unit (--unit)");
    const long long unitEntry = args.Number("--unit", 1, MaxFileEntries - 1, 0);
    RefuseOutputOverInput(out, input);
    // Everything is rendered before the file is written, and the file is written through a
    // temporary beside it: a failure leaves no output behind.
    RenderForPlayback(args, unitEntry).SaveToFile(out);
    return 0;
}

int CmdPreview(const std::vector<std::string>& words)
{
    const TArgs args(words, {"--slot", "--pattern-dir"}, {"--gm-reset"});
    const std::string& input = args.Input();
    const std::string out = args.Required("-o");
    if (!args.Has("--slot"))
        throw EUsageError("option --slot is required");
    const int slot = static_cast<int>(args.Number("--slot", 1, PatternSlotCount, 1));
    RefuseOutputOverInput(out, input);
    const bool gmReset = args.Has("--gm-reset");
    LoadLibraries(args);

    TMusicProject song;
    LoadSong(song, input);
    TMuprop* property = song.PropertyAt(0);
    if (property == nullptr)
        throw ELyravaneError("entry 0 of the song is not a property set");
    TMidiData midi;
    RenderPatternPreview(*property, slot, midi, gmReset);
    midi.SaveToFile(out);
    return 0;
}
