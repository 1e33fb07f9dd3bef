// What a screen reader finds in the window: every control has a name.
#include "ShownMainForm.h"
#include "controls/DialEdit.h"
#include "controls/MenuButton.h"
#include "mainform/MainFormParts.h"
#include "model/Munit.h"
#include "model/MusicProject.h"
#include "ui/editor/FormMusicMeasures.h"
#include "ui/editor/FormMusicProperty.h"
#include "ui/editor/MeasureRows.h"
#include "ui/mainform/LyravaneMainForm.h"
#include "ui/mainform/MainFormServices.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace
{

/// The roles a user operates: each must say what it is.
bool IsControl(QAccessible::Role role)
{
    static const std::set<QAccessible::Role> controls = {
        QAccessible::PushButton,   QAccessible::ButtonMenu, QAccessible::CheckBox,
        QAccessible::RadioButton,  QAccessible::ComboBox,   QAccessible::SpinBox,
        QAccessible::EditableText, QAccessible::Slider,     QAccessible::Dial,
        QAccessible::ListItem,     QAccessible::Cell,       QAccessible::PageTab,
        QAccessible::List};
    return controls.count(role) != 0;
}

struct TTreeWalk
{
    std::vector<std::string> Unnamed;
    std::vector<std::string> Names;
    /// Painted widgets (no role of their own) without children: what a reader shows as an
    /// anonymous "filler".
    std::vector<std::string> Fillers;
};

void Walk(QAccessibleInterface* node, TTreeWalk& walk, int depth = 0)
{
    if (node == nullptr || depth > 40 || node->state().invisible)
        return;
    const QString name = node->text(QAccessible::Name);
    const QObject* object = node->object();
    const std::string where = object != nullptr
                                  ? object->metaObject()->className() + std::string(" ") +
                                        object->objectName().toStdString()
                                  : std::string("item");
    if (IsControl(node->role()))
    {
        if (name.trimmed().isEmpty())
            walk.Unnamed.push_back(where);
        else
            walk.Names.push_back(name.toStdString());
    }
    if ((node->role() == QAccessible::Client || node->role() == QAccessible::NoRole) &&
        node->childCount() == 0 && name.isEmpty() && object != nullptr && object->isWidgetType() &&
        static_cast<const QWidget*>(object)->isVisible() &&
        static_cast<const QWidget*>(object)->focusPolicy() != Qt::NoFocus)
        walk.Fillers.push_back(where);
    for (int i = 0; i < node->childCount(); ++i)
        Walk(node->child(i), walk, depth + 1);
}

bool Has(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::string Join(const std::vector<std::string>& items)
{
    std::string text;
    for (const std::string& item : items)
        text += item + "; ";
    return text;
}

} // namespace

TEST(AccessibilityTest, EveryControlOnBothKindsOfTabHasAName)
{
    TShownMainForm window;
    ASSERT_TRUE(window.Show());
    TLyravaneMainForm& form = window.Form;
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&form);
    ASSERT_NE(root, nullptr);

    form.TabControl1->setCurrentIndex(0);
    TTreeWalk composition;
    Walk(root, composition);
    EXPECT_TRUE(composition.Unnamed.empty()) << Join(composition.Unnamed);
    EXPECT_TRUE(composition.Fillers.empty()) << Join(composition.Fillers);
    for (const char* name : {"Volumen, Melodia", "Reverb, Bateria", "Tiempo", "Tecla",
                             "Escuchar Bajo", "Acomp. 1", "Instrumento de Melodia"})
        EXPECT_TRUE(Has(composition.Names, name)) << name << ": " << Join(composition.Names);
    // A number field is a spin box with its value and bounds; a list says its choice.
    auto* page = qobject_cast<TFormMusicProperty*>(PropertyPage(form));
    QAccessibleInterface* tempo = QAccessible::queryAccessibleInterface(page->DialEditT);
    EXPECT_EQ(tempo->role(), QAccessible::SpinBox);
    EXPECT_EQ(tempo->text(QAccessible::Value), QStringLiteral("120"));
    ASSERT_NE(tempo->valueInterface(), nullptr);
    EXPECT_EQ(tempo->valueInterface()->maximumValue().toInt(), 250);
    tempo->valueInterface()->setCurrentValue(96);
    EXPECT_EQ(Song(form).PropertyAt(0)->Tempo, 96);
    EXPECT_FALSE(tempo->text(QAccessible::Description).isEmpty()) << "what the caption means";
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(page->ComboBox10x[0]);
    EXPECT_EQ(list->text(QAccessible::Value), page->ComboBox10x[0]->currentText());

    form.TabControl1->setCurrentIndex(1);
    Song(form).UnitAt(1)->SetBarRhythm(1, "**-.....");
    Song(form).UnitAt(1)->SetMelody(1, 1, 7);
    TTreeWalk unit;
    Walk(root, unit);
    EXPECT_TRUE(unit.Unnamed.empty()) << Join(unit.Unnamed);
    EXPECT_TRUE(unit.Fillers.empty()) << Join(unit.Fillers);
    EXPECT_TRUE(Has(unit.Names, "Compás 2, paso 3, ritmo: prolongación")) << Join(unit.Names);
    EXPECT_TRUE(Has(unit.Names, "Compás 2, melodía paso 2: Sol"));
    EXPECT_TRUE(Has(unit.Names, "Compás 4, melodía"));
    form.Document().History().MarkSaved();
}

