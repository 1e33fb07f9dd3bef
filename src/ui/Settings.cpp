#include "ui/Settings.h"

#include "ui/Translations.h"

#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <iterator>

std::unique_ptr<QSettings> OpenLyravaneSettings(const QString& iniPath)
{
    if (!iniPath.isEmpty())
        return std::make_unique<QSettings>(iniPath, QSettings::IniFormat);
    return std::make_unique<QSettings>(QStringLiteral("Vemora"), QStringLiteral("LYRV1999"));
}

QString UserDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

namespace
{
/// A flag written as a boolean, a number or a text; anything else leaves flag as it is.
void ReadFlag(const QVariant& value, bool& flag)
{
    if (value.typeId() == QMetaType::Bool)
        flag = value.toBool();
    else if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong)
        flag = value.toInt() != 0;
    else if (value.typeId() == QMetaType::QString)
    {
        const QString text = value.toString().trimmed().toLower();
        if (text == QLatin1String("true") || text == QLatin1String("1"))
            flag = true;
        else if (text == QLatin1String("false") || text == QLatin1String("0"))
            flag = false;
    }
}
} // namespace

TPlaybackSettings ReadPlaybackSettings(const QString& iniPath)
{
    TPlaybackSettings values;
    values.RepeatCount = 0;
    const auto settings = OpenLyravaneSettings(iniPath);
    [&]
    {
        if (settings->allKeys().isEmpty() || !settings->contains(QStringLiteral("RepeatCount")))
            return;
        bool ok = false;
        const int count = settings->value(QStringLiteral("RepeatCount")).toInt(&ok);
        if (!ok)
            return;
        values.RepeatCount = count;
        ReadFlag(settings->value(QStringLiteral("IncludeReset")), values.IncludeReset);
    }();
    if (values.RepeatCount < 1 || values.RepeatCount > MaxRepeatCount)
        values.RepeatCount = 1;
    ReadFlag(settings->value(QStringLiteral("MidiTrackNames")), values.MidiTrackNames);
    return values;
}

void WritePlaybackSettings(const QString& iniPath, const TPlaybackSettings& values)
{
    const auto settings = OpenLyravaneSettings(iniPath);
    settings->setValue(QStringLiteral("RepeatCount"), values.RepeatCount);
    settings->setValue(QStringLiteral("IncludeReset"), values.IncludeReset);
    settings->setValue(QStringLiteral("MidiTrackNames"), values.MidiTrackNames);
    settings->sync();
}

int ReadRecoveryInterval(const QString& iniPath)
{
    constexpr int Default = 60;
    constexpr int Shortest = 5;
    // A day: anything longer would overflow the timer's milliseconds, and means "rarely".
    constexpr int Longest = 24 * 60 * 60;
    const auto settings = OpenLyravaneSettings(iniPath);
    bool ok = false;
    const qlonglong seconds =
        settings->value(QStringLiteral("Recovery/IntervalSeconds"), Default).toLongLong(&ok);
    return ok ? static_cast<int>(std::clamp<qlonglong>(seconds, Shortest, Longest)) : Default;
}

TAudioOutputSettings ReadAudioOutputSettings(const QString& iniPath)
{
    const auto settings = OpenLyravaneSettings(iniPath);
    TAudioOutputSettings values;
    values.Driver =
        settings->value(QStringLiteral("Sound/AudioDriver")).toString().trimmed().toStdString();
    // A file name in the file system's bytes.
    values.FileName =
        QFile::encodeName(settings->value(QStringLiteral("Sound/AudioFile")).toString().trimmed())
            .toStdString();
    return values;
}
TExportSettings ReadExportSettings(const QString& iniPath)
{
    TExportSettings values;
    const auto settings = OpenLyravaneSettings(iniPath);
    ReadFlag(settings->value(QStringLiteral("Export/Normalize")), values.Normalize);
    bool ok = false;
    const int lufs = settings->value(QStringLiteral("Export/LoudnessLufs")).toInt(&ok);
    if (ok && std::find(std::begin(ExportLoudnessChoices), std::end(ExportLoudnessChoices), lufs) !=
                  std::end(ExportLoudnessChoices))
        values.LoudnessLufs = lufs;
    return values;
}

void WriteExportSettings(const QString& iniPath, const TExportSettings& values)
{
    const auto settings = OpenLyravaneSettings(iniPath);
    settings->setValue(QStringLiteral("Export/Normalize"), values.Normalize);
    settings->setValue(QStringLiteral("Export/LoudnessLufs"), values.LoudnessLufs);
    settings->sync();
}

QString ReadSoundFontSetting(const QString& iniPath)
{
    return OpenLyravaneSettings(iniPath)->value(QStringLiteral("SoundFont")).toString();
}

void WriteSoundFontSetting(const QString& iniPath, const QString& path)
{
    const auto settings = OpenLyravaneSettings(iniPath);
    settings->setValue(QStringLiteral("SoundFont"), path);
    settings->sync();
}

int ReadWindowScale(const QString& iniPath)
{
    bool ok = false;
    const int percent =
        OpenLyravaneSettings(iniPath)->value(QStringLiteral("Window/Scale"), 100).toInt(&ok);
    const auto& choices = WindowScaleChoices;
    return ok && std::find(std::begin(choices), std::end(choices), percent) != std::end(choices)
               ? percent
               : 100;
}

QString ReadLanguageSetting(const QString& iniPath)
{
    return KnownLanguage(
        OpenLyravaneSettings(iniPath)->value(QStringLiteral("Language")).toString());
}

void WriteLanguageSetting(const QString& iniPath, const QString& language)
{
    OpenLyravaneSettings(iniPath)->setValue(QStringLiteral("Language"), language);
}

void WriteWindowScale(const QString& iniPath, int percent)
{
    OpenLyravaneSettings(iniPath)->setValue(QStringLiteral("Window/Scale"), percent);
}

int FittingWindowScale(int percent, QSize window, QSize area)
{
    int fitting = 100;
    for (const int choice : WindowScaleChoices)
        if (choice <= percent && window.width() * choice <= area.width() * 100 &&
            window.height() * choice <= area.height() * 100)
            fitting = choice;
    return fitting;
}

bool ReadSongOverviewSetting(const QString& iniPath)
{
    return OpenLyravaneSettings(iniPath)
        ->value(QStringLiteral("View/SongOverview"), false)
        .toBool();
}

void WriteSongOverviewSetting(const QString& iniPath, bool on)
{
    OpenLyravaneSettings(iniPath)->setValue(QStringLiteral("View/SongOverview"), on);
}

TClicks ReadClickSettings(const QString& iniPath)
{
    const auto settings = OpenLyravaneSettings(iniPath);
    return {settings->value(QStringLiteral("Playback/CountIn"), false).toBool(),
            settings->value(QStringLiteral("Playback/Metronome"), false).toBool()};
}

void WriteClickSettings(const QString& iniPath, TClicks clicks)
{
    const auto settings = OpenLyravaneSettings(iniPath);
    settings->setValue(QStringLiteral("Playback/CountIn"), clicks.CountIn);
    settings->setValue(QStringLiteral("Playback/Metronome"), clicks.Metronome);
}
