#include "UiFakes.h"

#include "controls/DialEdit.h"
#include "controls/ScrollFrame.h"
#include "model/Munit.h"
#include "model/Muprop.h"
#include "model/SongBytes.h"
#include "ui/editor/FormMusicMeasures.h"
#include "ui/editor/FormMusicProperty.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

namespace
{
std::string SongBytes(TLyravaneMainForm& form)
{
    return SongWithLocksToBytes(Song(form));
}

std::string UndoText(TLyravaneMainForm& form)
{
    return Action(form, "Action_EditUndo")->text().toStdString();
}

/// Triggers a command as the user would: its state is brought up to date first, as it is
/// whenever the program waits for input.
void Trigger(TLyravaneMainForm& form, const char* action)
{
    Inside(form).RefreshCommandStates();
    Action(form, action)->trigger();
}

/// A mouse press at x in a frame of the bar editor.
void PressFrame(TScrollFrame* frame, int x)
{
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(x, 4), frame->mapToGlobal(QPointF(x, 4)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    emit frame->MouseDown(&press);
}
} // namespace

class UndoTest : public ::testing::Test
{
protected:
    TFormFixture F;

    /// A window over the program's own pages, shown.
    TLyravaneMainForm& RealPages()
    {
        F.Services.CreatePropertyPage = nullptr;
        F.Services.CreateUnitPage = nullptr;
        TLyravaneMainForm& form = F.Create();
        form.show();
        Inside(form).FormShow();
        return form;
    }
    TFormMusicProperty& Property(TLyravaneMainForm& form)
    {
        return *static_cast<TFormMusicProperty*>(PropertyPage(form));
    }
    /// The bar editor, which the window makes when a unit is first shown.
    TFormMusicMeasures& Editor(TLyravaneMainForm& form)
    {
        const int shown = form.TabControl1->currentIndex();
        form.TabControl1->setCurrentIndex(1);
        form.TabControl1->setCurrentIndex(shown);
        return *static_cast<TFormMusicMeasures*>(BarEditor(form));
    }
};

TEST_F(UndoTest, EveryKindOfChangeUndoesAndRedoesByteForByte)
{
    TLyravaneMainForm& form = RealPages();
    TFormMusicProperty& page = Property(form);
    TFormMusicMeasures& editor = Editor(form);

    struct TStep
    {
        std::string Name;
        std::string After;
        int TabBefore;
        int TabAfter;
    };
    std::vector<TStep> steps;
    std::string before = SongBytes(form);
    const auto edit = [&](const std::string& name, const std::function<void()>& change)
    {
        SCOPED_TRACE(name);
        const int tab = form.TabControl1->currentIndex();
        change();
        const std::string after = SongBytes(form);
        EXPECT_TRUE(after != before) << "the edit changes the song";
        EXPECT_EQ(UndoText(form), "&Deshacer " + name);
        steps.push_back({name, after, tab, form.TabControl1->currentIndex()});
        before = after;
    };

    edit("Tempo", [&] { page.DialEditT->SetValue(150); });
    edit("Escala", [&] { page.RadioButton2->click(); });
    edit("Usar Acordes de 7.ª", [&] { page.CheckBox1->click(); });
    edit("Instrumento", [&] { page.ComboBox10x[1]->setCurrentIndex(10); });
    edit("Composición Aleatoria", [&] { page.ButtonRandomSet->click(); });
    edit("Insertar", [&] { Trigger(form, "Action_EditNewMunit"); });
    form.TabControl1->setCurrentIndex(2);
    edit("Comp. Automática", [&] { editor.ButtonCompose->click(); });
    edit("Bloqueado", [&] { editor.CheckBoxLock[1]->click(); });
    edit("Limpiar Partitura", [&] { editor.ButtonClear->click(); });
    const int chord = editor.Unit()->GetChord(1, 0);
    edit("Acorde", [&] { emit editor.ComboBoxChord[2]->activated(chord % 6); });
    edit("Longitud", [&] { PressFrame(editor.RhythmFrame[0], 8); });
    edit("Melodía", [&] { PressFrame(editor.MelodyFrame[0], 8); });
    edit("Bloquear Todo", [&] { editor.ButtonLockAll->click(); });
    edit("Desbloquear Todo", [&] { editor.ButtonUnlockAll->click(); });
    edit("Llenar", [&] { editor.CheckBoxFill->click(); });
    Trigger(form, "Action_EditCopy");
    edit("Pegar", [&] { Trigger(form, "Action_EditPaste"); });
    edit("Cortar", [&] { Trigger(form, "Action_EditCut"); });
    form.TabControl1->setCurrentIndex(1);
    edit("Borrar", [&] { Trigger(form, "Action_EditDelete"); });

    // Back to the start, each step showing the tab it was made on with its values.
    for (auto step = steps.rbegin(); step != steps.rend(); ++step)
    {
        SCOPED_TRACE(step->Name);
        ASSERT_TRUE(SongBytes(form) == step->After);
        Action(form, "Action_EditUndo")->trigger();
        const int tab = form.TabControl1->currentIndex();
        EXPECT_EQ(tab, step->TabBefore);
        if (const TMunit* unit = Song(form).UnitAt(tab))
        {
            EXPECT_EQ(editor.Unit(), unit);
            EXPECT_FALSE(editor.isHidden());
            for (int bar = 0; bar < TFormMusicMeasures::Bars; ++bar)
                EXPECT_EQ(editor.CheckBoxLock[bar]->isChecked(), unit->GetLock(bar) != 0);
        }
        else
        {
            EXPECT_EQ(page.Muprop(), Song(form).PropertyAt(tab));
            EXPECT_EQ(page.DialEditT->Value(), page.Muprop()->Tempo);
            EXPECT_EQ(page.RadioButton2->isChecked(), page.Muprop()->Scale != 0);
        }
    }
    EXPECT_FALSE(Action(form, "Action_EditUndo")->isEnabled());
    EXPECT_EQ(UndoText(form), "&Deshacer");
    EXPECT_FALSE(Song(form).Modified) << "undone back to the new song";

    for (const TStep& step : steps)
    {
        SCOPED_TRACE(step.Name);
        EXPECT_EQ(Action(form, "Action_EditRedo")->text().toStdString(), "&Rehacer " + step.Name);
        Action(form, "Action_EditRedo")->trigger();
        EXPECT_TRUE(SongBytes(form) == step.After);
        EXPECT_EQ(form.TabControl1->currentIndex(), step.TabAfter);
    }
    EXPECT_FALSE(Action(form, "Action_EditRedo")->isEnabled());
    EXPECT_TRUE(Song(form).Modified);
}

TEST_F(UndoTest, TheSavedStateIsTheUnmodifiedOne)
{
    TLyravaneMainForm& form = F.Create();
    EXPECT_FALSE(Action(form, "Action_EditUndo")->isEnabled());
    EXPECT_FALSE(Action(form, "Action_EditRedo")->isEnabled());
    Trigger(form, "Action_EditNewMunit");
    EXPECT_TRUE(Song(form).Modified);
    EXPECT_EQ(Caption(form), "Lyravane 1999 - [Untitled] *");

    const QString path = F.Path(QStringLiteral("cancion1.lvp"));
    F.FileDialogs.Answers = {path};
    Action(form, "Action_FileSave")->trigger();
    EXPECT_FALSE(Song(form).Modified);
    EXPECT_EQ(Caption(form), "Lyravane 1999 - [cancion1.lvp]");

    Trigger(form, "Action_EditNewMunit");
    EXPECT_EQ(Caption(form), "Lyravane 1999 - [cancion1.lvp] *");
    Action(form, "Action_EditUndo")->trigger();
    EXPECT_FALSE(Song(form).Modified);
    EXPECT_EQ(Caption(form), "Lyravane 1999 - [cancion1.lvp]");
    Action(form, "Action_EditUndo")->trigger(); // past the saved state
    EXPECT_TRUE(Song(form).Modified);
    EXPECT_EQ(Caption(form), "Lyravane 1999 - [cancion1.lvp] *");
    Action(form, "Action_EditRedo")->trigger();
    EXPECT_FALSE(Song(form).Modified);
    Action(form, "Action_EditRedo")->trigger();
    EXPECT_TRUE(Song(form).Modified);
    Action(form, "Action_EditUndo")->trigger();
    // Back in the saved state, closing asks nothing.
    EXPECT_TRUE(form.close());
    EXPECT_TRUE(F.MessageBoxes.Shown.empty());

    // New and Open start a fresh history.
    Trigger(form, "Action_EditNewMunit");
    F.MessageBoxes.Answers = {TMsgResult::No};
    Action(form, "Action_FileNew")->trigger();
    EXPECT_FALSE(Action(form, "Action_EditUndo")->isEnabled());
    EXPECT_FALSE(Song(form).Modified);
    EXPECT_EQ(Caption(form), "Lyravane 1999 - [Untitled]");
    Trigger(form, "Action_EditNewMunit");
    F.MessageBoxes.Answers = {TMsgResult::No};
    F.FileDialogs.Answers = {path};
    Action(form, "Action_FileOpen")->trigger();
    EXPECT_EQ(form.Document().History().Stack().count(), 0);
    EXPECT_EQ(Caption(form), "Lyravane 1999 - [cancion1.lvp]");
}

TEST_F(UndoTest, QuickChangesOfOneControlMakeOneStepAndNothingChangedMakesNone)
{
    TLyravaneMainForm& form = RealPages();
    TFormMusicProperty& page = Property(form);
    const QUndoStack& stack = form.Document().History().Stack();
    std::int64_t now = 0;
    form.Document().History().Clock = [&now] { return now; };

    // A drag over the tempo dial, a change every 50 ms.
    for (int tempo = 121; tempo <= 140; ++tempo, now += 50)
        page.DialEditT->SetValue(tempo);
    EXPECT_EQ(stack.count(), 1);
    // A second later it is a new change; so is another control's.
    now += TSongHistory::MergeMilliseconds;
    page.DialEditT->SetValue(100);
    page.DialEdit10x[0]->SetValue(page.DialEdit10x[0]->Value() - 10);
    EXPECT_EQ(stack.count(), 3);
    // Dragged back to where it started: the step goes.
    page.DialEdit10x[0]->SetValue(page.DialEdit10x[0]->Value() + 10);
    EXPECT_EQ(stack.count(), 2);

    Action(form, "Action_EditUndo")->trigger();
    EXPECT_EQ(page.DialEditT->Value(), 140);
    Action(form, "Action_EditUndo")->trigger();
    EXPECT_EQ(page.DialEditT->Value(), 120);
    EXPECT_EQ(Song(form).PropertyAt(0)->Tempo, 120);
    EXPECT_FALSE(Song(form).Modified);

    // Clicks that change nothing: no step, and the song stays unmodified.
    form.TabControl1->setCurrentIndex(1);
    Editor(form).ButtonUnlockAll->click();
    EXPECT_EQ(stack.index(), 0);
    EXPECT_FALSE(Song(form).Modified);
}

TEST_F(UndoTest, CompositionWithEveryBarLockedSaysSo)
{
    TLyravaneMainForm& form = RealPages();
    TFormMusicMeasures& editor = Editor(form);
    form.TabControl1->setCurrentIndex(1);
    editor.ButtonCompose->click();
    editor.ButtonLockAll->click();
    const std::string locked = SongBytes(form);
    const int steps = form.Document().History().Stack().count();
    for (QPushButton* button :
         {editor.ButtonCompose, editor.ButtonComposeChord, editor.ButtonComposeRhythm,
          editor.ButtonComposeMelody, editor.ButtonClear})
    {
        SCOPED_TRACE(button->objectName().toStdString());
        form.statusBar()->clearMessage();
        button->click();
        EXPECT_EQ(form.statusBar()->currentMessage().toStdString(),
                  "Todos los compases están bloqueados.");
        EXPECT_TRUE(SongBytes(form) == locked);
        EXPECT_EQ(form.Document().History().Stack().count(), steps);
    }
    editor.CheckBoxLock[3]->click();
    form.statusBar()->clearMessage();
    editor.ButtonCompose->click();
    EXPECT_TRUE(form.statusBar()->currentMessage().isEmpty());
}

TEST_F(UndoTest, ShortcutsUndoTheSongFromANumberField)
{
    TLyravaneMainForm& form = RealPages();
    TFormMusicProperty& page = Property(form);
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    page.DialEditT->SetValue(150);
    page.DialEditT->setFocus();
    QTest::keyClick(page.DialEditT, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Song(form).PropertyAt(0)->Tempo, 120);
    EXPECT_EQ(page.DialEditT->Value(), 120);
    page.DialEditT->setFocus();
    QTest::keyClick(page.DialEditT, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Song(form).PropertyAt(0)->Tempo, 150);
    Action(form, "Action_EditUndo")->trigger();
    page.DialEditT->setFocus();
    QTest::keyClick(page.DialEditT, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Song(form).PropertyAt(0)->Tempo, 150);
}

TEST_F(UndoTest, TheKeyboardGoesBackToTheControlThatShowsTheRestoredValue)
{
    TLyravaneMainForm& form = RealPages();
    TFormMusicProperty& page = Property(form);
    TFormMusicMeasures& editor = Editor(form);
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    page.CheckBox1->setFocus();
    QTest::keyClick(page.CheckBox1, Qt::Key_Space);
    ASSERT_TRUE(page.CheckBox1->isChecked());
    form.TabControl1->setCurrentIndex(1);
    editor.RhythmFrame[2]->setFocus();
    QTest::keyClick(editor.RhythmFrame[2], Qt::Key_Space);
    ASSERT_EQ(Song(form).UnitAt(1)->GetRhythm(2, 0), '*');

    // Each undo and redo shows its step's tab with the keyboard on the step's control.
    const std::vector<std::pair<const char*, QWidget*>> steps = {
        {"Action_EditUndo", editor.RhythmFrame[2]},
        {"Action_EditUndo", page.CheckBox1},
        {"Action_EditRedo", page.CheckBox1},
        {"Action_EditRedo", editor.RhythmFrame[2]}};
    for (const auto& [command, control] : steps)
    {
        form.TabControl1->setFocus();
        Trigger(form, command);
        EXPECT_EQ(QApplication::focusWidget(), control) << command;
    }
    EXPECT_TRUE(page.CheckBox1->isChecked());
    EXPECT_EQ(Song(form).UnitAt(1)->GetRhythm(2, 0), '*');
}

TEST_F(UndoTest, AThousandStepsOnAFiftyEntrySongStayUnderFiftyMegabytes)
{
    TLyravaneMainForm& form = F.Create();
    ResizeSong(form, MaxFileEntries);
    TMusicProject& song = Song(form);
    TSongHistory& history = form.Document().History();
    // Each step moves one note of one unit; every note moves once.
    for (int step = 0; step < 1000; ++step)
    {
        const int round = step / 49;
        history.Edit(QStringLiteral("Melodía"), nullptr,
                     [&]
                     { song.UnitAt(1 + step % 49)->SetMelody(round % 4, round / 4, 1 + round); });
    }
    ASSERT_EQ(history.Stack().count(), 1000);
    const std::size_t bytes = history.MemoryUsed();
    RecordProperty("StackBytes", std::to_string(bytes));
    std::printf("Undo stack after 1000 steps on a %d-entry song: %zu bytes\n", song.Count(), bytes);
    EXPECT_LT(bytes, 50u * 1024 * 1024);
    // Every step held a whole copy of the song: 1000 times this.
    EXPECT_LT(bytes, 1000 * ToBytes(song).size() / 4) << "equal entries are shared";
}
