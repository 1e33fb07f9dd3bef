#include "ui/Settings.h"

std::unique_ptr<QSettings> OpenLyravaneSettings(const QString& iniPath)
{
    if (!iniPath.isEmpty())
        return std::make_unique<QSettings>(iniPath, QSettings::IniFormat);
    return std::make_unique<QSettings>(QStringLiteral("Vemora"), QStringLiteral("LYRV1999"));
}
