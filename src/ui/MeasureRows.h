#pragma once

#include "controls/ScrollFrame.h"

class TFormMusicMeasures;

/// One bar of the bar editor's rhythm or melody row: a painted frame of eight steps that
/// the keyboard reaches with Tab. It keeps the step the keyboard is on (drawn with a focus
/// mark while the frame has the focus) and passes keys, tool tips and the accessibility of
/// its steps to the editor.
class TMeasureRowFrame : public TScrollFrame
{
    Q_OBJECT

public:
    TMeasureRowFrame(TFormMusicMeasures* form, bool melody, int bar, QWidget* parent);

    TFormMusicMeasures* Form() const { return FForm; }
    bool IsMelody() const { return FMelody; }
    int Bar() const { return FBar; }
    /// The step the keyboard is on, 0..StepsPerBar - 1.
    int Cursor() const { return FCursor; }
    void SetCursor(int step);
    /// The step under x on the surface, or -1 past the last one.
    static int StepAt(int x);
    /// Tells assistive tools that step changed (its text) or, with the focus, that the
    /// keyboard is on it.
    void NotifyStep(int step, bool moved) const;

protected:
    /// The row's keys go to the row before any shortcut of the window (the space bar).
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    TFormMusicMeasures* FForm; // the parent page
    bool FMelody;
    int FBar;
    int FCursor = 0;
};
