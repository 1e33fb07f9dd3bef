#include "base/Exceptions.h"
#include "base/FileIO.h"
#include "cli/Args.h"
#include "cli/Commands.h"
#include "midi/ArrangeList.h"
#include "midi/MidiData.h"
#include "model/MusicProject.h"
#include "render/RenderExport.h"
#include "render/RenderSong.h"

#include <cstdio>

void LoadLibraries(const TArgs& args)
{
    const std::string given = args.Value("--pattern-dir").value_or("");
    // The user's own additions in their data folder come after it, as in the window.
    const std::string userDir = UserDataDir();
    LoadPatternLibraries(given.empty() ? FindPatternDir(ExecutableDir()) : given,
                         userDir.empty() ? std::string() : userDir + "/PATTERN");
}

void WarnOfMissingPatterns(const TMusicProject& song)
{
    for (const TMissingPattern& missing : MissingPatterns(song))
        std::fprintf(stderr, "lyravane-cli: warning: %s\n", MissingPatternText(missing).c_str());
}

void LoadSong(TMusicProject& song, const std::string& path)
{
    // Read into a song of our own; the caller's song is replaced only by a good file.
    TMusicProject loaded;
    loaded.LoadFromFile(path);
    song.Assign(loaded);
    song.AttachProperties();
}

TMidiData RenderForPlayback(const TArgs& args, long long unitEntry)
{
    const long long repeat = args.Number("--repeat", 1, 4, 1);
    const bool gmReset = args.Has("--gm-reset");
    LoadLibraries(args);
    TMusicProject song;
    LoadSong(song, args.Input());
    WarnOfMissingPatterns(song);
    TMidiData midi;
    const TExportOptions options{.RepeatCount = static_cast<int>(repeat),
                                 .IncludeReset = gmReset,
                                 .TrackNames = args.Has("--track-names")};
    if (!RenderExport(song, static_cast<int>(unitEntry), options, midi))
        throw ELyravaneError("--unit " + std::to_string(unitEntry) +
                             ": entry is not a music unit (the song has entries 0.." +
                             std::to_string(song.Count() - 1) + ")");
    return midi;
}

void RefuseOutputOverInput(const std::string& output, const std::string& input)
{
    if (SameFile(output, input))
        throw ELyravaneError("-o " + output + ": that is the input file " + input +
                             "; choose another output file");
}
