// The bar editor's edits of the unit: the chord boxes, the commands and option boxes, and the
// mouse on the rhythm and melody rows.
#include "ui/editor/FormMusicMeasures.h"

#include "compose/ComposeUnit.h"
#include "model/Munit.h"
#include "model/UnitEditing.h"
#include "ui/WindowUtils.h"
#include "ui/editor/MeasureRows.h"

#include <QCheckBox>
#include <QComboBox>

void TFormMusicMeasures::ComboBoxChordChange(int tag, int item)
{
    if (FUnit == nullptr || item < 0)
        return;
    FUnit->SetChordRun(tag / 2, (tag % 2) * 2, static_cast<std::uint8_t>(item + 1));
    RefreshChords();
}

void TFormMusicMeasures::ButtonComposeClick()
{
    ButtonComposeChordClick();
    ButtonComposeRhythmClick();
}

void TFormMusicMeasures::ButtonComposeChordClick()
{
    if (FUnit == nullptr)
        return;
    const TWaitCursor wait;
    ComposeUnit(*FUnit, {.Chords = true});
    RefreshChords();
}

void TFormMusicMeasures::ButtonComposeRhythmClick()
{
    if (FUnit == nullptr)
        return;
    {
        const TWaitCursor wait;
        ComposeUnit(*FUnit, {.Rhythm = true});
        RepaintFrames();
    }
    ButtonComposeMelodyClick();
}

void TFormMusicMeasures::ButtonComposeMelodyClick()
{
    if (FUnit == nullptr)
        return;
    const TWaitCursor wait;
    // One of a thousand random streams per composition; the clock picks which.
    ComposeUnit(*FUnit, {.Melody = true});
    RepaintMelodyFrames();
}

void TFormMusicMeasures::ButtonClearClick()
{
    if (FUnit == nullptr)
        return;
    for (int bar = 0; bar < Bars; ++bar)
        if (FUnit->GetLock(bar) == 0)
            for (int step = 0; step < StepsPerBar; ++step)
                FUnit->SetRhythm(bar, step, RhythmRest);
    RepaintFrames();
}

void TFormMusicMeasures::ButtonLockAllClick()
{
    if (FUnit == nullptr)
        return;
    for (int bar = 0; bar < Bars; ++bar)
    {
        FUnit->SetLock(bar, 1);
        CheckBoxLock[bar]->setChecked(true);
    }
}

void TFormMusicMeasures::ButtonUnlockAllClick()
{
    if (FUnit == nullptr)
        return;
    for (int bar = 0; bar < Bars; ++bar)
    {
        FUnit->SetLock(bar, 0);
        CheckBoxLock[bar]->setChecked(false);
    }
}

void TFormMusicMeasures::CheckBoxLockClick(int tag)
{
    if (FUnit == nullptr)
        return;
    FUnit->SetLock(tag, CheckBoxLock[tag]->isChecked() ? 1 : 0);
}

void TFormMusicMeasures::CheckBoxCadenceClick()
{
    if (FUnit == nullptr)
        return;
    FUnit->SetCadence(CheckBoxCadence->isChecked() ? 1 : 0);
}

void TFormMusicMeasures::CheckBoxShortNotesClick()
{
    if (FUnit == nullptr)
        return;
    FUnit->SetShortNotes(CheckBoxShortNotes->isChecked() ? 1 : 0);
}

void TFormMusicMeasures::CheckBoxHarmonyVoiceClick()
{
    if (FUnit == nullptr)
        return;
    FUnit->SetHarmonyVoice(CheckBoxHarmonyVoice->isChecked() ? 1 : 0);
}

void TFormMusicMeasures::CheckBoxFillClick()
{
    if (FUnit == nullptr)
        return;
    FUnit->SetFill(CheckBoxFill->isChecked() ? 1 : 0);
}

void TFormMusicMeasures::RhythmFrameMouseDown(int tag, Qt::MouseButton button, int x)
{
    RhythmFrame[tag]->setFocus(Qt::MouseFocusReason);
    if (FUnit == nullptr || (button != Qt::LeftButton && button != Qt::RightButton))
        return;
    const int bar = tag;
    const int step = x / CellWidth;
    // Past the eighth cell there is no step: nothing changes.
    if (step >= StepsPerBar)
        return;
    CycleRhythmStep(*FUnit, bar, step, button == Qt::RightButton);

    RhythmFrame[tag]->viewport()->update();
    MelodyFrame[tag]->viewport()->update();
    RhythmFrame[tag]->NotifyStep(step, false);
}

void TFormMusicMeasures::MelodyFrameMouseDown(int tag, Qt::MouseButton button,
                                              Qt::KeyboardModifiers modifiers, int x)
{
    MelodyFrame[tag]->setFocus(Qt::MouseFocusReason);
    if (FUnit == nullptr || (button != Qt::LeftButton && button != Qt::RightButton))
        return;
    const int bar = tag;
    const int note = NoteOnsetAt(*FUnit, bar, x / CellWidth);
    if (note < 0)
        return;

    const int pitch = SteppedMelodyPitch(
        FUnit->GetMelody(bar, note), button == Qt::LeftButton ? 1 : -1, UnitScale(),
        FUnit->GetChord(bar, note / 2), modifiers.testFlag(Qt::ControlModifier));
    FUnit->SetMelody(bar, note, pitch);
    if (note + 1 < StepsPerBar && FUnit->GetRhythm(bar, note + 1) != RhythmOnset)
        FUnit->SetMelody(bar, note + 1, pitch);
    MelodyFrame[tag]->viewport()->update();
    MelodyFrame[tag]->NotifyStep(note, false);
}
