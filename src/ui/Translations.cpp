#include "ui/Translations.h"

#include "base/Message.h"
#include "ui/FileDialogs.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <string>
#include <vector>

namespace
{
/// Loads a catalogue and installs it, or gives nothing back.
QTranslator* Install(const QString& name, const QString& directory)
{
    auto* app = QCoreApplication::instance();
    if (app == nullptr)
        return nullptr;
    auto* translator = new QTranslator(app);
    if (!translator->load(name, directory) || !QCoreApplication::installTranslator(translator))
    {
        delete translator;
        return nullptr;
    }
    return translator;
}
} // namespace

QString KnownLanguage(const QString& setting)
{
    return setting == QLatin1String("es") || setting == QLatin1String("en") ? setting : QString();
}

QString ChosenLanguage(const QString& setting, const QLocale& system)
{
    if (QString known = KnownLanguage(setting); !known.isEmpty())
        return known;
    return system.language() == QLocale::English ? QStringLiteral("en") : QStringLiteral("es");
}

TInstalledTranslations InstallTranslations(const QString& language)
{
    TInstalledTranslations installed;
    // The program's catalogues are built into it.
    installed.Program = Install(QStringLiteral("lyravane_") + language, QStringLiteral(":/i18n"));
    // Qt speaks English by itself.
    if (language == QLatin1String("es"))
        installed.Qt = Install(QStringLiteral("qtbase_es"),
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return installed;
}

QString CoreText(const char* source)
{
    return QCoreApplication::translate("Core", source);
}

QString CoreMessage(const TMessage& message)
{
    if (!message.Ours)
        return FromFsPath(message.Text);
    if (message.Args.empty())
        return CoreText(message.Text.c_str());
    std::vector<std::string> values;
    values.reserve(message.Args.size());
    for (const auto& arg : message.Args)
        values.push_back(CoreMessage(arg).toStdString());
    return QString::fromStdString(PutValues(CoreText(message.Text.c_str()).toStdString(), values));
}
