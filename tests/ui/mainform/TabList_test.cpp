#include "UiFakes.h"

#include "model/Munit.h"

#include <QAction>
#include <QMenu>
#include <QTabBar>
#include <QToolButton>

#include <gtest/gtest.h>

TEST(TabListTest, FifteenUnitsBringAButtonThatListsEveryTab)
{
    TFormFixture fixture;
    TLyravaneMainForm& form = fixture.Create();
    auto* button = form.findChild<QToolButton*>(QStringLiteral("TabListButton"));
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isHidden());

    // Fourteen units: still hidden; fifteen: shown.
    ResizeSong(form, 15);
    EXPECT_TRUE(button->isHidden());
    ResizeSong(form, 16);
    EXPECT_FALSE(button->isHidden());
    EXPECT_FALSE(button->accessibleName().isEmpty());

    // Its menu: every tab in order, the current one checked; an entry selects its tab.
    form.TabControl1->setCurrentIndex(3);
    QMenu* menu = button->menu();
    ASSERT_NE(menu, nullptr);
    emit menu->aboutToShow();
    const QList<QAction*> entries = menu->actions();
    ASSERT_EQ(entries.size(), 16);
    EXPECT_EQ(entries[0]->text().toStdString(), "Composition");
    EXPECT_EQ(entries[15]->text().toStdString(), "Ptn.15");
    EXPECT_TRUE(entries[3]->isChecked());
    EXPECT_FALSE(entries[0]->isChecked());
    entries[15]->trigger();
    EXPECT_EQ(form.TabControl1->currentIndex(), 15);
    // Opened again it lists the tabs afresh, not twice.
    emit menu->aboutToShow();
    EXPECT_EQ(menu->actions().size(), 16);
    EXPECT_TRUE(menu->actions()[15]->isChecked());

    ResizeSong(form, 2);
    EXPECT_TRUE(button->isHidden());
    form.Document().History().MarkSaved();
}

TEST(MenuSeparatorTest, SeparatorsCarryNoTextAStyleWouldDrawBesideTheLine)
{
    TFormFixture fixture;
    TLyravaneMainForm& form = fixture.Create();
    int separators = 0;
    for (const QMenu* menu : {Menu(form, "MenuFile"), Menu(form, "MenuEdit"),
                              Menu(form, "MenuMusic"), Menu(form, "MenuHelp")})
        for (const QAction* action : menu->actions())
            if (action->isSeparator())
            {
                ++separators;
                EXPECT_TRUE(action->text().isEmpty())
                    << action->objectName().toStdString() << ": " << action->text().toStdString();
            }
    EXPECT_GE(separators, 5);
}
