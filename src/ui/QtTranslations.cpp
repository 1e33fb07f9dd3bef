#include "ui/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QTranslator* InstallQtSpanishTranslations()
{
    auto* app = QCoreApplication::instance();
    if (app == nullptr)
        return nullptr;
    auto* translator = new QTranslator(app);
    if (!translator->load(QLocale(QLocale::Spanish, QLocale::Spain), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator))
    {
        delete translator;
        return nullptr;
    }
    return translator;
}