TEST(AccessibilityTest, ToolBarButtonsAreNamedPressableButtons)
{
    TShownMainForm window;
    ASSERT_TRUE(window.Show());
    TLyravaneMainForm& form = window.Form;

    const auto buttons = form.findChildren<TMenuButton*>();
    EXPECT_GE(buttons.size(), 13);
    for (TMenuButton* button : buttons)
    {
        QAccessibleInterface* item = QAccessible::queryAccessibleInterface(button);
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(item->role() == QAccessible::PushButton ||
                    item->role() == QAccessible::ButtonMenu)
            << button->objectName().toStdString();
        EXPECT_FALSE(item->text(QAccessible::Name).isEmpty()) << button->objectName().toStdString();
    }

    // Pressing "Nuevo Compás" through the interface adds a unit as a click does.
    TMenuButton* add = ToolButton(form, "Action_EditNewMunit");
    ASSERT_NE(add, nullptr);
    QAccessibleInterface* item = QAccessible::queryAccessibleInterface(add);
    ASSERT_NE(item->actionInterface(), nullptr);
    const int tabs = form.TabControl1->count();
    item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(form.TabControl1->count(), tabs + 1);
    form.Document().History().MarkSaved();
}

TEST(AccessibilityTest, RowStepsAreItemsThatFollowTheKeyboard)
{
    TMusicProject song;
    song.NewSong();
    TMunit* unit = song.UnitAt(1);
    unit->SetProperty(song.PropertyAt(0));
    TFormMusicMeasures form;
    form.ShowUnit(unit);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    QAccessibleInterface* row = QAccessible::queryAccessibleInterface(form.RhythmFrame[1]);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->role(), QAccessible::List);
    ASSERT_EQ(row->childCount(), 8);
    QAccessibleInterface* third = row->child(2);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(row->indexOfChild(third), 2);
    EXPECT_EQ(third->parent(), row);
    EXPECT_EQ(third->role(), QAccessible::ListItem);
    // The item follows the unit: a new note is read at once.
    unit->SetBarRhythm(1, "..*-....");
    EXPECT_EQ(third->text(QAccessible::Name).toStdString(), "Compás 2, paso 3, ritmo: nota");
    // The item under a point, and the item the keyboard is on.
    const QPoint centre = form.RhythmFrame[1]->viewport()->mapToGlobal(QPoint(2 * 16 + 8, 10));
    EXPECT_EQ(row->childAt(centre.x(), centre.y()), third);
    EXPECT_EQ(third->rect().center().x() / 4, centre.x() / 4);
    form.RhythmFrame[1]->setFocus(Qt::TabFocusReason);
    QTest::keyClick(form.RhythmFrame[1], Qt::Key_Right);
    QTest::keyClick(form.RhythmFrame[1], Qt::Key_Right);
    EXPECT_EQ(row->focusChild(), third);
    EXPECT_TRUE(third->state().focused);
    EXPECT_FALSE(row->child(0)->state().focused);
}
