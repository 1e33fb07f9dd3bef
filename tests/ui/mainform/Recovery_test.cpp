#include "UiFakes.h"

#include "base/FileIO.h"
#include "model/Munit.h"
#include "model/SongBytes.h"
#include "ui/Settings.h"
#include "ui/SongRecovery.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>

namespace
{
/// The question names the song and when its copy was made (today, in these tests).
const QRegularExpression AskRecover(
    QStringLiteral("^Se encontró una copia sin guardar de «child.lvp» \\(hoy, \\d\\d:\\d\\d\\)\\. "
                   "¿Desea recuperarla\\?$"));

/// A change of the song as a page makes it: locks and notes of unit 1, through the history.
void Change(TLyravaneMainForm& form, int pitch)
{
    form.Document().History().Edit(QStringLiteral("Melodía"), nullptr,
                                   [&]
                                   {
                                       TMunit& unit = *Song(form).UnitAt(1);
                                       unit.SetMelody(0, 0, pitch);
                                       unit.SetLock(2, 1);
                                   });
}

/// Lets the window run until its recovery file has been written.
bool WaitForRecovery(TLyravaneMainForm& form)
{
    form.Document().RecoveryTimer()->setInterval(10);
    return QTest::qWaitFor([&] { return form.Document().Recovery().Written(); }, 20000);
}

QStringList RecoveryFiles(const QString& dir, const QString& pattern = QStringLiteral("*.lvr"))
{
    return QDir(dir).entryList({pattern}, QDir::Files);
}
} // namespace

int RunRecoveryChild(const QString& dir)
{
    TFormFixture fixture;
    fixture.Services.RecoveryDir = QDir(dir).filePath(QStringLiteral("recovery"));
    TLyravaneMainForm& form = fixture.Create();
    // A named song with unsaved changes.
    Action(form, "Action_EditNewMunit")->trigger();
    fixture.FileDialogs.Answers = {QDir(dir).filePath(QStringLiteral("child.lvp"))};
    Action(form, "Action_FileSave")->trigger();
    Change(form, 7);
    if (!WaitForRecovery(form))
        return 1;
    WriteFileAtomically(QDir(dir).filePath(QStringLiteral("expected")).toStdString(),
                        SongWithLocksToBytes(Song(form)));
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;)
        std::this_thread::sleep_for(std::chrono::seconds(1));
}

class RecoveryTest : public ::testing::Test
{
protected:
    TFormFixture F;
    QString Dir() const { return F.Services.RecoveryDir; }
};

TEST_F(RecoveryTest, AKilledCopyLeavesItsSongForTheNextStart)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--recovery-child"), F.Dir.path()});
    QByteArray output;
    while (!output.contains("ready\n") && child.waitForReadyRead(60000))
        output += child.readAll();
    ASSERT_TRUE(output.contains("ready\n")) << output.toStdString();
    child.kill(); // SIGKILL: nothing of the program runs after it
    ASSERT_TRUE(child.waitForFinished(10000));
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
    ASSERT_EQ(RecoveryFiles(Dir()).size(), 1u);

    TLyravaneMainForm& form = F.Create();
    F.MessageBoxes.Answers = {TMsgResult::Yes};
    Inside(form).FormShow();
    ASSERT_EQ(F.MessageBoxes.Shown.size(), 1u);
    EXPECT_TRUE(AskRecover.match(F.MessageBoxes.Shown[0].Text).hasMatch())
        << F.MessageBoxes.Shown[0].Text.toStdString();
    EXPECT_EQ(F.MessageBoxes.Shown[0].Buttons, TMsgButtons::SiNo);
    EXPECT_TRUE(SongWithLocksToBytes(Song(form)) ==
                ReadWholeFile(F.Path(QStringLiteral("expected")).toStdString()));
    EXPECT_TRUE(Song(form).Modified);
    EXPECT_EQ(Song(form).FileName, F.Path(QStringLiteral("child.lvp")).toStdString());
    EXPECT_EQ(form.windowTitle().toStdString(), "Lyravane 1999 - [child.lvp] *");
    EXPECT_EQ(Song(form).UnitAt(1)->GetLock(2), 1);

    // Until it is saved the song keeps its recovery file; saving removes it.
    EXPECT_EQ(RecoveryFiles(Dir()).size(), 1u);
    Action(form, "Action_FileSave")->trigger();
    EXPECT_FALSE(Song(form).Modified);
    EXPECT_TRUE(RecoveryFiles(Dir()).isEmpty());
}

TEST_F(RecoveryTest, TheFileFollowsTheUnsavedChangesAndGoesWithThem)
{
    TLyravaneMainForm& form = F.Create();
    QTest::qWait(20);
    EXPECT_FALSE(form.Document().RecoveryTimer()->isActive()) << "an unchanged song is not written";
    EXPECT_EQ(form.Document().RecoveryTimer()->interval(), 60000);

    // Saving removes it.
    Change(form, 3);
    ASSERT_TRUE(WaitForRecovery(form));
    EXPECT_EQ(RecoveryFiles(Dir()).size(), 1u);
    F.FileDialogs.Answers = {F.Path(QStringLiteral("saved.lvp"))};
    Action(form, "Action_FileSave")->trigger();
    EXPECT_TRUE(RecoveryFiles(Dir()).isEmpty());

    // So does undoing back to the saved song, and "No" at the save prompt.
    Change(form, 4);
    ASSERT_TRUE(WaitForRecovery(form));
    Action(form, "Action_EditUndo")->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return RecoveryFiles(Dir()).isEmpty(); }, 5000));
    Action(form, "Action_EditRedo")->trigger();
    ASSERT_TRUE(WaitForRecovery(form));
    F.MessageBoxes.Answers = {TMsgResult::No};
    Action(form, "Action_FileNew")->trigger();
    EXPECT_TRUE(RecoveryFiles(Dir()).isEmpty());

    // And a normal exit.
    Change(form, 5);
    ASSERT_TRUE(WaitForRecovery(form));
    EXPECT_EQ(RecoveryFiles(Dir()).size(), 1u);
    F.Destroy();
    EXPECT_TRUE(RecoveryFiles(Dir()).isEmpty());
    EXPECT_TRUE(RecoveryFiles(Dir(), QStringLiteral("*.lock")).isEmpty());
}

