#include "UiFakes.h"

#include "PlaceholderPages.h"
#include "model/Munit.h"
#include "model/SongBytes.h"
#include "ui/UnitClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

namespace
{
/// Marks entry i of the song with its own first chord, to follow it around.
void Mark(TLyravaneMainForm& form, int entry, int chord)
{
    Song(form).UnitAt(entry)->SetChord(0, 0, static_cast<std::uint8_t>(chord));
}

/// The first chord of every unit, in song order.
std::vector<int> Marks(TLyravaneMainForm& form)
{
    std::vector<int> marks;
    for (int i = 1; i < Song(form).Count(); ++i)
        marks.push_back(Song(form).UnitAt(i)->GetChord(0, 0));
    return marks;
}

/// A song of n units marked 1..n, not modified.
TLyravaneMainForm& SongOf(TFormFixture& f, int units)
{
    TLyravaneMainForm& form = f.Create();
    ResizeSong(form, units + 1);
    for (int i = 1; i <= units; ++i)
        Mark(form, i, i);
    form.Document().History().MarkSaved();
    return form;
}

const TMunit* ShownUnit(TLyravaneMainForm& form)
{
    return static_cast<const TPlaceholderUnitPage*>(BarEditor(form))->Unit();
}
} // namespace

class EditCommandsTest : public ::testing::Test
{
protected:
    TFormFixture F;
};

TEST_F(EditCommandsTest, InsertPutsANewUnitAfterTheCurrentTab)
{
    TLyravaneMainForm& form = SongOf(F, 2);
    Action(form, "Action_EditNewMunit")->trigger(); // on "Composition"
    EXPECT_EQ(Marks(form), (std::vector<int>{1, 1, 2}));
    EXPECT_NE(Song(form).UnitAt(1), nullptr);
    EXPECT_EQ(form.TabControl1->currentIndex(), 1);
    EXPECT_EQ(form.TabControl1->tabText(3).toStdString(), "Ptn.3");
    EXPECT_EQ(ShownUnit(form), Song(form).UnitAt(1));
    EXPECT_FALSE(BarEditor(form)->isHidden());
    EXPECT_TRUE(Song(form).Modified);
    // The new unit is governed by the song's properties.
    EXPECT_EQ(Song(form).UnitAt(1)->Property, Song(form).PropertyAt(0));

    Mark(form, 1, 6);
    form.TabControl1->setCurrentIndex(3);
    Action(form, "Action_EditNewMunit")->trigger();
    EXPECT_EQ(Song(form).Count(), 5);
    EXPECT_EQ(form.TabControl1->currentIndex(), 4);
}

TEST_F(EditCommandsTest, DeleteSelectsTheFollowerOrTheNewLastTab)
{
    TLyravaneMainForm& form = SongOf(F, 3);
    form.TabControl1->setCurrentIndex(2);
    Action(form, "Action_EditDelete")->trigger();
    EXPECT_EQ(Marks(form), (std::vector<int>{1, 3}));
    EXPECT_EQ(form.TabControl1->currentIndex(), 2);
    EXPECT_EQ(ShownUnit(form), Song(form).UnitAt(2));
    EXPECT_TRUE(Song(form).Modified);

    Action(form, "Action_EditDelete")->trigger(); // the last tab
    EXPECT_EQ(Marks(form), (std::vector<int>{1}));
    EXPECT_EQ(form.TabControl1->currentIndex(), 1);

    Action(form, "Action_EditDelete")->trigger(); // the only unit
    EXPECT_EQ(Song(form).Count(), 1);
    EXPECT_EQ(form.TabControl1->count(), 1);
    EXPECT_EQ(form.TabControl1->currentIndex(), 0);
    EXPECT_FALSE(PropertyPage(form)->isHidden());
    EXPECT_TRUE(BarEditor(form)->isHidden());

    // The song's properties are never deleted, even when asked directly.
    Action(form, "Action_EditDelete")->trigger();
    Action(form, "Action_EditCut")->trigger();
    EXPECT_EQ(Song(form).Count(), 1);
    EXPECT_NE(Song(form).PropertyAt(0), nullptr);
}

