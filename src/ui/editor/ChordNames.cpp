#include "ui/editor/ChordNames.h"

#include "model/Munit.h"
#include "model/Muprop.h"
#include "notation/Spelling.h"

QString HalfBarChordName(const TMunit& unit, int bar, int half)
{
    const int degree = unit.GetChord(bar, half * 2);
    if (degree < 1 || degree > 6)
        return QString();
    const TMuprop* property = unit.Property;
    const TChordSymbol chord =
        ScoreChordSymbol(degree, property != nullptr ? property->Key : 0, unit.Scale(),
                         property != nullptr && property->Use7th != 0);
    return QString::fromStdString(ScoreChordName(chord));
}
