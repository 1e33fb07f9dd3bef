#include "compose/ComposeUnit.h"

#include "base/Random.h"
#include "compose/ChordMaker.h"
#include "compose/Composer.h"
#include "compose/RhythmMaker.h"
#include "model/Munit.h"

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
