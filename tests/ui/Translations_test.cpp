#include "ui/Translations.h"

#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTranslator>

#include <gtest/gtest.h>

#include <memory>

namespace
{
QStringList ContextMenuTexts()
{
    QLineEdit edit;
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList texts;
    for (const QAction* action : menu->actions())
        if (!action->isSeparator())
            texts << action->text().section(QLatin1Char('\t'), 0, 0);
    return texts;
}
} // namespace

TEST(Translations, MessageBoxButtonsAndTextFieldMenusSpeakSpanish)
{
    const TInstalledTranslations installed = InstallTranslations(QStringLiteral("es"));
    std::unique_ptr<QTranslator> program(installed.Program);
    std::unique_ptr<QTranslator> translator(installed.Qt);
    ASSERT_NE(translator, nullptr) << "Qt's Spanish catalogue (qt6-translations-l10n) is missing";

    QMessageBox box;
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Yes | QMessageBox::No |
                           QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().toStdString(), "&Sí");
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text().toStdString(), "Cancelar");
    EXPECT_EQ(box.button(QMessageBox::Ok)->text().toStdString(), "Aceptar");
    const QStringList spanish = ContextMenuTexts();
    EXPECT_TRUE(spanish.contains(QStringLiteral("&Deshacer"))) << spanish.join(u'|').toStdString();
    EXPECT_TRUE(spanish.contains(QStringLiteral("&Pegar"))) << spanish.join(u'|').toStdString();

    // Deleting the translator gives Qt its own texts back, for the other tests.
    translator.reset();
    EXPECT_TRUE(ContextMenuTexts().contains(QStringLiteral("&Undo")));
}
