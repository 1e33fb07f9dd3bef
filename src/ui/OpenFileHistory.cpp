#include "ui/OpenFileHistory.h"

#include "ui/Settings.h"

#include <QAction>
#include <QVariant>

#include <utility>

namespace
{
const QString HistoryGroup = QStringLiteral("Recent File List");

#ifdef Q_OS_WIN
constexpr QChar Separator = QLatin1Char('\\');
constexpr bool HasDrives = true;
bool IsDirectoryEnd(QChar c)
{
    return c == QLatin1Char('\\') || c == QLatin1Char(':');
}
#else
constexpr QChar Separator = QLatin1Char('/');
constexpr bool HasDrives = false;
bool IsDirectoryEnd(QChar c)
{
    return c == QLatin1Char('/');
}
#endif

QString ValueName(int index)
{
    return QStringLiteral("File%1").arg(index + 1);
}

/// Replaces the first directory of dir by "...": "/a/b/" -> "/.../b/", "/.../b/" -> "/.../".
void CutFirstDirectory(QString& dir)
{
    const QString single(Separator);
    if (dir == single)
    {
        dir.clear();
        return;
    }
    const bool rooted = dir.startsWith(Separator);
    if (rooted)
        dir.remove(0, 1);
    // The "..." and separator an earlier cut left.
    const QString marker = QStringLiteral("...") + Separator;
    if (dir.startsWith(QLatin1Char('.')))
        dir.remove(0, marker.size());
    const qsizetype next = dir.indexOf(Separator);
    if (next >= 0)
        dir = marker + dir.mid(next + 1);
    else
        dir.clear();
    if (rooted)
        dir.prepend(Separator);
}
} // namespace

TOpenFileHistory::TOpenFileHistory(QString settingsPath) : FSettingsPath(std::move(settingsPath)) {}

void TOpenFileHistory::LoadHistory()
{
    Files.clear();
    const auto settings = OpenLyravaneSettings(FSettingsPath);
    if (settings->childGroups().contains(HistoryGroup))
    {
        settings->beginGroup(HistoryGroup);
        for (int i = 0; i < MaxFiles; ++i)
        {
            const QVariant value = settings->value(ValueName(i), QString());
            // A value of another type ends the reading; what was read so far stays.
            if (value.typeId() != QMetaType::QString)
                break;
            Files.append(value.toString());
        }
        settings->endGroup();
        for (int i = 0; i < MaxFiles; ++i)
            RemoveFile(QString());
    }
    UpdateMenu();
}

void TOpenFileHistory::SaveHistory()
{
    const auto settings = OpenLyravaneSettings(FSettingsPath);
    settings->beginGroup(HistoryGroup);
    for (int i = 0; i < MaxFiles; ++i)
        settings->setValue(ValueName(i), QString());
    for (int i = 0; i < Files.size(); ++i)
        settings->setValue(ValueName(i), Files[i]);
    settings->endGroup();
    settings->sync();
    UpdateMenu();
}

QString TOpenFileHistory::FileAt(int index) const
{
    return index >= 0 && index < Files.size() ? Files[index] : QString();
}

void TOpenFileHistory::AddFile(const QString& path)
{
    RemoveFile(path);
    Files.prepend(path);
    while (Files.size() > MaxFiles)
        Files.removeLast();
    UpdateMenu();
}

void TOpenFileHistory::RemoveFile(const QString& path)
{
    for (qsizetype i = 0; i < Files.size(); ++i)
    {
        if (Files[i].compare(path, Qt::CaseInsensitive) == 0)
        {
            Files.removeAt(i);
            break;
        }
    }
    UpdateMenu();
}

void TOpenFileHistory::UpdateMenu()
{
    const int n = Count();
    if (Actions[0] != nullptr)
        Actions[0]->setVisible(n >= 1);
    for (int k = 1; k <= MaxFiles; ++k)
    {
        QAction* action = Actions[static_cast<std::size_t>(k)];
        if (action == nullptr)
            continue;
        action->setVisible(n >= k);
        if (n < k)
            continue;
        QString shown = Measure ? ShortenPath(FileAt(k - 1), Measure) : FileAt(k - 1);
        // An ampersand in a path is text, not a keyboard accelerator.
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        action->setText(QStringLiteral("&%1 ").arg(k) + shown);
    }
}

QString TOpenFileHistory::ShortenPath(const QString& path, const TMeasure& measure, int maxWidth)
{
    QString result = path;
    qsizetype split = path.size();
    while (split > 0 && !IsDirectoryEnd(path[split - 1]))
        --split;
    QString dir = path.left(split);
    const QString name = path.mid(split);
    QString drive;
    if (HasDrives && dir.size() >= 2 && dir[1] == QLatin1Char(':'))
    {
        drive = dir.left(2);
        dir.remove(0, 2);
    }
    const QString lastCut = QString(Separator) + QStringLiteral("...") + Separator;
    while ((!dir.isEmpty() || !drive.isEmpty()) && measure(result) > maxWidth)
    {
        if (dir == lastCut)
        {
            drive.clear();
            dir = QStringLiteral("...") + Separator;
        }
        else if (dir.isEmpty())
            drive.clear();
        else
            CutFirstDirectory(dir);
        result = drive + dir + name;
    }
    return result;
}
