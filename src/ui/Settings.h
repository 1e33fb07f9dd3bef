#pragma once

#include <QSettings>
#include <QString>

#include <memory>

/// The program's settings, "Vemora"/"LYRV1999" of the current user (the registry on
/// Windows, an INI file elsewhere); an INI file at iniPath instead when it is not empty.
std::unique_ptr<QSettings> OpenLyravaneSettings(const QString& iniPath);
