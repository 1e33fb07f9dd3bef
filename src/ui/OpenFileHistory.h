#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <functional>

class QAction;

/// The last four projects opened or saved, newest first, shown as numbered commands on the
/// file menu and kept in the settings under "Recent File List", "File1" to "File4".
class TOpenFileHistory
{
public:
    static constexpr int MaxFiles = 4;
    /// Recent-file captions are shortened to this width in the window's font.
    static constexpr int MaxCaptionWidth = 200;
    using TMeasure = std::function<int(const QString&)>;

    /// settingsPath: see OpenLyravaneSettings.
    explicit TOpenFileHistory(QString settingsPath = {});

    /// The separator and the four recent-file commands, in this order; not owned.
    std::array<QAction*, 1 + MaxFiles> Actions{};
    /// Width of a text in the window's font.
    TMeasure Measure;

    void LoadHistory();
    void SaveHistory();
    /// The path at index (0 = newest), empty outside the list.
    QString FileAt(int index) const;
    int Count() const { return static_cast<int>(Files.size()); }
    /// Makes path the newest entry; an entry equal to it but for letter case goes.
    void AddFile(const QString& path);
    /// Drops the first entry equal to path but for letter case.
    void RemoveFile(const QString& path);
    /// Visibility and captions of the separator and the four commands.
    void UpdateMenu();

    /// path with its leading directories replaced by "..." one at a time until measure
    /// finds it at most maxWidth wide; the file name itself is never cut.
    static QString ShortenPath(const QString& path, const TMeasure& measure,
                               int maxWidth = MaxCaptionWidth);

    QStringList Files;

private:
    QString FSettingsPath;
};
