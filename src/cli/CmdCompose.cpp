#include "base/Random.h"
#include "cli/Args.h"
#include "cli/Commands.h"
#include "compose/ComposeUnit.h"
#include "compose/RandomSetting.h"
#include "model/Munit.h"
#include "model/Muprop.h"
#include "model/MusicProject.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace
{
constexpr long long MaxSeed = 4294967295LL;
constexpr int UnitBars = 4;

TComposeSteps ParseSteps(const std::string& text)
{
    TComposeSteps steps;
    for (const std::string& name : SplitList(text))
    {
        if (name == "chords")
            steps.Chords = true;
        else if (name == "rhythm")
            steps.Rhythm = true;
        else if (name == "melody")
            steps.Melody = true;
        else
            throw EUsageError("--steps: unknown step '" + name +
                              "' (steps are chords, rhythm, melody)");
    }
    return steps;
}

std::vector<int> ParseLocks(const std::string& text)
{
    std::vector<int> bars;
    for (const std::string& part : SplitList(text))
        bars.push_back(static_cast<int>(ParseNumber(part, 0, UnitBars - 1, "--lock")));
    return bars;
}

/// Seeds the generator with --seed, or from the clock when it is absent.
void SeedGenerator(const TArgs& args)
{
    if (args.Has("--seed"))
        SetRandSeed(static_cast<std::uint32_t>(args.Number("--seed", 0, MaxSeed, 0)));
    else
        Randomize();
}
} // namespace

int CmdCompose(const std::vector<std::string>& words)
{
    const TArgs args(
        words, {"--seed", "--melody-seed", "--steps", "--unit", "--lock", "--pattern-dir"}, {});
    const std::string& in = args.Input();
    const std::string out = args.Required("-o");
    // Every argument is checked before the song is touched, so bad input writes nothing.
    args.Number("--seed", 0, MaxSeed, 0);
    const bool melodySeedGiven = args.Has("--melody-seed");
    const long long melodySeed = args.Number("--melody-seed", 0, MaxSeed, 0);
    const TComposeSteps steps = ParseSteps(args.Value("--steps").value_or("chords,rhythm,melody"));
    const std::vector<int> locks =
        args.Has("--lock") ? ParseLocks(*args.Value("--lock")) : std::vector<int>{};
    const long long unitEntry = args.Number("--unit", 0, 1LL << 30, -1);

    LoadLibraries(args);
    TMusicProject song;
    LoadSong(song, in);

    std::vector<TMunit*> selected;
    if (unitEntry >= 0)
    {
        TMunit* unit =
            unitEntry < song.Count() ? song.UnitAt(static_cast<int>(unitEntry)) : nullptr;
        if (unit == nullptr)
            throw EUsageError("--unit: entry " + std::to_string(unitEntry) + " of " + in +
                              " is not a music unit");
        selected.push_back(unit);
    }
    else
        selected = SongUnits(song);

    for (TMunit* unit : selected)
    {
        for (int bar = 0; bar < UnitBars; ++bar)
            unit->SetLock(bar, 0);
        for (int bar : locks)
            unit->SetLock(bar, 1);
    }
    SeedGenerator(args);
    // Without --melody-seed the clock picks each melody's stream, as in the bar editor; the
    // window's "Componer canción" runs the same composition of the song.
    ComposeUnits(selected, steps,
                 melodySeedGiven
                     ? std::optional<std::uint64_t>(static_cast<std::uint64_t>(melodySeed))
                     : std::nullopt);
    song.SaveToFile(out);
    return 0;
}

int CmdRandomize(const std::vector<std::string>& words)
{
    const TArgs args(words, {"--seed", "--entry", "--pattern-dir"}, {});
    const std::string& in = args.Input();
    const std::string out = args.Required("-o");
    args.Number("--seed", 0, MaxSeed, 0);
    const long long entry = args.Number("--entry", 0, 1LL << 30, 0);

    LoadLibraries(args);
    TMusicProject song;
    LoadSong(song, in);
    TMuprop* property = entry < song.Count() ? song.PropertyAt(static_cast<int>(entry)) : nullptr;
    if (property == nullptr)
        throw EUsageError("--entry: entry " + std::to_string(entry) + " of " + in +
                          " is not a property set");

    SeedGenerator(args);
    RandomPropertySetting(*property, LibraryPatternChoices());
    song.SaveToFile(out);
    return 0;
}
