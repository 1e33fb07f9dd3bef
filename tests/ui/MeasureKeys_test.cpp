// The bar editor from the keyboard and in tool tips: the keys edit the unit as the mouse does.
#include "MeasuresFixture.h"
#include "ShownMainForm.h"
#include "mainform/MainFormParts.h"
#include "model/Munit.h"
#include "model/Muprop.h"
#include "model/MusicProject.h"
#include "ui/editor/FormMusicMeasures.h"
#include "ui/editor/MeasureRows.h"
#include "ui/mainform/LyravaneMainForm.h"
#include "ui/mainform/MainFormServices.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

namespace
{

class MeasureKeysTest : public FormMusicMeasuresTest
{
protected:
    void Keys(QWidget* target, std::initializer_list<Qt::Key> keys,
              Qt::KeyboardModifiers modifiers = {})
    {
        for (const Qt::Key key : keys)
            QTest::keyClick(target, key, modifiers);
    }
};

} // namespace

TEST_F(MeasureKeysTest, TabReachesTheRowsAndSpaceEditsRhythmAsTheMouse)
{
    // Bar 1's second chord box, then Tab: its rhythm row, then its melody row.
    Form->ComboBoxChord[1]->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(Form->ComboBoxChord[1], Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Form->RhythmFrame[0]);
    Keys(Form->RhythmFrame[0], {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right});
    QTest::keyClick(Form->RhythmFrame[0], Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Form->MelodyFrame[0]);
    EXPECT_EQ(Form->MelodyFrame[0]->Cursor(), 3) << "on the step it left";
    QTest::keyClick(Form->MelodyFrame[0], Qt::Key_Left);
    QTest::keyClick(Form->MelodyFrame[0], Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Form->RhythmFrame[0]->Cursor(), 2);

    // The same edits as the mouse tests: a note on step 4 of bar 3 (chord V) sounds its root.
    Form->RhythmFrame[2]->setFocus(Qt::TabFocusReason);
    Keys(Form->RhythmFrame[2], {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Space});
    EXPECT_EQ(RhythmOf(*Unit, 2), "...*----");
    EXPECT_EQ(Unit->GetMelody(2, 3), 7);
    EXPECT_TRUE(Song.Modified);
    // Shift+Space is the right click: on a hold after a note, a rest that silences the rest.
    Keys(Form->RhythmFrame[2], {Qt::Key_Right, Qt::Key_Right});
    QTest::keyClick(Form->RhythmFrame[2], Qt::Key_Space, Qt::ShiftModifier);
    EXPECT_EQ(RhythmOf(*Unit, 2), "...*-...");
    Keys(Form->RhythmFrame[2], {Qt::Key_Home, Qt::Key_Space});
    EXPECT_EQ(RhythmOf(*Unit, 2).substr(0, 4), "*--*");
}

TEST_F(MeasureKeysTest, TheRowsKeysComeBeforeTheWindowsShortcuts)
{
    // A window-wide space bar (play or stop) must not take the rhythm row's Space.
    QAction play(&Panel);
    play.setShortcut(QKeySequence(Qt::Key_Space));
    play.setShortcutContext(Qt::WindowShortcut);
    Panel.addAction(&play);
    int played = 0;
    QObject::connect(&play, &QAction::triggered, [&played] { ++played; });
    Form->RhythmFrame[2]->setFocus(Qt::TabFocusReason);
    QTest::keyClick(Form->RhythmFrame[2], Qt::Key_Space);
    EXPECT_EQ(RhythmOf(*Unit, 2), "*-------");
    EXPECT_EQ(played, 0);
    // Elsewhere, and in the melody row that has no use for it, the shortcut still works.
    Form->MelodyFrame[2]->setFocus(Qt::TabFocusReason);
    QTest::keyClick(Form->MelodyFrame[2], Qt::Key_Space);
    EXPECT_EQ(played, 1);
}

