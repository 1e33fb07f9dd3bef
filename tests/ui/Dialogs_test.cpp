#include "ui/FileDialogs.h"
#include "ui/FormOption.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

TEST(FormOptionTest, FocusStartsOnTheChosenRepeatCount)
{
    for (int count = 1; count <= 4; ++count)
    {
        TFormOption dialog;
        dialog.RepeatCount = count;
        dialog.show();
        EXPECT_EQ(dialog.focusWidget(), dialog.RadioButtons[static_cast<std::size_t>(count - 1)])
            << "repeat count " << count;
    }
}

// A file whose name says nothing and whose bytes say PNG: the dialogs must go by the name,
// since reading a file can block for ever.
TEST(FileDialogTest, IconsAndTypesComeFromTheNameAlone)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("notes"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    file.close();

    const QString named = NameOnlyIconProvider()->type(QFileInfo(path));
    const QString sniffed = QFileIconProvider().type(QFileInfo(path));
    EXPECT_TRUE(sniffed.contains(QStringLiteral("PNG"))) << "Qt's own provider reads the bytes";
    EXPECT_FALSE(named.contains(QStringLiteral("PNG"))) << named.toStdString();
}

// Run in a child process by the test below: opens the program's file dialog, types the path of
// LYRAVANE_PROBE_PATH into its file name box and ends once the window has stayed responsive
// for a while.
TEST(FileDialogProbe, TypesAPathIntoTheFileNameBox)
{
    const QString path = qEnvironmentVariable("LYRAVANE_PROBE_PATH");
    if (path.isEmpty())
        GTEST_SKIP() << "run by FileDialogTest.TypingABlockingPathKeepsTheWindowResponsive";
    bool typed = false;
    QTimer::singleShot(100,
                       [&]
                       {
                           auto* dialog =
                               qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                           if (dialog == nullptr)
                               return;
                           auto* edit = dialog->findChild<QLineEdit*>();
                           QTest::keyClicks(edit, path);
                           typed = true;
                           QTest::qWait(1500); // the completer and the model work meanwhile
                           dialog->reject();
                       });
    TQtFileDialogRunner runner;
    TFileDialogRequest request;
    request.Title = QStringLiteral("Open");
    request.Filter = QStringLiteral(" Lyravane file (*.lvp)|*.lvp|");
    EXPECT_FALSE(runner.Run(nullptr, request).has_value());
    EXPECT_TRUE(typed);
}

TEST(FileDialogTest, TypingABlockingPathKeepsTheWindowResponsive)
{
    // Read by root, /proc/kmsg waits for the next kernel message; Qt's file type detection
    // used to read it on the window's thread while the completer listed /proc.
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LYRAVANE_PROBE_PATH"), QStringLiteral("/proc/km"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=FileDialogProbe.*")});
    ASSERT_TRUE(child.waitForStarted());
    const bool finished = child.waitForFinished(20000);
    if (!finished)
    {
        child.kill();
        child.waitForFinished();
    }
    ASSERT_TRUE(finished) << "the file dialog froze after typing /proc/km";
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().toStdString();
}
