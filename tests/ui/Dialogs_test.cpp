#include "ui/FileDialogs.h"
#include "ui/FormOption.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionComboBox>
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

namespace
{
/// Answers the file dialog with one path and records the request.
class TOneFileDialog : public TFileDialogRunner
{
public:
    QString Answer;
    std::vector<TFileDialogRequest> Requests;
    std::optional<QString> Run(QWidget*, TFileDialogRequest& request) override
    {
        Requests.push_back(request);
        return Answer.isEmpty() ? std::nullopt : std::optional<QString>(Answer);
    }
};
} // namespace

TEST(FormOptionTest, ExportAndSoundFontChoicesGoBackIntoTheFields)
{
    TOneFileDialog files;
    files.Answer = QStringLiteral("/home/user/Piano.sf3");
    TFormOption dialog;
    dialog.FileDialogs = &files;
    dialog.Normalize = false;
    dialog.LoudnessLufs = -23;
    dialog.SoundFont = QStringLiteral("/usr/share/sounds/sf2/FluidR3_GM.sf2");
    dialog.WindowScale = 150;
    dialog.InstalledSoundFonts = {QStringLiteral("/usr/share/sounds/sf2/FluidR3_GM.sf2"),
                                  QStringLiteral("/usr/share/sounds/sf3/Other.sf3")};
    dialog.show();
    EXPECT_FALSE(dialog.CheckNormalize->isChecked());
    EXPECT_FALSE(dialog.ComboLoudness->isEnabled()) << "no target without normalising";
    EXPECT_EQ(dialog.ComboLoudness->currentText(), QStringLiteral("-23 LUFS"));
    EXPECT_EQ(dialog.ComboSoundFont->count(), 2) << "the one in use is listed once";
    EXPECT_EQ(dialog.ComboSoundFont->currentText(), QStringLiteral("FluidR3_GM.sf2"));
    QStyleOptionComboBox box;
    box.initFrom(dialog.ComboSoundFont);
    const QRect field = dialog.ComboSoundFont->style()->subControlRect(
        QStyle::CC_ComboBox, &box, QStyle::SC_ComboBoxEditField, dialog.ComboSoundFont);
    EXPECT_GE(field.width(), dialog.ComboSoundFont->fontMetrics().horizontalAdvance(
                                 dialog.ComboSoundFont->currentText()))
        << "the name shows whole";
    EXPECT_EQ(dialog.LabelSoundFont->text(), QStringLiteral("En uso: FluidR3_GM.sf2"));

    // The keyboard goes through the dialog top to bottom.
    std::vector<QWidget*> order;
    QWidget* w = dialog.RadioButtons[0];
    do
    {
        if (w->focusPolicy() & Qt::TabFocus)
            order.push_back(w);
        w = w->nextInFocusChain();
    } while (w != dialog.RadioButtons[0]);
    // A widget's middle; those of one row are within a few pixels of each other.
    const auto at = [&](QWidget* widget)
    { return widget->mapTo(&dialog, QPoint(0, widget->height() / 2)).y() / 8; };
    ASSERT_GE(order.size(), 8u);
    for (std::size_t i = 1; i < order.size(); ++i)
    {
        EXPECT_LE(at(order[i - 1]), at(order[i]))
            << order[i - 1]->metaObject()->className() << " before "
            << order[i]->metaObject()->className();
    }

    QTest::mouseClick(dialog.CheckNormalize, Qt::LeftButton);
    EXPECT_TRUE(dialog.ComboLoudness->isEnabled());
    dialog.ComboLoudness->setCurrentIndex(1);
    dialog.ButtonChooseSoundFont->click();
    ASSERT_EQ(files.Requests.size(), 1u);
    EXPECT_EQ(QtNameFilters(files.Requests[0].Filter), QStringLiteral("SoundFont (*.sf2 *.sf3)"));
    EXPECT_EQ(dialog.ComboSoundFont->currentText(), QStringLiteral("Piano.sf3"));
    EXPECT_EQ(dialog.ComboWindowScale->currentText(), QStringLiteral("150 %"));
    dialog.ComboWindowScale->setCurrentIndex(dialog.ComboWindowScale->findData(200));
    if (const QString shots = qEnvironmentVariable("LYRAVANE_SCREENSHOT_DIR"); !shots.isEmpty())
        dialog.grab().save(shots + QStringLiteral("/options-dialog.png"));
    dialog.accept();
    EXPECT_TRUE(dialog.Normalize);
    EXPECT_EQ(dialog.LoudnessLufs, -16);
    EXPECT_EQ(dialog.SoundFont, files.Answer);
    EXPECT_EQ(dialog.WindowScale, 200);

    // Cancelling the file dialog keeps the choice.
    files.Answer.clear();
    dialog.show();
    dialog.ButtonChooseSoundFont->click();
    dialog.reject();
    EXPECT_EQ(dialog.SoundFont, QStringLiteral("/home/user/Piano.sf3"));
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

// The real dialog carries the request's check box under the file name and hands its state
// back with the chosen file.
TEST(FileDialogTest, CheckBoxStateComesBackWithTheChosenFile)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    bool seen = false;
    QTimer::singleShot(
        100,
        [&]
        {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return;
            auto* check = dialog->findChild<QCheckBox*>(QStringLiteral("FileDialogCheck"));
            seen = check != nullptr && check->isVisible() && !check->isChecked();
            if (check != nullptr)
                check->click();
            if (const QString shots = qEnvironmentVariable("LYRAVANE_SCREENSHOT_DIR");
                !shots.isEmpty())
                dialog->grab().save(shots + QStringLiteral("/score-export-dialog.png"));
            dialog->findChild<QLineEdit*>()->setText(QStringLiteral("song.musicxml"));
            static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept
        });
    TQtFileDialogRunner runner;
    TFileDialogRequest request;
    request.Save = true;
    request.Title = QStringLiteral("Exportar partitura (MusicXML)");
    request.Filter = QStringLiteral("Partitura MusicXML (*.musicxml)|*.musicxml|");
    request.FileName = folder.filePath(QStringLiteral("x.musicxml"));
    request.CheckText = QStringLiteral("Partitura &completa");
    const std::optional<QString> chosen = runner.Run(nullptr, request);
    EXPECT_TRUE(seen);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(QFileInfo(*chosen).fileName(), QStringLiteral("song.musicxml"));
    EXPECT_TRUE(request.Checked);
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
