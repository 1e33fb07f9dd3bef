#include "MainFormParts.h"
#include "MainFormTestAccess.h"
#include "UiFakes.h"

#include "base/Random.h"
#include "model/SongBytes.h"
#include "ui/SongOverview.h"
#include "ui/editor/FormMusicMeasures.h"

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

namespace
{
std::string Bytes(TLyravaneMainForm& form)
{
    return SongWithLocksToBytes(Song(form));
}

/// The units in song order by the mark each got: the melody's first step.
std::vector<int> Marks(TLyravaneMainForm& form)
{
    std::vector<int> marks;
    for (int i = 1; i < Song(form).Count(); ++i)
        marks.push_back(Song(form).UnitAt(i)->GetMelody(0, 0));
    return marks;
}
} // namespace

class SongOverviewTest : public ::testing::Test
{
protected:
    TFormFixture F;

    /// A window over the program's own pages with units marked 1, 2, 3 and the overview on.
    TLyravaneMainForm& Window()
    {
        F.Services.CreatePropertyPage = nullptr;
        F.Services.CreateUnitPage = nullptr;
        TLyravaneMainForm& form = F.Create();
        ResizeSong(form, 4);
        for (int i = 1; i < 4; ++i)
            Song(form).UnitAt(i)->SetMelody(0, 0, static_cast<std::int8_t>(i));
        Action(form, "Action_ViewSongOverview")->setChecked(true);
        form.show();
        Inside(form).FormShow();
        return form;
    }
    TSongOverview& Overview(TLyravaneMainForm& form)
    {
        return *Named<TSongOverview>(form, QStringLiteral("SongOverview"));
    }
};

TEST_F(SongOverviewTest, ComposingTheSongEqualsComposingEachTabInOrderWithOneClockSeed)
{
    TLyravaneMainForm& form = Window();
    Song(form).UnitAt(2)->SetLock(1, 1);
    const TRandomizeClock clock = SetRandomizeClock([]() -> std::uint32_t { return 48213; });
    const std::string before = Bytes(form);

    SetRandSeed(77);
    Action(form, "Action_EditComposeSong")->trigger();
    const std::string composed = Bytes(form);
    EXPECT_NE(composed, before);
    EXPECT_EQ(Action(form, "Action_EditUndo")->text().toStdString(), "&Deshacer Componer canción");
    Action(form, "Action_EditUndo")->trigger();
    EXPECT_EQ(Bytes(form), before);

    SetRandSeed(77);
    for (int tab = 1; tab < 4; ++tab)
    {
        form.TabControl1->setCurrentIndex(tab);
        static_cast<TFormMusicMeasures*>(BarEditor(form))->ButtonCompose->click();
    }
    SetRandomizeClock(clock);
    EXPECT_EQ(Bytes(form), composed);
}

