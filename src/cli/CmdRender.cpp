#include "base/Exceptions.h"
#include "base/Text.h"
#include "cli/Args.h"
#include "cli/Commands.h"
#include "midi/MidiData.h"
#include "model/Munit.h"
#include "model/Muprop.h"
#include "model/MusicProject.h"
#include "notation/MusicXmlWriter.h"
#include "render/PatternPreview.h"
#include "render/RenderSong.h"

#include <string>

namespace
{
/// --format, else the output's extension: .musicxml, .mxl and .xml make a score.
bool ExportsScore(const TArgs& args, const std::string& out)
{
    if (const auto format = args.Value("--format"))
    {
        if (*format != "midi" && *format != "musicxml")
            throw EUsageError("--format: unknown format '" + *format +
                              "' (formats are midi, musicxml)");
        return *format == "musicxml";
    }
    return HasExtension(out, "musicxml") || HasExtension(out, "mxl") || HasExtension(out, "xml");
}

/// The song as MusicXML: a lead sheet, or with --full-score every part.
int ExportScore(const TArgs& args, const std::string& input, const std::string& out)
{
    for (const char* option : {"--unit", "--gm-reset", "--track-names"})
        if (args.Has(option))
            throw EUsageError(std::string(option) + " does not apply to a MusicXML score");
    const long long repeat = args.Number("--repeat", 1, 4, 1);
    LoadLibraries(args);
    TMusicProject song;
    LoadSong(song, input);
    WarnOfMissingPatterns(song);
    SaveScoreFile(song, out, ScoreTitleFromPath(input), static_cast<int>(repeat),
                  args.Has("--full-score"));
    return 0;
}
} // namespace

int CmdExport(const std::vector<std::string>& words)
{
    const TArgs args(words, {"--repeat", "--unit", "--pattern-dir", "--format"},
                     {"--gm-reset", "--full-score", "--track-names"});
    const std::string& input = args.Input();
    const std::string out = args.Required("-o");
    RefuseOutputOverInput(out, input);
    if (ExportsScore(args, out))
        return ExportScore(args, input, out);
    if (args.Has("--full-score"))
        throw EUsageError("--full-score applies to a MusicXML score only");
    if (args.Has("--unit") && args.Has("--repeat"))
        throw EUsageError("--repeat does not apply to a single unit (--unit)");
    const long long unitEntry = args.Number("--unit", 1, MaxFileEntries - 1, 0);
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
    WarnOfMissingPatterns(song);
    TMuprop* property = song.PropertyAt(0);
    if (property == nullptr)
        throw ELyravaneError("entry 0 of the song is not a property set");
    TMidiData midi;
    RenderPatternPreview(*property, slot, midi, gmReset);
    midi.SaveToFile(out);
    return 0;
}
