#pragma once

#include "controls/ScrollFrame.h"

class QKeyEvent;
class TMeasureRowFrame;

/// What a row asks of the editor it belongs to: the editing its keys do and the texts of its
/// steps.
class TMeasureRowOwner
{
public:
    virtual ~TMeasureRowOwner() = default;
    /// Acts on a key pressed on the row; false when the key is not the editor's.
    virtual bool RowKeyPress(TMeasureRowFrame& frame, const QKeyEvent& event) = 0;
    /// A step's tool tip; empty for none.
    virtual QString StepToolTip(bool melody, int bar, int step) const = 0;
    /// What a step holds, for screen readers.
    virtual QString StepDescription(bool melody, int bar, int step) const = 0;
};

/// One bar of the bar editor's rhythm or melody row: a painted frame of eight steps that
/// the keyboard reaches with Tab. It keeps the step the keyboard is on (drawn with a focus
/// mark while the frame has the focus) and passes keys, tool tips and the accessibility of
/// its steps to the editor.
class TMeasureRowFrame : public TScrollFrame
{
    Q_OBJECT

public:
    /// The steps of a bar, and the width of each on the surface.
    static constexpr int Steps = 8;
    static constexpr int CellWidth = 16;

    TMeasureRowFrame(TMeasureRowOwner* owner, bool melody, int bar, QWidget* parent);

    TMeasureRowOwner* Owner() const { return FOwner; }
    bool IsMelody() const { return FMelody; }
    int Bar() const { return FBar; }
    /// The step the keyboard is on, 0..Steps - 1.
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
    TMeasureRowOwner* FOwner; // the parent page
    bool FMelody;
    int FBar;
    int FCursor = 0;
};
