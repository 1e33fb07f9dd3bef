#include "compose/RandomSetting.h"

#include "base/Random.h"
#include "midi/ArrangeList.h"
#include "model/Muprop.h"

#include <cstdint>

namespace
{
// 1-based General MIDI programs the random setting picks from.
constexpr std::array<int, 68> MelodyPrograms = {
    1,  2,  3,  5,  6,  7,  8,   17,  18,  20,  21,  22,  23,  24,  25,  26,  27,
    28, 30, 31, 32, 41, 42, 43,  45,  49,  50,  51,  52,  53,  55,  57,  58,  60,
    61, 62, 63, 64, 65, 66, 69,  70,  72,  73,  74,  75,  76,  80,  81,  82,  83,
    85, 88, 89, 91, 94, 97, 100, 101, 103, 104, 105, 106, 107, 108, 110, 111, 112,
};

constexpr std::array<int, 68> AccompanimentPrograms = {
    1,  2,  3,  4,  5,  6,  7,   8,   9,   10,  11,  12,  13,  14,  15,  16,  17,
    18, 19, 20, 21, 22, 23, 24,  25,  26,  27,  28,  29,  30,  41,  42,  43,  45,
    46, 47, 49, 50, 51, 52, 53,  54,  55,  62,  63,  64,  66,  67,  81,  82,  83,
    85, 88, 89, 91, 94, 97, 100, 101, 103, 104, 105, 106, 107, 108, 110, 111, 112,
};

constexpr std::array<int, 14> BassPrograms = {33, 34, 35, 36, 37, 38, 39,
                                              40, 49, 50, 51, 52, 81, 82};

// Drum-set list indices: every kit but orchestra (7) and effects (8).
constexpr std::array<int, 8> DrumSetChoices = {0, 1, 2, 3, 4, 5, 6, 9};

constexpr int Melody = 0;
constexpr int Acomp1 = 1;
constexpr int Acomp2 = 2;
constexpr int Bass = 3;
constexpr int Drums = 4;

template <std::size_t N> int Pick(const std::array<int, N>& table)
{
    return table[Random(static_cast<std::uint32_t>(N))];
}

int Draw(int base, std::uint32_t span)
{
    return base + static_cast<int>(Random(span));
}

std::vector<std::string> WithNone(const std::vector<std::string>& names)
{
    std::vector<std::string> items{"None"};
    items.insert(items.end(), names.begin(), names.end());
    return items;
}
} // namespace

TPatternChoices LibraryPatternChoices()
{
    return {WithNone(BackPatterns.Names), WithNone(BackPatterns.Names),
            WithNone(BassPatterns.Names), WithNone(DrumPatterns.Names)};
}

void RandomPropertySetting(TMuprop& property, const TPatternChoices& choices)
{
    auto track = [&](int index) -> TTrackSetting& { return property.GetTrack(index); };

    track(Melody).SetInstrument(Pick(MelodyPrograms) - 1);
    track(Acomp1).SetInstrument(Pick(AccompanimentPrograms) - 1);
    track(Acomp2).SetInstrument(Pick(AccompanimentPrograms) - 1);
    track(Bass).SetInstrument(Pick(BassPrograms) - 1);
    track(Drums).SetInstrument(Pick(DrumSetChoices));

    // The accompaniments stay at least 10 below the melody: melody 80..119 leaves the
    // accompaniment 50..70 always possible, so the redraws end.
    track(Melody).SetVolume(Draw(80, 40));
    for (int t : {Acomp1, Acomp2})
    {
        int volume = 0;
        do
            volume = Draw(50, 40);
        while (volume > track(Melody).Volume - 10);
        track(t).SetVolume(volume);
    }
    track(Bass).SetVolume(Draw(80, 40));
    track(Drums).SetVolume(Draw(80, 40));

    track(Melody).SetPan(Draw(44, 40));
    track(Acomp1).SetPan(Draw(0, 64));
    track(Acomp2).SetPan(Draw(64, 64));
    track(Bass).SetPan(Draw(44, 40));
    track(Drums).SetPan(Draw(44, 40));

    track(Melody).SetReverb(Draw(20, 60));
    track(Acomp1).SetReverb(Draw(20, 60));
    track(Acomp2).SetReverb(Draw(20, 60));
    track(Bass).SetReverb(Draw(0, 40));
    track(Drums).SetReverb(Draw(20, 60));

    track(Melody).SetChorus(Draw(0, 60));
    track(Acomp1).SetChorus(Draw(0, 60));
    track(Acomp2).SetChorus(Draw(0, 60));
    track(Bass).SetChorus(Draw(0, 60));
    track(Drums).SetChorus(0);

    for (std::size_t slot = 0; slot < choices.size(); ++slot)
    {
        const auto& items = choices[slot];
        const std::uint32_t pick = Random(static_cast<std::uint32_t>(items.size()));
        property.SetPatternName(static_cast<int>(slot),
                                items.empty() ? std::string() : items[pick]);
    }

    property.SetUse7th(Random(6) == 0 ? 1 : 0);
    property.SetAltSnare(Random(3) == 0 ? 1 : 0);
    property.SetOctaveUp(Random(3) == 0 ? 1 : 0);
    property.Scale = Random(10) >= 7 ? 1 : 0;
    property.Key = Draw(-11, 23);
    property.Tempo = Draw(80, 100);
}
