#include "compose/ComposeUnit.h"

#include "base/Random.h"
#include "compose/ChordMaker.h"
#include "compose/Composer.h"
#include "compose/RhythmMaker.h"
#include "model/Munit.h"
#include "model/MusicProject.h"

namespace
{
constexpr std::uint32_t MelodyStreams = 1000;
}

void ComposeUnit(TMunit& unit, const TComposeSteps& steps,
                 std::optional<std::uint64_t> melodyStream)
{
    if (steps.Chords)
    {
        TChordMaker maker;
        maker.SetMunit(&unit);
        maker.MakeChords();
    }
    if (steps.Rhythm)
    {
        TRhythmMaker maker;
        maker.BarCount = unit.BarCount;
        maker.SetMunit(&unit);
        maker.MakeRhythm();
    }
    if (steps.Melody)
    {
        if (melodyStream)
            SetRandSeed(static_cast<std::uint32_t>(*melodyStream % MelodyStreams));
        else
        {
            Randomize();
            SetRandSeed(GetRandSeed() % MelodyStreams);
        }
        TComposer composer;
        composer.SetMunit(&unit);
        composer.Compose();
    }
}

void ComposeUnits(const std::vector<TMunit*>& units, const TComposeSteps& steps,
                  std::optional<std::uint64_t> firstMelodyStream)
{
    for (std::size_t j = 0; j < units.size(); ++j)
        ComposeUnit(*units[j], steps,
                    firstMelodyStream ? std::optional<std::uint64_t>(*firstMelodyStream + j)
                                      : std::nullopt);
}

std::vector<TMunit*> SongUnits(const TMusicProject& song)
{
    song.AttachProperties();
    std::vector<TMunit*> units;
    for (int i = 0; i < song.Count(); ++i)
        if (TMunit* unit = song.UnitAt(i))
            units.push_back(unit);
    return units;
}

void ComposeSong(const TMusicProject& song, const TComposeSteps& steps,
                 std::optional<std::uint64_t> firstMelodyStream)
{
    ComposeUnits(SongUnits(song), steps, firstMelodyStream);
}