TEST_F(RecoveryTest, TwoCopiesNeverTakeEachOthersFile)
{
    TLyravaneMainForm& first = F.Create();
    Change(first, 6);
    ASSERT_TRUE(WaitForRecovery(first));

    TFormFixture other;
    other.Services.RecoveryDir = Dir();
    TLyravaneMainForm& second = other.Create();
    Inside(second).FormShow();
    EXPECT_TRUE(other.MessageBoxes.Shown.empty()) << "the first copy runs: its file is not offered";
    Change(second, 8);
    ASSERT_TRUE(WaitForRecovery(second));
    EXPECT_EQ(RecoveryFiles(Dir()).size(), 2u);
    other.Destroy();
    ASSERT_EQ(RecoveryFiles(Dir()).size(), 1u);
    EXPECT_EQ(Dir() + QLatin1Char('/') + RecoveryFiles(Dir()).constFirst(),
              first.Document().Recovery().Path());
}

TEST_F(RecoveryTest, NoDeletesTheFileAndAnUnreadableOneIsSetAside)
{
    {
        TFormFixture crashed;
        crashed.Services.RecoveryDir = Dir();
        TLyravaneMainForm& form = crashed.Create();
        Change(form, 9);
        ASSERT_TRUE(WaitForRecovery(form));
        // Its recovery is let go of as after a crash: the lock goes, the file stays.
        const QString path = form.Document().Recovery().Path();
        const QByteArray bytes = QByteArray::fromStdString(ReadWholeFile(path.toStdString()));
        crashed.Destroy();
        F.WriteBytes(QStringLiteral("recovery/") + QFileInfo(path).fileName(), bytes);
    }
    TLyravaneMainForm& form = F.Create();
    F.MessageBoxes.Answers = {TMsgResult::No};
    Inside(form).FormShow();
    ASSERT_EQ(F.MessageBoxes.Shown.size(), 1u);
    EXPECT_TRUE(RecoveryFiles(Dir()).isEmpty());
    EXPECT_FALSE(Song(form).Modified);
    EXPECT_EQ(Song(form).Count(), 2);

    const QByteArray damaged = QByteArrayLiteral("LYRVREC1 and then nothing that reads");
    F.WriteBytes(QStringLiteral("recovery/song-1-damaged.lvr"), damaged);
    F.MessageBoxes.Shown.clear();
    TLyravaneMainForm& next = F.Create();
    Inside(next).FormShow();
    const QString aside = Dir() + QStringLiteral("/song-1-damaged.lvr.ilegible");
    ASSERT_EQ(F.MessageBoxes.Shown.size(), 1u);
    EXPECT_EQ(F.MessageBoxes.Shown[0].Text,
              QStringLiteral("No se pudo leer la canción sin guardar de una sesión anterior. "
                             "El archivo se ha guardado aparte en:\n") +
                  QDir::toNativeSeparators(aside));
    EXPECT_TRUE(RecoveryFiles(Dir()).isEmpty());
    EXPECT_EQ(ReadWholeFile(aside.toStdString()), damaged.toStdString());
    EXPECT_EQ(Song(next).Count(), 2);
}

TEST_F(RecoveryTest, AFolderThatCannotBeMadeIsReportedAndTheWindowGoesOn)
{
    // "recovery" is a regular file: no lock can be made there under any name.
    F.Services.RecoveryDir = F.WriteBytes(QStringLiteral("recovery"), "in the way");
    TLyravaneMainForm& form = F.Create();
    Change(form, 3);
    form.Document().RecoveryTimer()->setInterval(10);
    EXPECT_TRUE(QTest::qWaitFor(
        [&]
        {
            return form.statusBar()->currentMessage().startsWith(
                QStringLiteral("No se pudo escribir el archivo de recuperación: "));
        },
        5000));
    EXPECT_FALSE(form.Document().Recovery().Written());
    Change(form, 4);
    EXPECT_TRUE(Song(form).Modified) << "the window still takes edits";
}

TEST(RecoverySettingsTest, TheIntervalIsAMinuteByDefaultFromFiveSecondsToADay)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("settings.ini"));
    EXPECT_EQ(ReadRecoveryInterval(ini), 60);
    for (const auto& [value, seconds] :
         std::vector<std::pair<QVariant, int>>{{20, 20},
                                               {1, 5},
                                               {-3, 5},
                                               {"x", 60},
                                               {86400, 86400},
                                               // Past a day, and past an int's milliseconds.
                                               {2147484, 86400},
                                               {4294968, 86400},
                                               {"99999999999", 86400}})
    {
        QSettings(ini, QSettings::IniFormat)
            .setValue(QStringLiteral("Recovery/IntervalSeconds"), value);
        EXPECT_EQ(ReadRecoveryInterval(ini), seconds) << value.toString().toStdString();
    }
}
