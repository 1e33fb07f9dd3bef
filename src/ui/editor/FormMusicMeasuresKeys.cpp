// The bar editor's rows from the keyboard, in tool tips and for screen readers.
#include "ui/editor/FormMusicMeasures.h"

#include "model/Munit.h"
#include "model/Muprop.h"
#include "model/UnitEditing.h"
#include "notation/Spelling.h"
#include "render/RenderUnit.h"
#include "ui/editor/ChordNames.h"
#include "ui/editor/MeasureRows.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <string_view>

int TFormMusicMeasures::ShownNoteOnsetAt(int bar, int step) const
{
    return FUnit != nullptr ? NoteOnsetAt(*FUnit, bar, step) : -1;
}

QString TFormMusicMeasures::StepDescription(bool melody, int bar, int step) const
{
    const char rhythm = FUnit != nullptr ? FUnit->GetRhythm(bar, step) : RhythmRest;
    QString value;
    if (!melody)
        value = rhythm == RhythmOnset  ? tr("nota")
                : rhythm == RhythmHold ? tr("prolongación")
                                       : tr("silencio");
    else if (const int onset = ShownNoteOnsetAt(bar, step); onset >= 0)
    {
        const int pitch = FUnit->GetMelody(bar, onset);
        value = TMeasureGlyphs::NoteName(pitch);
        if (pitch >= 12)
            value += tr(" agudo");
        else if (pitch < 0)
            value += tr(" grave");
        if (onset != step)
            value += tr(" (prolongación)");
    }
    else
        value = tr("silencio");
    const QString place =
        melody ? tr("Compás %1, melodía paso %2: %3") : tr("Compás %1, paso %2, ritmo: %3");
    QString text = place.arg(bar + 1).arg(step + 1).arg(value);
    if (FUnit != nullptr && FUnit->GetLock(bar) != 0)
        text += tr(", bloqueado");
    return text;
}

QString TFormMusicMeasures::StepToolTip(bool melody, int bar, int step) const
{
    const int onset = melody ? ShownNoteOnsetAt(bar, step) : -1;
    if (onset < 0)
        return QString();
    const TMuprop plain;
    const TMuprop& property = FUnit->Property != nullptr ? *FUnit->Property : plain;
    // The note as it sounds (the melody track's note, in the song's key and octave), spelled
    // as the score spells it.
    const int note = MelodyNote(property, FUnit->GetMelody(bar, onset));
    const TSpelledPitch pitch = SpellPitch(note, KeyFifths(property.Key), property.Scale != 0);
    // The same names as on the melody row's glyphs, and translated with them.
    static const char* const Syllables[7] = {
        QT_TRANSLATE_NOOP("TMeasureGlyphs", "Do"),  QT_TRANSLATE_NOOP("TMeasureGlyphs", "Re"),
        QT_TRANSLATE_NOOP("TMeasureGlyphs", "Mi"),  QT_TRANSLATE_NOOP("TMeasureGlyphs", "Fa"),
        QT_TRANSLATE_NOOP("TMeasureGlyphs", "Sol"), QT_TRANSLATE_NOOP("TMeasureGlyphs", "La"),
        QT_TRANSLATE_NOOP("TMeasureGlyphs", "Si")};
    const int letter = static_cast<int>(std::string_view("CDEFGAB").find(pitch.Step));
    const QString alteration = pitch.Alter > 0   ? QString(pitch.Alter, QChar(0x266F))
                               : pitch.Alter < 0 ? QString(-pitch.Alter, QChar(0x266D))
                                                 : QString();
    const QString octave = QString::number(pitch.Octave);
    return QCoreApplication::translate("TMeasureGlyphs", Syllables[std::max(0, letter)]) +
           alteration + octave + QStringLiteral(" (") + QChar::fromLatin1(pitch.Step) + alteration +
           octave + QStringLiteral(")");
}

QString TFormMusicMeasures::ChordToolTip(int tag) const
{
    if (FUnit == nullptr)
        return QString();
    const QString name = HalfBarChordName(*FUnit, tag / 2, tag % 2);
    if (name.isEmpty())
        return QString();
    return TMeasureGlyphs::ChordNumeral(FUnit->GetChord(tag / 2, (tag % 2) * 2)) +
           QStringLiteral(" → ") + name;
}

void TFormMusicMeasures::MoveRowCursor(const TMeasureRowFrame& frame, int step)
{
    int bar = frame.Bar();
    if (step < 0 && bar > 0)
    {
        --bar;
        step = StepsPerBar - 1;
    }
    else if (step >= StepsPerBar && bar + 1 < Bars)
    {
        ++bar;
        step = 0;
    }
    TMeasureRowFrame* target = frame.IsMelody() ? MelodyFrame[bar] : RhythmFrame[bar];
    target->SetCursor(step);
    if (target != &frame)
        target->setFocus(Qt::TabFocusReason);
}

bool TFormMusicMeasures::RowKeyPress(TMeasureRowFrame& frame, const QKeyEvent& event)
{
    const int bar = frame.Bar();
    const int step = frame.Cursor();
    const bool shift = event.modifiers().testFlag(Qt::ShiftModifier);
    const int x = step * CellWidth + CellWidth / 2;
    switch (event.key())
    {
    case Qt::Key_Left:
        MoveRowCursor(frame, step - 1);
        return true;
    case Qt::Key_Right:
        MoveRowCursor(frame, step + 1);
        return true;
    case Qt::Key_Home:
        MoveRowCursor(frame, 0);
        return true;
    case Qt::Key_End:
        MoveRowCursor(frame, StepsPerBar - 1);
        return true;
    case Qt::Key_L:
        CheckBoxLock[bar]->click();
        return true;
    case Qt::Key_Space:
        if (frame.IsMelody())
            return false;
        RunEdit(tr("Longitud"), nullptr,
                [this, bar, shift, x]
                { RhythmFrameMouseDown(bar, shift ? Qt::RightButton : Qt::LeftButton, x); });
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    {
        if (!frame.IsMelody())
            return false;
        const Qt::MouseButton button = event.key() == Qt::Key_Up ? Qt::LeftButton : Qt::RightButton;
        const Qt::KeyboardModifiers modifiers = event.modifiers();
        RunEdit(tr("Melodía"), nullptr,
                [this, bar, button, modifiers, x]
                { MelodyFrameMouseDown(bar, button, modifiers, x); });
        return true;
    }
    default:
        return false;
    }
}

void TFormMusicMeasures::PaintFocusMark(QPainter& painter, const TMeasureRowFrame& frame) const
{
    if (!frame.hasFocus())
        return;
    const QWidget* surface = frame.viewport();
    // A 2-pixel frame inside the step's cell, its lines on whole pixels at any scale.
    const QRectF cell(frame.Cursor() * CellWidth, 0, CellWidth, surface->height());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(palette().color(QPalette::Highlight), 2);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(cell.adjusted(1, 1, -1, -1));
    painter.restore();
}
