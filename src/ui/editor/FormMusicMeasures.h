#pragma once

#include "ui/editor/MeasureGlyphs.h"
#include "ui/editor/MeasureRows.h"
#include "ui/editor/SongPages.h"

#include <QString>

#include <array>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QKeyEvent;
class QLabel;
class QLayout;
class QMouseEvent;
class QPainter;
class QPushButton;
class TFakeGroupBox;
class TMunit;

/// The bar editor shown on the unit tabs: the half-bar chords, rhythm and melody of the four
/// bars of one unit, edited with the mouse, the unit's options and bar locks, and the
/// composition commands. Every change goes straight into the unit and marks the song
/// modified; each click runs through the window's edit runner, which makes it one undo step.
class TFormMusicMeasures : public TUnitPage, public TMeasureRowOwner
{
    Q_OBJECT

public:
    static constexpr int Bars = 4;
    static constexpr int StepsPerBar = TMeasureRowFrame::Steps;
    /// Width of one step in the rhythm and melody frames.
    static constexpr int CellWidth = TMeasureRowFrame::CellWidth;
    static constexpr int FrameWidth = 132;
    static constexpr int RhythmFrameHeight = 24;
    static constexpr int MelodyFrameHeight = 36;
    /// The chord boxes offer the degrees I to VI.
    static constexpr int ChordItems = 6;

    explicit TFormMusicMeasures(QWidget* parent = nullptr);

    /// Loads the controls from unit and repaints the frames; the song's modified flag is the
    /// same afterwards, on every path.
    /// The first bar's first chord box: the keyboard edit of a unit starts there.
    QWidget* EntryControl() const override;
    void ShowUnit(TMunit* unit) override;
    /// Selects the chords of beats 0 and 2 of every bar in the combo boxes; leaves the
    /// modified flag as it was.
    void RefreshChords();
    /// A line across the rhythm and melody frames where the play is.
    void ShowPlayCursor(double bars) override;
    double PlayCursor() const { return FPlayCursor; }

    TMunit* Unit() const { return FUnit; }
    const TMeasureGlyphs& Glyphs() const { return FGlyphs; }

    TFakeGroupBox* GroupBoxCompose;
    QPushButton* ButtonCompose;       ///< "Comp. Automatica"
    QPushButton* ButtonComposeChord;  ///< "Comp. Automatica de Acordes"
    QPushButton* ButtonComposeRhythm; ///< "Auto longitud/Comp. Melodia"
    QPushButton* ButtonComposeMelody; ///< "Comp. Automatica Melodia"
    QPushButton* ButtonClear;         ///< "Limpiar Partitura"
    QPushButton* ButtonUnlockAll;     ///< "Desbloquear Todo"
    QPushButton* ButtonLockAll;       ///< "Bloquear Todo"
    TFakeGroupBox* GroupBoxOption;
    QCheckBox* CheckBoxCadence;      ///< "Parar Forma"
    QCheckBox* CheckBoxShortNotes;   ///< "Notas Cortas"
    QCheckBox* CheckBoxHarmonyVoice; ///< "Melodia Armonica"
    QCheckBox* CheckBoxFill;         ///< "Llenar"
    std::array<QLabel*, Bars> LabelBar;
    std::array<QCheckBox*, Bars> CheckBoxLock;
    QLabel* LabelChord;
    QLabel* LabelRhythm;
    QLabel* LabelMelody;
    /// Tag t: beat 0 (t even) or beat 2 (t odd) of bar t div 2.
    std::array<QComboBox*, 2 * Bars> ComboBoxChord;
    std::array<TMeasureRowFrame*, Bars> RhythmFrame;
    std::array<TMeasureRowFrame*, Bars> MelodyFrame;

    // Handlers; tag = the index of the control among its kind.
    void ComboBoxChordChange(int tag, int item);
    /// Clears rect and draws the numeral of item: highlighted when selected, else in the
    /// colours of the unit's scale.
    void ComboBoxChordDrawItem(QPainter& painter, const QRect& rect, int item, bool selected) const;
    void ButtonComposeClick();
    void ButtonComposeChordClick();
    void ButtonComposeRhythmClick();
    void ButtonComposeMelodyClick();
    void ButtonClearClick();
    void ButtonLockAllClick();
    void ButtonUnlockAllClick();
    void CheckBoxLockClick(int tag);
    void CheckBoxCadenceClick();
    void CheckBoxShortNotesClick();
    void CheckBoxHarmonyVoiceClick();
    void CheckBoxFillClick();
    void RhythmFramePaint(int tag, QPainter& painter) const;
    void MelodyFramePaint(int tag, QPainter& painter) const;
    /// Cycles the rhythm cell under x; a new onset takes its pitch from the note before it or
    /// from the chord root, and the rest of the bar is tidied.
    void RhythmFrameMouseDown(int tag, Qt::MouseButton button, int x);
    /// Moves the note sounding at x a scale step up (left button) or down (right button), a
    /// semitone with Ctrl.
    void MelodyFrameMouseDown(int tag, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                              int x);

    /// What a step of the rhythm or melody row holds, for screen readers ("Compás 2, paso 3,
    /// ritmo: nota", "Compás 2, melodía paso 3: Sol").
    QString StepDescription(bool melody, int bar, int step) const override;
    /// The tool tip of a step: the note a melody step sounds, by name ("Mi4 (E4)"); none
    /// for the rhythm row and for rests.
    QString StepToolTip(bool melody, int bar, int step) const override;
    /// The chord of a chord box, as a degree and as it sounds ("IV → F", "V → G7").
    QString ChordToolTip(int tag) const;
    /// The keys of a row frame: arrows, Home and End move between the steps and on into the
    /// next bar, Space edits a rhythm step as a left click (Shift: a right click), Up and
    /// Down raise and lower a melody note as the mouse does (Ctrl: by a semitone), L locks
    /// or unlocks the bar. Each edit runs as the mouse's does: one undo step.
    bool RowKeyPress(TMeasureRowFrame& frame, const QKeyEvent& event) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    /// The buttons and option boxes of the top row, each click one undo step.
    void ConnectCommands();
    QWidget* CreateBarGrid();
    /// Row 0 and 1 of bar's column: its number and its lock.
    void AddBarHeading(QGridLayout& grid, QWidget* panel, int bar);
    /// The two half-bar chord boxes of bar.
    QLayout* CreateChordBoxes(QWidget* panel, int bar);
    /// The rhythm and melody frames of bar, in rows 3 and 4 of its column.
    void AddRowFrames(QGridLayout& grid, QWidget* panel, int bar);
    void RepaintFrames();
    void RepaintMelodyFrames();
    /// Whether every bar of the unit shown is locked: the composition commands change nothing.
    bool AllBarsLocked() const;
    /// A message in the window's status bar.
    void ShowStatus(const QString& text);
    int UnitScale() const;
    /// NoteOnsetAt in the unit shown; -1 without one.
    int ShownNoteOnsetAt(int bar, int step) const;
    /// Moves the keyboard to step of bar in the same row (the next bar's frame past an end).
    void MoveRowCursor(const TMeasureRowFrame& frame, int step);
    /// Draws the keyboard's focus mark on the step it is on, while the frame has the focus.
    void PaintFocusMark(QPainter& painter, const TMeasureRowFrame& frame) const;
    /// The cursor's x in the frames of bar, or -1 when it is not in that bar.
    int PlayCursorX(int bar) const;
    void PaintPlayCursor(int bar, QPainter& painter, int height) const;

    TMunit* FUnit = nullptr; // not owned
    TMeasureGlyphs FGlyphs;
    double FPlayCursor = -1;
};
