#include "base/FileIO.h"
#include "cli/Args.h"
#include "cli/Commands.h"
#include "midi/PatternCheck.h"

#include <cstdio>
#include <string>

int CmdCheckPattern(const std::vector<std::string>& words)
{
    const TArgs args(words, {"--kind", "--pattern-dir"}, {});
    TPatternKind kind{};
    const std::string word = args.Required("--kind");
    if (!ParsePatternKind(word, kind))
        throw EUsageError("--kind " + word + ": back, bass or drum expected");
    const TPatternCheck check = CheckPatternBytes(ReadWholeFile(args.Input()), kind);
    std::fputs(check.Report().c_str(), stdout);
    return check.Usable() ? 0 : 1;
}
