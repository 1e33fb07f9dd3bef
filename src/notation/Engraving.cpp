#include "notation/Engraving.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace
{
/// How far from its grid point an onset may lie (ticks at 384 per beat, scaled; a quarter
/// of the step at most).
constexpr double OnsetTolerance = 20.0 / 384.0;

/// The lengths a note on a beat of grid `step` is written with, shortest first.
std::vector<int> PlainLengths(int step)
{
    if (IsTripletStep(step))
        return step == SixteenthTripletStep ? std::vector<int>{4, 8, 16, 24, 48, 72, 96}
                                            : std::vector<int>{8, 16, 24, 48, 72, 96};
    std::vector<int> lengths{6, 12, 24, 36, 48, 72, 96};
    if (step == ThirtySecondStep)
        lengths.insert(lengths.begin(), 3);
    return lengths;
}

/// A pitch's line or space counted in diatonic steps from C0 (sharps on the note below).
int StaffPosition(int pitch)
{
    static constexpr std::array<int, 12> step = {0, 0, 1, 1, 2, 3, 3, 4, 4, 5, 5, 6};
    return pitch / 12 * 7 + step[static_cast<std::size_t>(pitch % 12)] - 7;
}

/// Ledger lines a pitch needs on a treble staff (E4 to F5).
int TrebleLedgers(int pitch)
{
    constexpr int bottom = 4 * 7 + 2;
    constexpr int top = 5 * 7 + 3;
    const int position = StaffPosition(pitch);
    if (position > top)
        return (position - top) / 2;
    if (position < bottom)
        return (bottom - position) / 2;
    return 0;
}

constexpr std::array<TDrumNotation, 47> Drums = {{
    {35, 'E', 4, "normal", "Bombo acústico"},
    {36, 'F', 4, "normal", "Bombo"},
    {37, 'C', 5, "x", "Golpe de aro"},
    {38, 'C', 5, "normal", "Caja"},
    {39, 'B', 4, "x", "Palmada"},
    {40, 'C', 5, "diamond", "Caja eléctrica"},
    {41, 'G', 4, "normal", "Tom de suelo grave"},
    {42, 'G', 5, "x", "Charles cerrado"},
    {43, 'A', 4, "normal", "Tom de suelo agudo"},
    {44, 'D', 4, "x", "Charles con pedal"},
    {45, 'B', 4, "normal", "Tom grave"},
    {46, 'G', 5, "circle-x", "Charles abierto"},
    {47, 'D', 5, "normal", "Tom medio grave"},
    {48, 'E', 5, "normal", "Tom medio agudo"},
    {49, 'A', 5, "x", "Platillo de choque 1"},
    {50, 'F', 5, "normal", "Tom agudo"},
    {51, 'F', 5, "x", "Platillo ride 1"},
    {52, 'B', 5, "x", "Platillo chino"},
    {53, 'F', 5, "diamond", "Campana del ride"},
    {54, 'E', 5, "x", "Pandereta"},
    {55, 'A', 5, "circle-x", "Platillo splash"},
    {56, 'E', 5, "triangle", "Cencerro"},
    {57, 'C', 6, "x", "Platillo de choque 2"},
    {58, 'D', 4, "triangle", "Vibraslap"},
    {59, 'F', 5, "circle-x", "Platillo ride 2"},
    {60, 'C', 6, "normal", "Bongó agudo"},
    {61, 'B', 5, "normal", "Bongó grave"},
    {62, 'A', 5, "normal", "Conga aguda apagada"},
    {63, 'G', 5, "normal", "Conga abierta"},
    {64, 'D', 4, "normal", "Conga grave"},
    {65, 'D', 6, "normal", "Timbal agudo"},
    {66, 'C', 4, "normal", "Timbal grave"},
    {67, 'C', 6, "triangle", "Agogó agudo"},
    {68, 'B', 5, "triangle", "Agogó grave"},
    {69, 'A', 5, "diamond", "Cabasa"},
    {70, 'G', 5, "diamond", "Maracas"},
    {71, 'D', 6, "diamond", "Silbato corto"},
    {72, 'E', 6, "diamond", "Silbato largo"},
    {73, 'E', 4, "diamond", "Güiro corto"},
    {74, 'D', 4, "diamond", "Güiro largo"},
    {75, 'C', 5, "triangle", "Claves"},
    {76, 'F', 5, "triangle", "Bloque de madera agudo"},
    {77, 'D', 5, "triangle", "Bloque de madera grave"},
    {78, 'G', 4, "x", "Cuíca apagada"},
    {79, 'A', 4, "x", "Cuíca abierta"},
    {80, 'A', 5, "triangle", "Triángulo apagado"},
    {81, 'G', 5, "triangle", "Triángulo abierto"},
}};
} // namespace