TEST_F(EditCommandsTest, CopyPutsTheUnitRecordOnTheClipboardAndChangesNothing)
{
    TLyravaneMainForm& form = SongOf(F, 2);
    form.TabControl1->setCurrentIndex(2);
    Action(form, "Action_EditCopy")->trigger();
    ASSERT_TRUE(F.Clipboard.Data.has_value());
    ASSERT_EQ(F.Clipboard.Data->size(), 256);
    EXPECT_EQ(F.Clipboard.Data->toStdString(), ToBytes(*Song(form).UnitAt(2)));
    EXPECT_FALSE(Song(form).Modified);
    EXPECT_EQ(Song(form).Count(), 3);
}

TEST_F(EditCommandsTest, CopyNewPasteCarriesTheUnitIntoAnotherSongUnlocked)
{
    TLyravaneMainForm& form = SongOf(F, 1);
    TMunit& original = *Song(form).UnitAt(1);
    original.SetChord(3, 2, 4);
    original.SetRhythm(2, 5, RhythmRest);
    original.SetMelody(1, 3, -7);
    original.SetFill(1);
    original.SetCadence(1);
    original.SetShortNotes(1);
    original.SetHarmonyVoice(1);
    original.SetLock(2, 1);
    const TMunit unit = original; // New frees the original
    form.TabControl1->setCurrentIndex(1);
    Action(form, "Action_EditCopy")->trigger();

    F.MessageBoxes.Answers = {TMsgResult::No};
    Action(form, "Action_FileNew")->trigger();
    Action(form, "Action_EditPaste")->trigger(); // on "Composition": the pasted unit comes first
    ASSERT_EQ(Song(form).Count(), 3);
    const TMunit& pasted = *Song(form).UnitAt(1);
    EXPECT_EQ(pasted.Chords, unit.Chords);
    EXPECT_EQ(pasted.Rhythm, unit.Rhythm);
    EXPECT_EQ(pasted.Melody, unit.Melody);
    EXPECT_EQ(pasted.Fill, 1);
    EXPECT_EQ(pasted.Cadence, 1);
    EXPECT_EQ(pasted.ShortNotes, 1);
    EXPECT_EQ(pasted.HarmonyVoice, 1);
    EXPECT_EQ(pasted.GetLock(2), 0);
    EXPECT_EQ(form.TabControl1->currentIndex(), 1);
    EXPECT_TRUE(Song(form).Modified);
}

TEST_F(EditCommandsTest, CutThenPasteRestoresTheUnitOnePlaceLater)
{
    TLyravaneMainForm& form = SongOf(F, 3);
    form.TabControl1->setCurrentIndex(2);
    Action(form, "Action_EditCut")->trigger();
    EXPECT_EQ(Marks(form), (std::vector<int>{1, 3}));
    EXPECT_EQ(form.TabControl1->currentIndex(), 2);
    Action(form, "Action_EditPaste")->trigger();
    EXPECT_EQ(Marks(form), (std::vector<int>{1, 3, 2}));
    EXPECT_EQ(form.TabControl1->currentIndex(), 3);
}

TEST_F(EditCommandsTest, PasteStopsAtFortyNineEntries)
{
    TLyravaneMainForm& form = SongOf(F, 47);
    F.Clipboard.Data = QByteArray(256, '\0');
    form.TabControl1->setCurrentIndex(1);
    Action(form, "Action_EditCopy")->trigger();
    Inside(form).RefreshCommandStates();
    ASSERT_EQ(form.TabControl1->count(), 48);
    EXPECT_TRUE(Action(form, "Action_EditPaste")->isEnabled());
    Action(form, "Action_EditPaste")->trigger();
    EXPECT_EQ(Song(form).Count(), 49);
    Inside(form).RefreshCommandStates();
    EXPECT_FALSE(Action(form, "Action_EditPaste")->isEnabled());
    EXPECT_FALSE(Action(form, "Action_EditNewMunit")->isEnabled());
    // Run anyway (a second key press before the states caught up), they add nothing.
    Action(form, "Action_EditPaste")->trigger();
    Action(form, "Action_EditNewMunit")->trigger();
    EXPECT_EQ(Song(form).Count(), 49);
}