TEST_F(SongOverviewTest, MovesAndDuplicatesAreSingleStepsUndoneByteForByte)
{
    TLyravaneMainForm& form = Window();
    TSongOverview& overview = Overview(form);
    const auto keys = [&](int tab, Qt::Key key)
    {
        form.TabControl1->setCurrentIndex(tab);
        QTest::keyClick(&overview, key, Qt::ControlModifier | Qt::ShiftModifier);
    };
    const struct
    {
        const char* Step;
        std::function<void()> Run;
        std::vector<int> Order;
    } cases[] = {
        {"Mover", [&] { keys(1, Qt::Key_Right); }, {2, 1, 3}},
        {"Mover", [&] { keys(3, Qt::Key_Left); }, {1, 3, 2}},
        {"Mover", [&] { emit overview.MoveRequested(1, 3); }, {2, 3, 1}},
        {"Duplicar",
         [&]
         {
             form.TabControl1->setCurrentIndex(2);
             Inside(form).RefreshCommandStates();
             Action(form, "Action_EditDuplicate")->trigger();
         },
         {1, 2, 2, 3}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.Step);
        const std::string before = Bytes(form);
        c.Run();
        EXPECT_EQ(Marks(form), c.Order);
        EXPECT_EQ(Action(form, "Action_EditUndo")->text().toStdString(),
                  std::string("&Deshacer ") + c.Step);
        const std::string after = Bytes(form);
        Action(form, "Action_EditUndo")->trigger();
        EXPECT_EQ(Bytes(form), before);
        Action(form, "Action_EditRedo")->trigger();
        EXPECT_EQ(Bytes(form), after);
        Action(form, "Action_EditUndo")->trigger();
    }
    // Nothing goes past either end.
    keys(3, Qt::Key_Right);
    keys(1, Qt::Key_Left);
    EXPECT_EQ(Marks(form), (std::vector<int>{1, 2, 3}));

    // Duplicar stops at the tab limit, as Insertar does.
    ResizeSong(form, MaxEditorEntries);
    form.TabControl1->setCurrentIndex(1);
    Inside(form).RefreshCommandStates();
    EXPECT_FALSE(Action(form, "Action_EditDuplicate")->isEnabled());
    Action(form, "Action_EditDuplicate")->trigger();
    EXPECT_EQ(Song(form).Count(), MaxEditorEntries);
}

TEST_F(SongOverviewTest, BlocksNameTheUnitsAndTheirChordsInAMinorKeyWithSevenths)
{
    TLyravaneMainForm& form = Window();
    TMuprop& properties = *Song(form).PropertyAt(0);
    properties.Scale = 1;
    properties.Key = 3; // C minor, the relative of E flat major
    properties.Use7th = 1;
    Song(form).UnitAt(2)->SetChordRun(1, 2, 5);
    Song(form).UnitAt(2)->SetLock(3, 1);
    form.Document().ReplaceSong([](TMusicProject&) {}, 2);

    const std::vector<TOverviewBlock>& blocks = Overview(form).Blocks();
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[1].Chords, QStringList({"Cm7", "Cm7", "Fm7", "G7", "G7", "G7", "Cm7", "Cm7"}));
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&Overview(form));
    ASSERT_NE(list, nullptr);
    QStringList names;
    QStringList descriptions;
    for (int i = 0; i < list->childCount(); ++i)
        if (QAccessibleInterface* child = list->child(i);
            child != nullptr && child->role() != QAccessible::ColumnHeader)
        {
            names << child->text(QAccessible::Name);
            descriptions << child->text(QAccessible::Description);
        }
    EXPECT_EQ(names, QStringList({"Ptn.1, compases 1 a 4: Cm7, Fm7, G7, Cm7",
                                  "Ptn.2, compases 5 a 8: Cm7, Fm7 G7, G7, Cm7",
                                  "Ptn.3, compases 9 a 12: Cm7, Fm7, G7, Cm7"}));
    EXPECT_EQ(descriptions[1].toStdString(), "Compases bloqueados: 8");

    // The status bar tells the length at the song's tempo with the repeats: 16 bars at 120.
    Inside(form).RepeatCount = 2;
    Action(form, "Action_EditNewMunit")->trigger();
    EXPECT_EQ(Named<QLabel>(form, QStringLiteral("SongLengthLabel"))->text().toStdString(),
              "Duración: 1:04 (2 veces)");
}

TEST_F(SongOverviewTest, TheWindowGrowsByTheOverviewAndRemembersIt)
{
    TLyravaneMainForm& form = Window();
    const int withOverview = form.height();
    Action(form, "Action_ViewSongOverview")->setChecked(false);
    EXPECT_EQ(form.height(),
              withOverview -
                  Named<QWidget>(form, QStringLiteral("OverviewRow"))->sizeHint().height());
    Action(form, "Action_ViewSongOverview")->setChecked(true);
    EXPECT_EQ(form.height(), withOverview);
    EXPECT_TRUE(
        F.Create().findChild<QAction*>(QStringLiteral("Action_ViewSongOverview"))->isChecked());
}