TEST_F(MeasureKeysTest, ArrowsCrossIntoTheNeighbouringBarsAndStopAtTheEnds)
{
    TMeasureRowFrame* first = Form->RhythmFrame[0];
    first->setFocus(Qt::TabFocusReason);
    QTest::keyClick(first, Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), first);
    EXPECT_EQ(first->Cursor(), 0);
    Keys(first, {Qt::Key_End, Qt::Key_Right});
    EXPECT_EQ(QApplication::focusWidget(), Form->RhythmFrame[1]);
    EXPECT_EQ(Form->RhythmFrame[1]->Cursor(), 0);
    QTest::keyClick(Form->RhythmFrame[1], Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), first);
    EXPECT_EQ(first->Cursor(), 7);

    TMeasureRowFrame* last = Form->MelodyFrame[3];
    last->setFocus(Qt::TabFocusReason);
    Keys(last, {Qt::Key_End, Qt::Key_Right});
    EXPECT_EQ(QApplication::focusWidget(), last);
    EXPECT_EQ(last->Cursor(), 7);
    // A click puts the keyboard on the step clicked.
    QTest::mouseClick(last->viewport(), Qt::LeftButton, {}, QPoint(2 * 16 + 3, 16));
    EXPECT_EQ(last->Cursor(), 2);
}