TEST_F(EditCommandsTest, ForeignClipboardDataIsRefusedAndTheSongStays)
{
    TLyravaneMainForm& form = SongOf(F, 2);
    QByteArray data = QByteArray::fromStdString(ToBytes(*Song(form).UnitAt(1)));

    // Right type, wrong content: version 2.
    data[0] = 2;
    F.Clipboard.Data = data;
    Inside(form).RefreshCommandStates();
    Action(form, "Action_EditPaste")->trigger();
    ASSERT_EQ(F.MessageBoxes.Shown.size(), 1u);
    EXPECT_EQ(F.MessageBoxes.Shown[0].Text.toStdString(), "Stream read error");
    EXPECT_EQ(Song(form).Count(), 3);
    EXPECT_EQ(form.TabControl1->count(), 3);
    EXPECT_FALSE(Song(form).Modified);

    // Dimensions other than 4 x 4 x 2.
    data[0] = 1;
    data[8] = 3;
    F.Clipboard.Data = data;
    Action(form, "Action_EditPaste")->trigger();
    EXPECT_EQ(F.MessageBoxes.Shown.size(), 2u);
    EXPECT_EQ(Song(form).Count(), 3);

    // Fewer than 256 bytes: nothing happens at all.
    F.Clipboard.Data = data.left(100);
    Action(form, "Action_EditPaste")->trigger();
    EXPECT_EQ(F.MessageBoxes.Shown.size(), 2u);
    EXPECT_EQ(Song(form).Count(), 3);
}

TEST(QtUnitClipboardTest, RecordTravelsThroughTheDesktopClipboard)
{
    TQtUnitClipboard clipboard;
    QByteArray record(256, '\0');
    record[0] = 1;
    record[255] = 0x7f;
    clipboard.SetUnit(record);
    EXPECT_TRUE(clipboard.HasUnit());
    ASSERT_TRUE(clipboard.GetUnit().has_value());
    EXPECT_EQ(*clipboard.GetUnit(), record);

    QGuiApplication::clipboard()->setText(QStringLiteral("plain text"));
    EXPECT_FALSE(clipboard.HasUnit());
    EXPECT_FALSE(clipboard.GetUnit().has_value());
}

TEST_F(EditCommandsTest, KeysRunTheEditCommandsUnlessATextFieldHasTheFocus)
{
    TLyravaneMainForm& form = SongOf(F, 3);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.TabControl1->setCurrentIndex(1);
    Inside(form).RefreshCommandStates();
    form.TabControl1->setFocus();
    QTest::keyClick(form.TabControl1, Qt::Key_C, Qt::ControlModifier);
    ASSERT_TRUE(F.Clipboard.Data.has_value());
    QTest::keyClick(form.TabControl1, Qt::Key_Delete);
    EXPECT_EQ(Marks(form), (std::vector<int>{2, 3}));
    Inside(form).RefreshCommandStates(); // the fake clipboard does not signal its changes
    QTest::keyClick(form.TabControl1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Marks(form), (std::vector<int>{2, 1, 3}));
    QTest::keyClick(form.TabControl1, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Marks(form), (std::vector<int>{2, 3}));

    // A text field keeps the keys for its text.
    F.Clipboard.Data.reset();
    QLineEdit field(PagePanel(form));
    field.show();
    field.setFocus();
    for (const Qt::Key key : {Qt::Key_C, Qt::Key_X, Qt::Key_V})
        QTest::keyClick(&field, key, Qt::ControlModifier);
    QTest::keyClick(&field, Qt::Key_Delete);
    EXPECT_FALSE(F.Clipboard.Data.has_value());
    EXPECT_EQ(Marks(form), (std::vector<int>{2, 3}));

    QTest::keyClick(&field, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(F.FileDialogs.Requests.size(), 1u) << "Ctrl+E exports";
}

TEST_F(EditCommandsTest, ControlTabAndPageKeysMoveBetweenTabsRoundTheEnds)
{
    TLyravaneMainForm& form = SongOf(F, 2);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.TabControl1->setFocus();
    const auto press = [&form](Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        QTest::keyClick(form.TabControl1, key, modifiers);
        return form.TabControl1->currentIndex();
    };
    EXPECT_EQ(press(Qt::Key_Tab, Qt::ControlModifier), 1);
    EXPECT_EQ(press(Qt::Key_PageDown, Qt::ControlModifier), 2);
    EXPECT_EQ(press(Qt::Key_Tab, Qt::ControlModifier), 0);
    EXPECT_EQ(press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier), 2);
    EXPECT_EQ(press(Qt::Key_PageUp, Qt::ControlModifier), 1);
    EXPECT_EQ(ShownUnit(form), Song(form).UnitAt(1));
}
