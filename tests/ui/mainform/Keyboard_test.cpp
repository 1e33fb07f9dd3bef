#include "MainFormParts.h"
#include "MainFormTestAccess.h"
#include "UiFakes.h"

#include "model/Munit.h"
#include "ui/editor/FormMusicMeasures.h"

#include <QApplication>
#include <QFileInfo>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

TEST(KeyboardTest, AUnitIsEditedComposedAndSavedWithFifteenKeysOrFewer)
{
    TFormFixture f;
    f.Services.CreatePropertyPage = nullptr;
    f.Services.CreateUnitPage = nullptr;
    TLyravaneMainForm& form = f.Create();
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    Inside(form).FormShow();
    form.TabControl1->setCurrentIndex(1);
    ASSERT_EQ(QApplication::focusWidget(), form.TabControl1);
    TMunit& unit = *Song(form).UnitAt(1);
    unit.SetBarRhythm(0, "*-------");
    unit.SetMelody(0, 0, 4);
    unit.SetChordRun(0, 0, 1);
    f.FileDialogs.Answers = {f.Path(QStringLiteral("keys.lvp"))};

    // Into the page at the first chord box, the chord, the second rhythm step, the melody's
    // step below it, the lock, the rest composed, saved: each key to whatever has the focus.
    using TKeys = std::initializer_list<std::pair<Qt::Key, Qt::KeyboardModifiers>>;
    int presses = 0;
    const auto press = [&presses](TKeys keys)
    {
        for (const auto& [key, modifiers] : keys)
        {
            QTest::keyClick(QApplication::focusWidget(), key, modifiers);
            ++presses;
        }
    };
    press({{Qt::Key_Down, {}},
           {Qt::Key_Down, {}},
           {Qt::Key_Tab, {}},
           {Qt::Key_Tab, {}},
           {Qt::Key_Right, {}},
           {Qt::Key_Space, {}},
           {Qt::Key_Tab, {}}});
    EXPECT_EQ(unit.GetChord(0, 0), 2) << "Down chose the next chord";
    EXPECT_EQ(unit.GetRhythm(0, 1), '*') << "a note on the second step";
    const int pitch = unit.GetMelody(0, 1);
    press({{Qt::Key_Up, {}}, {Qt::Key_L, {}}, {Qt::Key_F9, {}}, {Qt::Key_S, Qt::ControlModifier}});

    EXPECT_LE(presses, 15);
    EXPECT_GT(unit.GetMelody(0, 1), pitch) << "Up raised the note on the step the row kept";
    EXPECT_EQ(unit.GetLock(0), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return unit.GetRhythm(1, 0) != '.'; }, 2000))
        << "F9 composed the unlocked bars";
    EXPECT_EQ(unit.GetChord(0, 0), 2) << "and left the locked one";
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(f.Path("keys.lvp")); }, 2000));
    EXPECT_FALSE(Song(form).Modified);
}