int BeatStep(const std::vector<int>& offsets, int ticksPerBeat)
{
    for (const int step : {SixteenthStep, TripletStep, ThirtySecondStep, SixteenthTripletStep})
    {
        const double stepTicks = static_cast<double>(ticksPerBeat) * step / DivisionsPerBeat;
        const double tolerance = std::min(OnsetTolerance * ticksPerBeat, stepTicks / 4);
        std::vector<long> points;
        bool fits = true;
        for (const int offset : offsets)
        {
            const double point = std::round(offset / stepTicks);
            fits = fits && std::abs(offset - point * stepTicks) <= tolerance;
            points.push_back(std::lround(point));
        }
        std::sort(points.begin(), points.end());
        if (fits && std::adjacent_find(points.begin(), points.end()) == points.end())
            return step;
    }
    return SixteenthStep;
}

TWrittenLength WrittenLength(double played, int start, int room, int step)
{
    constexpr double Full = 0.8;
    constexpr double Short = 0.35;
    if (played >= room - 0.5)
        return {room, TArticulation::None};
    // A note whose room ends within its beat takes the value of its place; others the
    // shortest plain value they fill, so that no tie carries a detached note over a beat.
    int length = room;
    if (start % DivisionsPerBeat + room > DivisionsPerBeat)
        for (const int candidate : PlainLengths(step))
            if (candidate >= played - 0.5)
            {
                length = std::min(candidate, room);
                break;
            }
    const double gate = played / length;
    if (gate >= Full)
    {
        // Filled, or nearly: a long note that leaves more than a sixteenth is written to its
        // sound's end on the grid, then rests.
        if (length - played > SixteenthStep)
            length =
                std::min(room, std::max(step, static_cast<int>(std::lround(played / step)) * step));
        return {length, TArticulation::None};
    }
    return {length, gate >= Short ? TArticulation::Staccato : TArticulation::Staccatissimo};
}

std::vector<bool> OttavaBars(const std::vector<std::vector<int>>& barPitches)
{
    const std::size_t count = barPitches.size();
    // 1: better an octave lower, -1: better as it sounds, 0: no notes.
    std::vector<int> prefer(count, 0);
    for (std::size_t b = 0; b < count; ++b)
    {
        int atPitch = 0;
        int lower = 0;
        int most = 0;
        for (const int pitch : barPitches[b])
        {
            atPitch += TrebleLedgers(pitch);
            lower += TrebleLedgers(pitch - 12);
            most = std::max(most, TrebleLedgers(pitch));
        }
        // Worth a mark: a note two ledger lines up, or a line saved per note.
        const int notes = static_cast<int>(barPitches[b].size());
        if (notes > 0)
            prefer[b] = lower < atPitch && (most >= 2 || atPitch - lower >= notes) ? 1 : -1;
    }
    std::vector<bool> ottava(count, false);
    for (std::size_t b = 0; b < count;)
    {
        if (prefer[b] != 1)
        {
            ++b;
            continue;
        }
        // The run: bars that prefer the mark, with empty bars between them.
        std::size_t end = b + 1;
        std::size_t last = b;
        int bars = 1;
        while (end < count && prefer[end] != -1)
        {
            if (prefer[end] == 1)
                last = end, ++bars;
            ++end;
        }
        if (bars >= 2)
            std::fill(ottava.begin() + static_cast<std::ptrdiff_t>(b),
                      ottava.begin() + static_cast<std::ptrdiff_t>(last) + 1, true);
        b = end;
    }
    return ottava;
}

TStaffLayout ChooseStaves(TPartRole role, int program, int lowest, int highest)
{
    TStaffLayout layout;
    constexpr TClef Treble{"G", 2, 0};
    constexpr TClef Bass{"F", 4, 0};
    switch (role)
    {
    case TPartRole::Drums:
        layout.Clefs[0] = {"percussion", 0, 0};
        return layout;
    case TPartRole::Melody:
        layout.Clefs[0] = Treble;
        return layout;
    case TPartRole::Bass:
        layout.Clefs[0] = {"F", 4, -1};
        return layout;
    case TPartRole::Backing:
        break;
    }
    constexpr int FirstGuitar = 24;
    constexpr int LastGuitar = 31;
    // Hanging from the second ledger line at most: G3 under the treble staff, F4 over the
    // bass staff.
    constexpr int TrebleLowest = 55;
    constexpr int BassHighest = 65;
    if (program >= FirstGuitar && program <= LastGuitar)
        layout.Clefs[0] = {"G", 2, -1};
    else if (lowest >= TrebleLowest)
        layout.Clefs[0] = Treble;
    else if (highest <= BassHighest)
        layout.Clefs[0] = Bass;
    else
    {
        layout.Staves = 2;
        layout.Clefs[0] = Treble;
        layout.Clefs[1] = Bass;
    }
    return layout;
}

TDrumNotation DrumNotation(int key)
{
    const auto found = std::find_if(Drums.begin(), Drums.end(),
                                    [key](const TDrumNotation& d) { return d.Key == key; });
    if (found != Drums.end())
        return *found;
    return {key, 'C', 5, "normal", ""};
}
