// The bar editor's painting: the chord numerals of the chord boxes, the rhythm and melody rows
// and the play cursor across them.
#include "ui/editor/FormMusicMeasures.h"

#include "model/Munit.h"
#include "ui/editor/MeasureRows.h"

#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <array>

namespace
{
constexpr int ChordItemIndent = 3;

/// Fills the odd beats of a frame a shade darker, so that the steps read in pairs.
void PaintBeatBands(QPainter& painter, const QRect& area, const QColor& base)
{
    const QColor band = base.darker(104);
    for (int beat = 1; beat < 4; beat += 2)
        painter.fillRect(QRect(beat * 2 * TFormMusicMeasures::CellWidth, area.top(),
                               2 * TFormMusicMeasures::CellWidth, area.height()),
                         band);
    // The middle of the bar, where the second half-bar chord starts.
    painter.fillRect(QRect(4 * TFormMusicMeasures::CellWidth, area.top(), 1, area.height()),
                     base.darker(118));
}
} // namespace

void TFormMusicMeasures::ComboBoxChordDrawItem(QPainter& painter, const QRect& rect, int item,
                                               bool selected) const
{
    painter.fillRect(rect, palette().color(selected ? QPalette::Highlight : QPalette::Base));
    if (item < 0 || item >= ChordItems)
        return;
    const int base = selected           ? TMeasureGlyphs::SelectedChordBase
                     : UnitScale() == 1 ? TMeasureGlyphs::MinorChordBase
                                        : TMeasureGlyphs::MajorChordBase;
    // A little air at the left; centred in rows higher than the glyph.
    const int top = rect.top() + std::max(0, (rect.height() - TMeasureGlyphs::Size) / 2);
    FGlyphs.Draw(painter, rect.left() + ChordItemIndent, top, base + item);
}

void TFormMusicMeasures::RhythmFramePaint(int tag, QPainter& painter) const
{
    const QWidget* surface = RhythmFrame[tag]->viewport();
    PaintBeatBands(painter, surface->rect(), surface->palette().color(QPalette::Window));
    if (FUnit == nullptr)
        return;
    for (int step = 0; step < StepsPerBar; ++step)
    {
        const int x = step * CellWidth;
        switch (FUnit->GetRhythm(tag, step))
        {
        case RhythmOnset:
            FGlyphs.Draw(painter, x, 2, TMeasureGlyphs::RhythmOnsetGlyph);
            break;
        case RhythmRest:
            FGlyphs.Draw(painter, x, 2, TMeasureGlyphs::RhythmRestGlyph);
            break;
        case RhythmHold:
            FGlyphs.Draw(painter, x, 2, TMeasureGlyphs::RhythmHoldGlyph);
            break;
        default:
            break;
        }
    }
    PaintPlayCursor(tag, painter, surface->height());
    PaintFocusMark(painter, *RhythmFrame[tag]);
}

int TFormMusicMeasures::PlayCursorX(int bar) const
{
    if (FPlayCursor < bar || FPlayCursor >= bar + 1)
        return -1;
    return static_cast<int>((FPlayCursor - bar) * StepsPerBar * CellWidth);
}

void TFormMusicMeasures::PaintPlayCursor(int bar, QPainter& painter, int height) const
{
    const int x = PlayCursorX(bar);
    if (x >= 0)
        painter.fillRect(x, 0, 2, height, TMeasureGlyphs::PlayCursorColor());
}

void TFormMusicMeasures::ShowPlayCursor(double bars)
{
    const double shown = bars < 0 ? -1 : bars;
    if (shown == FPlayCursor)
        return;
    std::array<int, Bars> before{};
    for (int bar = 0; bar < Bars; ++bar)
        before[static_cast<std::size_t>(bar)] = PlayCursorX(bar);
    FPlayCursor = shown;
    // Only the frames whose line moved by a pixel, came or went are painted again.
    for (int bar = 0; bar < Bars; ++bar)
        if (PlayCursorX(bar) != before[static_cast<std::size_t>(bar)])
        {
            RhythmFrame[static_cast<std::size_t>(bar)]->viewport()->update();
            MelodyFrame[static_cast<std::size_t>(bar)]->viewport()->update();
        }
}

void TFormMusicMeasures::MelodyFramePaint(int tag, QPainter& painter) const
{
    const QWidget* surface = MelodyFrame[tag]->viewport();
    PaintBeatBands(painter, surface->rect(), surface->palette().color(QPalette::Window));
    if (FUnit == nullptr)
        return;
    int pitchClass = 0; // of the latest onset to the left
    for (int step = 0; step < StepsPerBar; ++step)
    {
        const int x = step * CellWidth;
        const char rhythm = FUnit->GetRhythm(tag, step);
        if (rhythm == RhythmOnset)
        {
            const int pitch = FUnit->GetMelody(tag, step);
            pitchClass = PitchClass(pitch);
            FGlyphs.Draw(painter, x, 8, TMeasureGlyphs::NoteNameBase + pitchClass);
            if (pitch >= 12)
                FGlyphs.Draw(painter, x, -8, TMeasureGlyphs::OctaveUpBase + pitchClass);
            if (pitch < 0)
                FGlyphs.Draw(painter, x, 24, TMeasureGlyphs::OctaveDownBase + pitchClass);
        }
        else if (rhythm == RhythmHold)
            FGlyphs.Draw(painter, x, 8, TMeasureGlyphs::HoldBase + pitchClass);
    }
    PaintPlayCursor(tag, painter, surface->height());
    PaintFocusMark(painter, *MelodyFrame[tag]);
}
