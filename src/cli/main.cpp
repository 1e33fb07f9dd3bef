#include "base/Exceptions.h"
#include "base/StopSignals.h"
#include "cli/Args.h"
#include "cli/Commands.h"

#include <csignal>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace
{
const char* const Usage =
    "usage: lyravane-cli COMMAND [options]   (every command takes --pattern-dir DIR)\n"
    "       lyravane-cli --help | --version\n"
    "  new -o OUT.lvp [--units N]\n"
    "  info IN.lvp\n"
    "  compose IN.lvp -o OUT.lvp [--seed N] [--melody-seed M] [--steps chords,rhythm,melody]\n"
    "          [--unit K] [--lock B,...]\n"
    "  randomize IN.lvp -o OUT.lvp [--seed N] [--entry E]\n"
    "  export IN.lvp -o OUT.mid [--repeat R] [--gm-reset] [--track-names]\n"
    "  export IN.lvp --unit K -o OUT.mid [--gm-reset] [--track-names]\n"
    "  export IN.lvp -o OUT.musicxml|OUT.mxl [--format musicxml] [--repeat R] [--full-score]\n"
    "  preview IN.lvp --slot T -o OUT.mid [--gm-reset]\n"
    "  render IN.lvp -o OUT.wav|.flac|.ogg [--format wav|flac|ogg] [--bits 16|24]\n"
    "         [--loudness LUFS | --no-normalize] [--repeat R] [--gm-reset] [--soundfont SF2]\n"
    "         [--sample-rate HZ] [--stems]\n"
    "  play IN.lvp [--unit K] [--repeat R] [--gm-reset] [--soundfont SF2] [--audio-driver NAME]\n"
    "  check-pattern FILE.mid --kind back|bass|drum\n";

struct TCommand
{
    const char* Name;
    int (*Run)(const std::vector<std::string>&);
};

const TCommand Commands[] = {
    {"new", CmdNew},
    {"info", CmdInfo},
    {"compose", CmdCompose},
    {"randomize", CmdRandomize},
    {"export", CmdExport},
    {"preview", CmdPreview},
    {"render", CmdRender},
    {"play", CmdPlay},
    {"check-pattern", CmdCheckPattern},
};
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")
    {
        std::fputs(Usage, argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    if (std::string(argv[1]) == "--version")
    {
        std::puts("lyravane-cli " LYRAVANE_VERSION);
        return 0;
    }
    const std::string name = argv[1];
    const std::vector<std::string> words(argv + 2, argv + argc);
    // Ctrl+C, SIGTERM and SIGHUP unwind the command, which removes its temporary files; past
    // a file size limit a write fails (EFBIG) and says so instead of killing the process.
    const TStopSignals stopSignals;
    std::signal(SIGXFSZ, SIG_IGN);
    for (const TCommand& command : Commands)
    {
        if (name != command.Name)
            continue;
        try
        {
            return command.Run(words);
        }
        catch (const EUsageError& e)
        {
            std::fprintf(stderr, "lyravane-cli %s: %s\n%s", name.c_str(), e.what(), Usage);
            return 2;
        }
        catch (const EStopped& e)
        {
            std::fprintf(stderr, "lyravane-cli %s: %s\n", name.c_str(), e.what());
            return 128 + e.Signal();
        }
        catch (const std::exception& e)
        {
            std::fprintf(stderr, "lyravane-cli %s: %s\n", name.c_str(),
                         MessageWithCause(e).c_str());
            return 1;
        }
    }
    std::fprintf(stderr, "lyravane-cli: unknown command '%s'\n%s", name.c_str(), Usage);
    return 2;
}
