#include "ui/OpenFileHistory.h"

#include <QAction>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{
/// One pixel per character keeps the shortening readable.
int CharWidth(const QString& text)
{
    return static_cast<int>(text.size());
}

struct THistoryFixture
{
    QTemporaryDir Dir;
    QString Settings = Dir.filePath(QStringLiteral("settings.ini"));
    std::vector<std::unique_ptr<QAction>> Owned;
    TOpenFileHistory History{Settings};

    THistoryFixture()
    {
        for (int i = 0; i < 5; ++i)
        {
            Owned.push_back(std::make_unique<QAction>());
            History.Actions[static_cast<std::size_t>(i)] = Owned.back().get();
        }
        History.Measure = CharWidth;
    }

    QAction& Action(int i) { return *Owned[static_cast<std::size_t>(i)]; }

    void Store(const QStringList& values)
    {
        QSettings settings(Settings, QSettings::IniFormat);
        settings.beginGroup(QStringLiteral("Recent File List"));
        for (int i = 0; i < values.size(); ++i)
            settings.setValue(QStringLiteral("File%1").arg(i + 1), values[i]);
    }
};
} // namespace

TEST(ShortenPathTest, CutsLeadingDirectoriesOneAtATime)
{
    const QString path = QStringLiteral("/home/ana/Music/Songs/verse.lvp");
    const std::vector<std::pair<int, const char*>> steps = {
        {200, "/home/ana/Music/Songs/verse.lvp"},
        {31, "/home/ana/Music/Songs/verse.lvp"},
        {30, "/.../ana/Music/Songs/verse.lvp"},
        {29, "/.../Music/Songs/verse.lvp"},
        {25, "/.../Songs/verse.lvp"},
        {19, "/.../verse.lvp"},
        {13, ".../verse.lvp"},
        {12, "verse.lvp"},
        // The name itself is never cut, however narrow the room.
        {3, "verse.lvp"},
    };
    for (const auto& [width, expected] : steps)
        EXPECT_EQ(TOpenFileHistory::ShortenPath(path, CharWidth, width).toStdString(), expected)
            << "width " << width;
}

TEST(OpenFileHistoryTest, EmptySettingsShowNoRecentFiles)
{
    THistoryFixture f;
    f.History.LoadHistory();
    EXPECT_EQ(f.History.Count(), 0);
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(f.Action(i).isVisible()) << i;
    EXPECT_TRUE(f.History.FileAt(0).isEmpty());
}

TEST(OpenFileHistoryTest, LoadSkipsEmptyValuesAndShowsNumberedCommands)
{
    THistoryFixture f;
    f.Store({QStringLiteral("/m/a.lvp"), QString(), QStringLiteral("/m/b.lvp"), QString()});
    f.History.LoadHistory();
    EXPECT_EQ(f.History.Files,
              (QStringList{QStringLiteral("/m/a.lvp"), QStringLiteral("/m/b.lvp")}));
    EXPECT_TRUE(f.Action(0).isVisible());
    EXPECT_TRUE(f.Action(1).isVisible());
    EXPECT_TRUE(f.Action(2).isVisible());
    EXPECT_FALSE(f.Action(3).isVisible());
    EXPECT_EQ(f.Action(1).text().toStdString(), "&1 /m/a.lvp");
    EXPECT_EQ(f.Action(2).text().toStdString(), "&2 /m/b.lvp");
}

TEST(OpenFileHistoryTest, LoadStopsAtAValueOfAnotherType)
{
    THistoryFixture f;
    f.Store({QStringLiteral("/m/a.lvp")});
    {
        QSettings settings(f.Settings, QSettings::IniFormat);
        settings.setValue(QStringLiteral("Recent File List/File2"), QByteArray("\x01\x02", 2));
        settings.setValue(QStringLiteral("Recent File List/File3"), QStringLiteral("/m/c.lvp"));
    }
    f.History.LoadHistory();
    EXPECT_EQ(f.History.Files, QStringList{QStringLiteral("/m/a.lvp")});
}

TEST(OpenFileHistoryTest, AddMovesToTopIgnoringCaseAndKeepsFour)
{
    THistoryFixture f;
    for (const char* name : {"/m/1.lvp", "/m/2.lvp", "/m/3.lvp", "/m/4.lvp", "/m/5.lvp"})
        f.History.AddFile(QString::fromLatin1(name));
    EXPECT_EQ(f.History.Files, (QStringList{"/m/5.lvp", "/m/4.lvp", "/m/3.lvp", "/m/2.lvp"}));
    f.History.AddFile(QStringLiteral("/M/3.LVP"));
    EXPECT_EQ(f.History.Files, (QStringList{"/M/3.LVP", "/m/5.lvp", "/m/4.lvp", "/m/2.lvp"}));
    f.History.RemoveFile(QStringLiteral("/m/5.LVP"));
    EXPECT_EQ(f.History.Files, (QStringList{"/M/3.LVP", "/m/4.lvp", "/m/2.lvp"}));
    EXPECT_FALSE(f.Action(4).isVisible());
    EXPECT_EQ(f.Action(3).text().toStdString(), "&3 /m/2.lvp");
}

TEST(OpenFileHistoryTest, SaveWritesAllFourValuesAndEscapesAmpersands)
{
    THistoryFixture f;
    f.History.AddFile(QStringLiteral("/m/b.lvp"));
    f.History.AddFile(QStringLiteral("/m/R&B.lvp"));
    f.History.SaveHistory();
    QSettings settings(f.Settings, QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("Recent File List"));
    EXPECT_EQ(settings.childKeys(), (QStringList{"File1", "File2", "File3", "File4"}));
    EXPECT_EQ(settings.value("File1").toString().toStdString(), "/m/R&B.lvp");
    EXPECT_EQ(settings.value("File2").toString().toStdString(), "/m/b.lvp");
    EXPECT_TRUE(settings.value("File3").toString().isEmpty());
    EXPECT_TRUE(settings.value("File4").toString().isEmpty());
    EXPECT_EQ(f.Action(1).text().toStdString(), "&1 /m/R&&B.lvp");

    TOpenFileHistory again(f.Settings);
    again.LoadHistory();
    EXPECT_EQ(again.Files, f.History.Files);
}