TEST_F(MeasureKeysTest, UpAndDownMoveTheSoundingNoteLikeTheMouseButtons)
{
    Unit->SetBarRhythm(0, "*---*...");
    Unit->SetMelody(0, 0, 0);
    Unit->SetMelody(0, 4, 4);
    Form->ShowUnit(Unit);
    TMeasureRowFrame* row = Form->MelodyFrame[0];
    row->setFocus(Qt::TabFocusReason);
    // On a hold the note it belongs to moves: C up the major scale to D, then back.
    Keys(row, {Qt::Key_Right, Qt::Key_Right, Qt::Key_Up});
    EXPECT_EQ(Unit->GetMelody(0, 0), 2);
    QTest::keyClick(row, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(Unit->GetMelody(0, 0), 3);
    QTest::keyClick(row, Qt::Key_Down);
    EXPECT_EQ(Unit->GetMelody(0, 0), 2);
    EXPECT_EQ(Unit->GetMelody(0, 4), 4);
    // A rest has no note: nothing changes, and Space does nothing in the melody row.
    Keys(row, {Qt::Key_End, Qt::Key_Up, Qt::Key_Space});
    EXPECT_EQ(RhythmOf(*Unit, 0), "*---*...");
    EXPECT_EQ(Unit->GetMelody(0, 0), 2);
    EXPECT_EQ(Unit->GetMelody(0, 4), 4);
}

TEST_F(MeasureKeysTest, LTogglesTheLockOfTheBarThroughItsBox)
{
    Form->MelodyFrame[2]->setFocus(Qt::TabFocusReason);
    QTest::keyClick(Form->MelodyFrame[2], Qt::Key_L);
    EXPECT_TRUE(Form->CheckBoxLock[2]->isChecked());
    EXPECT_EQ(Unit->GetLock(2), 1);
    EXPECT_EQ(Unit->GetLock(1), 0);
    QTest::keyClick(Form->MelodyFrame[2], Qt::Key_L);
    EXPECT_EQ(Unit->GetLock(2), 0);
}

TEST_F(MeasureKeysTest, TheFocusedStepCarriesAVisibleMark)
{
    TMeasureRowFrame* row = Form->RhythmFrame[1];
    const QImage before = row->viewport()->grab().toImage();
    row->setFocus(Qt::TabFocusReason);
    QTest::keyClick(row, Qt::Key_Right);
    QApplication::processEvents();
    const QImage focused = row->viewport()->grab().toImage();
    const QRgb mark = Form->palette().color(QPalette::Highlight).rgb();
    // Step 2's cell: its frame in the highlight colour, no other cell touched.
    EXPECT_EQ(focused.pixel(16 + 1, 5) & 0xffffff, mark & 0xffffff);
    EXPECT_EQ(focused.pixel(16 + 14, 12) & 0xffffff, mark & 0xffffff);
    EXPECT_EQ(focused.pixel(1, 5), before.pixel(1, 5));
    EXPECT_EQ(focused.pixel(40, 5), before.pixel(40, 5));
}

TEST_F(MeasureKeysTest, ChordTipsNameTheChordInTheKeyAndScale)
{
    // The new song: bar 1 I, IV; bar 2 IV; bar 3 V.
    TMuprop& property = *Song.PropertyAt(0);
    const int bar3 = 2 * 2;
    ASSERT_EQ(Unit->GetChord(2, 0), 5);
    Form->ShowUnit(Unit);
    EXPECT_EQ(Form->ComboBoxChord[bar3]->toolTip().toStdString(), "V → G");
    property.Use7th = 1;
    property.Key = 2;
    Form->ShowUnit(Unit);
    EXPECT_EQ(Form->ComboBoxChord[bar3]->toolTip().toStdString(), "V → A7");
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(Form->ComboBoxChord[bar3]);
    EXPECT_EQ(box->text(QAccessible::Name).toStdString(), "Compás 3, primera mitad, acorde");
    EXPECT_EQ(box->text(QAccessible::Value).toStdString(), "V");
    EXPECT_EQ(box->text(QAccessible::Description).toStdString(), "V → A7");
    property.Use7th = 0;
    property.Key = 0;
    property.Scale = 1;
    Unit->SetChordRun(0, 0, 1);
    Form->ShowUnit(Unit);
    EXPECT_EQ(Form->ComboBoxChord[0]->toolTip().toStdString(), "I → Am");
    Unit->SetChordRun(0, 0, 0);
    Form->ShowUnit(Unit);
    EXPECT_TRUE(Form->ComboBoxChord[0]->toolTip().isEmpty());
}

TEST_F(MeasureKeysTest, StepTextsSayWhatSoundsAndTipsNameTheNote)
{
    TMuprop& property = *Song.PropertyAt(0);
    Unit->SetBarRhythm(1, "*--.*...");
    Unit->SetMelody(1, 0, 4);
    Unit->SetMelody(1, 4, 13);
    Form->ShowUnit(Unit);
    EXPECT_EQ(Form->StepDescription(false, 1, 0).toStdString(), "Compás 2, paso 1, ritmo: nota");
    EXPECT_EQ(Form->StepDescription(false, 1, 2).toStdString(),
              "Compás 2, paso 3, ritmo: prolongación");
    EXPECT_EQ(Form->StepDescription(false, 1, 3).toStdString(),
              "Compás 2, paso 4, ritmo: silencio");
    EXPECT_EQ(Form->StepDescription(true, 1, 1).toStdString(),
              "Compás 2, melodía paso 2: Mi (prolongación)");
    EXPECT_EQ(Form->StepDescription(true, 1, 4).toStdString(),
              "Compás 2, melodía paso 5: Do♯ agudo");
    Unit->SetLock(1, 1);
    EXPECT_EQ(Form->StepDescription(true, 1, 3).toStdString(),
              "Compás 2, melodía paso 4: silencio, bloqueado");

    EXPECT_EQ(Form->StepToolTip(true, 1, 2).toStdString(), "Mi4 (E4)");
    EXPECT_EQ(Form->StepToolTip(true, 1, 4).toStdString(), "Do♯5 (C♯5)");
    EXPECT_TRUE(Form->StepToolTip(true, 1, 3).isEmpty());
    EXPECT_TRUE(Form->StepToolTip(false, 1, 0).isEmpty());
    // In the key the song sounds in, an octave up when the melody is.
    property.Key = 2;
    property.OctaveUp = 1;
    EXPECT_EQ(Form->StepToolTip(true, 1, 0).toStdString(), "Fa♯5 (F♯5)");
}

TEST(MeasureKeysWindowTest, AKeyboardEditIsOneUndoStepAsAClickIs)
{
    TShownMainForm window;
    ASSERT_TRUE(window.Show());
    TLyravaneMainForm& form = window.Form;
    form.TabControl1->setCurrentIndex(1);
    auto* editor = qobject_cast<TFormMusicMeasures*>(BarEditor(form));
    ASSERT_NE(editor, nullptr);
    TMunit& unit = *Song(form).UnitAt(1);
    const std::string before = RhythmOf(unit, 1);

    editor->RhythmFrame[1]->setFocus(Qt::TabFocusReason);
    QTest::keyClick(editor->RhythmFrame[1], Qt::Key_Space);
    EXPECT_NE(RhythmOf(unit, 1), before);
    EXPECT_TRUE(Song(form).Modified);
    EXPECT_TRUE(Action(form, "Action_EditUndo")->isEnabled());
    Action(form, "Action_EditUndo")->trigger();
    EXPECT_EQ(RhythmOf(*Song(form).UnitAt(1), 1), before);
    form.Document().History().MarkSaved();
}
