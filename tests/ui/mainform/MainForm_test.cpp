#include "UiFakes.h"

#include "PlaceholderPages.h"
#include "base/FileIO.h"
#include "controls/MenuButton.h"
#include "model/Munit.h"
#include "model/Muprop.h"
#include "model/MusicProject.h"
#include "ui/FormAbout.h"
#include "ui/FormArranger.h"
#include "ui/FormHelp.h"
#include "ui/FormOption.h"
#include "ui/OpenFileHistory.h"
#include "ui/WindowUtils.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <cstdio>

#include <sys/stat.h>

namespace
{
const QString CannotOpen = QStringLiteral("ファイル '%1' がオープンできませんでした。");
const QString InvalidFormat = QStringLiteral("ファイル '%1' は有効な形式ではありません。");
const QString CannotWrite = QStringLiteral("ファイル '%1' への書き込みができませんでした。");

/// Changes the song the way a page would: an edit through the history.
void Touch(TLyravaneMainForm& form)
{
    form.Document().History().Edit(QStringLiteral("Acorde"), nullptr,
                                   [&] { Song(form).UnitAt(1)->SetChord(0, 0, 5); });
}

std::vector<std::string> MenuTexts(const QMenu* menu)
{
    std::vector<std::string> texts;
    for (const QAction* action : menu->actions())
        texts.push_back(action->isSeparator() ? "-" : action->text().toStdString());
    return texts;
}
} // namespace

class MainFormTest : public ::testing::Test
{
protected:
    TFormFixture F;
};

TEST_F(MainFormTest, StartsWithNewUntitledSongAndItsCommandStates)
{
    TLyravaneMainForm& form = F.Create();
    EXPECT_EQ(Caption(form), "Lyravane 1999 - [Untitled]");
    EXPECT_EQ(F.TabTexts(), (std::vector<std::string>{"Composition", "Ptn.1"}));
    EXPECT_TRUE(form.Document().Untitled());
    EXPECT_FALSE(Song(form).Modified);
    EXPECT_EQ(form.TabControl1->currentIndex(), 0);

    Inside(form).RefreshCommandStates();
    EXPECT_FALSE(Action(form, "Action_FileRevert")->isEnabled());
    EXPECT_TRUE(Action(form, "Action_EditNewMunit")->isEnabled());
    EXPECT_FALSE(Action(form, "Action_EditCut")->isEnabled());
    EXPECT_FALSE(Action(form, "Action_EditCopy")->isEnabled());
    EXPECT_FALSE(Action(form, "Action_EditDelete")->isEnabled());
    EXPECT_FALSE(Action(form, "Action_EditPaste")->isEnabled());
    EXPECT_FALSE(Action(form, "Action_MusicPlay2")->isEnabled());
    EXPECT_TRUE(Action(form, "Action_MusicPlay")->isEnabled());
    EXPECT_TRUE(Action(form, "Action_FileOutputMidi")->isEnabled());
    // A disabled command's tool bar button is disabled with it.
    EXPECT_FALSE(ToolButton(form, "Action_EditCut")->isEnabled());
    EXPECT_TRUE(ToolButton(form, "Action_EditNewMunit")->isEnabled());
}

TEST_F(MainFormTest, CommandStatesFollowTheTabAndTheClipboard)
{
    TLyravaneMainForm& form = F.Create();
    form.TabControl1->setCurrentIndex(1);
    F.Clipboard.Data = QByteArray(256, '\0');
    Inside(form).RefreshCommandStates();
    EXPECT_TRUE(Action(form, "Action_EditCut")->isEnabled());
    EXPECT_TRUE(Action(form, "Action_EditCopy")->isEnabled());
    EXPECT_TRUE(Action(form, "Action_EditDelete")->isEnabled());
    EXPECT_TRUE(Action(form, "Action_EditPaste")->isEnabled());
    EXPECT_TRUE(Action(form, "Action_MusicPlay2")->isEnabled());

    // 48 tabs still take one more unit; 49 take none.
    ResizeSong(form, 48);
    Inside(form).RefreshCommandStates();
    EXPECT_TRUE(Action(form, "Action_EditNewMunit")->isEnabled());
    EXPECT_TRUE(Action(form, "Action_EditPaste")->isEnabled());
    ResizeSong(form, 49);
    Inside(form).RefreshCommandStates();
    EXPECT_EQ(form.TabControl1->count(), 49);
    EXPECT_FALSE(Action(form, "Action_EditNewMunit")->isEnabled());
    EXPECT_FALSE(Action(form, "Action_EditPaste")->isEnabled());
    // After a rebuild the first tab is current: nothing to cut or play alone.
    EXPECT_FALSE(Action(form, "Action_EditCut")->isEnabled());
    EXPECT_FALSE(Action(form, "Action_MusicPlay2")->isEnabled());
}

TEST_F(MainFormTest, MenusHoldTheCommandsInOrderWithImagesAndShortcuts)
{
    TLyravaneMainForm& form = F.Create();
    EXPECT_EQ(MenuTexts(Menu(form, "MenuEdit")),
              (std::vector<std::string>{"&Deshacer", "&Rehacer", "-", "Insertar", "C&orta",
                                        "&Copiar", "&Pegar", "&Borrar", "-", "Componer ca&nción"}));
    EXPECT_EQ(MenuTexts(Menu(form, "MenuMusic")),
              (std::vector<std::string>{
                  "Reproducir partitura", "&Reproducir cancion", "Reproducir desde &aquí", "&Parar",
                  "-", "Re&petir partitura", "&Claqueta", "&Metrónomo", "-", "Me&zclador...",
                  "&Vista de la canción", "Añadir &patrón...", "&Opciones..."}));
    EXPECT_EQ(MenuTexts(Menu(form, "MenuHelp")),
              (std::vector<std::string>{"&Contenido", "-", "&Acerca..."}));
    const std::vector<std::string> file = MenuTexts(Menu(form, "MenuFile"));
    ASSERT_EQ(file.size(), 16u);
    EXPECT_EQ(file.front(), "&Nuevo...");
    EXPECT_EQ(file[5], "Exportar a &MIDI...");
    EXPECT_EQ(file[6], "Exportar a au&dio...");
    EXPECT_EQ(file[7], "Exportar pis&tas de audio...");
    EXPECT_EQ(file[8], "Exportar &partitura (MusicXML)...");
    EXPECT_EQ(file.back(), "S&alir");

    EXPECT_EQ(Action(form, "Action_FileOpen")->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(Action(form, "Action_FileSaveAs")->shortcut(), QKeySequence(QStringLiteral("F12")));
    EXPECT_EQ(Action(form, "Action_MusicPlay2")->shortcut(), QKeySequence(QStringLiteral("F5")));
    EXPECT_FALSE(Action(form, "Action_FileNew")->icon().isNull());
    EXPECT_TRUE(Action(form, "Action_FileRevert")->icon().isNull());
    // The status bar shows the long part of a hint.
    QStatusTipEvent hint(QStringLiteral("corto|Salvar proyecto actual a disco."));
    QCoreApplication::sendEvent(&form, &hint);
    EXPECT_EQ(form.statusBar()->currentMessage().toStdString(), "Salvar proyecto actual a disco.");
    EXPECT_EQ(Action(form, "Action_FileSave")->statusTip().toStdString(),
              "Salvar proyecto actual a disco.");
}

TEST_F(MainFormTest, ToolBarButtonRunsItsCommand)
{
    TLyravaneMainForm& form = F.Create();
    TMenuButton* insert = ToolButton(form, "Action_EditNewMunit");
    ASSERT_NE(insert, nullptr);
    emit insert->Click();
    EXPECT_EQ(Song(form).Count(), 3);
    EXPECT_EQ(form.TabControl1->currentIndex(), 1);
}

TEST_F(MainFormTest, NewAsksOnlyForAChangedSongAndHonoursEachAnswer)
{
    TLyravaneMainForm& form = F.Create();
    Action(form, "Action_FileNew")->trigger();
    EXPECT_TRUE(F.MessageBoxes.Shown.empty());

    // Cancel keeps everything.
    Action(form, "Action_EditNewMunit")->trigger();
    ASSERT_TRUE(Song(form).Modified);
    F.MessageBoxes.Answers = {TMsgResult::Cancel};
    Action(form, "Action_FileNew")->trigger();
    ASSERT_EQ(F.MessageBoxes.Shown.size(), 1u);
    EXPECT_EQ(F.MessageBoxes.Shown[0].Text.toStdString(), "Untitled has changed. Save now ? ");
    EXPECT_EQ(F.MessageBoxes.Shown[0].Buttons, TMsgButtons::YesNoCancel);
    EXPECT_EQ(F.MessageBoxes.Shown[0].Icon, TMsgIcon::Question);
    EXPECT_EQ(Song(form).Count(), 3);

    // Yes on a song without a name opens Save As; cancelling it abandons New.
    F.MessageBoxes.Answers = {TMsgResult::Yes};
    Action(form, "Action_FileNew")->trigger();
    ASSERT_EQ(F.FileDialogs.Requests.size(), 1u);
    EXPECT_TRUE(F.FileDialogs.Requests[0].Save);
    EXPECT_EQ(F.FileDialogs.Requests[0].Title.toStdString(), "Save As...      ");
    EXPECT_EQ(Song(form).Count(), 3);
    EXPECT_TRUE(Song(form).Modified);

    // No discards.
    F.MessageBoxes.Answers = {TMsgResult::No};
    Action(form, "Action_FileNew")->trigger();
    EXPECT_EQ(Song(form).Count(), 2);
    EXPECT_FALSE(Song(form).Modified);
    EXPECT_TRUE(form.Document().Untitled());

    // Yes with a file chosen saves first, then starts anew.
    Action(form, "Action_EditNewMunit")->trigger();
    const QString path = F.Path(QStringLiteral("kept.lvp"));
    F.MessageBoxes.Answers = {TMsgResult::Yes};
    F.FileDialogs.Answers = {path};
    Action(form, "Action_FileNew")->trigger();
    TMusicProject saved;
    saved.LoadFromFile(path.toStdString());
    EXPECT_EQ(saved.Count(), 3);
    EXPECT_EQ(Song(form).Count(), 2);
    EXPECT_EQ(Caption(form), "Lyravane 1999 - [Untitled]");
}

TEST_F(MainFormTest, OpenChoosesTheFileBeforeThePromptAndShowsTheSong)
{
    const QString path = F.WriteSong(QStringLiteral("song.lvp"), 3);
    TLyravaneMainForm& form = F.Create();

    // Cancelling the dialog asks nothing.
    Touch(form);
    Action(form, "Action_FileOpen")->trigger();
    EXPECT_EQ(F.FileDialogs.Requests.size(), 1u);
    EXPECT_EQ(F.FileDialogs.Requests[0].Title.toStdString(), "Open");
    EXPECT_EQ(F.FileDialogs.Requests[0].Filter.toStdString(), " Lyravane file (*.lvp)|*.lvp|");
    EXPECT_TRUE(F.MessageBoxes.Shown.empty());

    F.FileDialogs.Answers = {path};
    F.MessageBoxes.Answers = {TMsgResult::No};
    form.TabControl1->setCurrentIndex(1);
    Action(form, "Action_FileOpen")->trigger();
    ASSERT_EQ(F.MessageBoxes.Shown.size(), 1u);
    EXPECT_EQ(Caption(form), "Lyravane 1999 - [song.lvp]");
    EXPECT_EQ(F.TabTexts(), (std::vector<std::string>{"Composition", "Ptn.1", "Ptn.2"}));
    EXPECT_EQ(form.TabControl1->currentIndex(), 0);
    EXPECT_FALSE(PropertyPage(form)->isHidden());
    EXPECT_TRUE(BarEditor(form)->isHidden());
    EXPECT_FALSE(form.Document().Untitled());
    EXPECT_FALSE(Song(form).Modified);
    EXPECT_EQ(QString::fromStdString(Song(form).FileName), path);
    EXPECT_EQ(Inside(form).History->FileAt(0), path);
    Inside(form).RefreshCommandStates();
    EXPECT_TRUE(Action(form, "Action_FileRevert")->isEnabled());
}

TEST_F(MainFormTest, BadFilesLeaveTheSongTabsAndCaptionAlone)
{
    TLyravaneMainForm& form = F.Create();
    Action(form, "Action_EditNewMunit")->trigger();
    form.Document().History().MarkSaved();
    const QString good = F.WriteSong(QStringLiteral("good.lvp"), 2);
    QByteArray truncated = QByteArray::fromStdString(ReadWholeFile(good.toStdString()));
    truncated.chop(10);
    const QString fifo = F.Path(QStringLiteral("fifo.lvp"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);

    struct TCase
    {
        QString Path;
        QString Message;
        QString Reason;
    };
    const TCase cases[] = {
        {F.Path(QStringLiteral("missing.lvp")), CannotOpen, "No such file or directory"},
        {F.WriteBytes(QStringLiteral("notes.txt"), "just some text, no project here"),
         InvalidFormat, "the data ends early"},
        {F.WriteBytes(QStringLiteral("short.lvp"), truncated), InvalidFormat,
         "the data ends early"},
        {F.WriteBytes(QStringLiteral("empty.lvp"), QByteArray()), InvalidFormat,
         "the data ends early"},
        {F.Dir.path(), CannotOpen, "Is a directory"},
        {fifo, CannotOpen, "Not a regular file"},
    };
    for (const TCase& c : cases)
    {
        SCOPED_TRACE(c.Path.toStdString());
        Inside(form).History->AddFile(c.Path);
        F.MessageBoxes.Shown.clear();
        Inside(form).OpenProjectFile(c.Path);
        ASSERT_EQ(F.MessageBoxes.Shown.size(), 1u);
        EXPECT_EQ(F.MessageBoxes.Shown[0].Text, c.Message.arg(QFileInfo(c.Path).fileName()));
        EXPECT_EQ(F.MessageBoxes.Shown[0].Icon, TMsgIcon::Error);
        // The details say which file and what was wrong with it.
        const QString& details = F.MessageBoxes.Shown[0].Details;
        EXPECT_TRUE(details.contains(c.Path) && details.contains(c.Reason))
            << details.toStdString();
        EXPECT_EQ(Song(form).Count(), 3);
        EXPECT_EQ(F.TabTexts().size(), 3u);
        EXPECT_EQ(Caption(form), "Lyravane 1999 - [Untitled]");
        EXPECT_TRUE(form.Document().Untitled());
        EXPECT_EQ(Inside(form).History->Count(), 0) << "the failing path leaves the recent files";
    }
}

TEST_F(MainFormTest, SaveWritesThroughTheNameOrAsksForOne)
{
    TLyravaneMainForm& form = F.Create();
    const QString path = F.Path(QStringLiteral("first.lvp"));
    F.FileDialogs.Answers = {path};
    Action(form, "Action_EditNewMunit")->trigger();
    Action(form, "Action_FileSave")->trigger();
    ASSERT_EQ(F.FileDialogs.Requests.size(), 1u);
    EXPECT_TRUE(F.FileDialogs.Requests[0].FileName.isEmpty());
    EXPECT_EQ(F.FileDialogs.Requests[0].DefaultExt.toStdString(), "lvp");
    EXPECT_FALSE(Song(form).Modified);
    EXPECT_FALSE(form.Document().Untitled());
    EXPECT_EQ(Caption(form), "Lyravane 1999 - [first.lvp]");
    EXPECT_EQ(Inside(form).OpenDialog.FileName, path);

    // With a name, Save asks nothing.
    Action(form, "Action_EditNewMunit")->trigger();
    Action(form, "Action_FileSave")->trigger();
    EXPECT_EQ(F.FileDialogs.Requests.size(), 1u);
    TMusicProject saved;
    saved.LoadFromFile(path.toStdString());
    EXPECT_EQ(saved.Count(), 4);

    // Save As proposes the current name.
    Action(form, "Action_FileSaveAs")->trigger();
    ASSERT_EQ(F.FileDialogs.Requests.size(), 2u);
    EXPECT_EQ(F.FileDialogs.Requests[1].FileName, path);
}

TEST_F(MainFormTest, FailedSaveKeepsTheOldFileAndTheModifiedFlag)
{
    TLyravaneMainForm& form = F.Create();
    const QString blocked = F.Path(QStringLiteral("no-such-dir/song.lvp"));
    F.FileDialogs.Answers = {blocked};
    Action(form, "Action_EditNewMunit")->trigger();
    Action(form, "Action_FileSaveAs")->trigger();
    ASSERT_EQ(F.MessageBoxes.Shown.size(), 1u);
    EXPECT_EQ(F.MessageBoxes.Shown[0].Text, CannotWrite.arg(QStringLiteral("song.lvp")));
    EXPECT_TRUE(Song(form).Modified);
    EXPECT_TRUE(form.Document().Untitled());
    EXPECT_TRUE(Song(form).FileName.empty());

    // A prompt after a failed save still sees the changes, and the action that asked stops.
    F.MessageBoxes.Answers = {TMsgResult::Yes};
    F.FileDialogs.Answers = {blocked};
    Action(form, "Action_FileNew")->trigger();
    EXPECT_EQ(Song(form).Count(), 3);
}

TEST_F(MainFormTest, OpeningASongWhosePatternIsMissingSaysWhichPart)
{
    TMusicProject song;
    song.LoadFromFile(F.WriteSong(QStringLiteral("tune.lvp"), 1).toStdString());
    song.PropertyAt(0)->PatternNames[2] = "Nadie";
    song.SaveToFile(F.Path(QStringLiteral("tune.lvp")).toStdString());
    TLyravaneMainForm& form = F.Create();
    Inside(form).OpenProjectFile(F.Path(QStringLiteral("tune.lvp")));
    EXPECT_EQ(form.statusBar()->currentMessage(),
              QStringLiteral("No se encuentra el patrón «Nadie» (Bajo): esa parte no sonará."));
}

TEST_F(MainFormTest, RevertAsksEvenWithoutChangesAndReopensTheLastFile)
{
    const QString path = F.WriteSong(QStringLiteral("tune.lvp"), 2);
    TLyravaneMainForm& form = F.Create();
    Inside(form).OpenProjectFile(path);
    Action(form, "Action_EditNewMunit")->trigger();

    F.MessageBoxes.Answers = {TMsgResult::No};
    Action(form, "Action_FileRevert")->trigger();
    ASSERT_EQ(F.MessageBoxes.Shown.size(), 1u);
    EXPECT_EQ(F.MessageBoxes.Shown[0].Text,
              QStringLiteral("変更をすべて破棄します。よろしいですか？"));
    EXPECT_EQ(F.MessageBoxes.Shown[0].Buttons, TMsgButtons::YesNo);
    EXPECT_EQ(F.MessageBoxes.Shown[0].Icon, TMsgIcon::Exclamation);
    EXPECT_EQ(Song(form).Count(), 3);

    F.MessageBoxes.Answers = {TMsgResult::Yes};
    Action(form, "Action_FileRevert")->trigger();
    EXPECT_EQ(Song(form).Count(), 2);
    EXPECT_FALSE(Song(form).Modified);

    // A file chosen in the Open dialog but never opened is not what Revert reopens.
    const QString other = F.WriteSong(QStringLiteral("other.lvp"), 4);
    Action(form, "Action_EditNewMunit")->trigger();
    F.FileDialogs.Answers = {other};
    F.MessageBoxes.Answers = {TMsgResult::Cancel};
    Action(form, "Action_FileOpen")->trigger();
    EXPECT_EQ(Inside(form).OpenDialog.FileName, path);

    F.MessageBoxes.Answers = {TMsgResult::No};
    Action(form, "Action_FileNew")->trigger();
    Inside(form).RefreshCommandStates();
    EXPECT_FALSE(Action(form, "Action_FileRevert")->isEnabled());
}

TEST_F(MainFormTest, RecentFilesOpenAndForgetMissingFiles)
{
    TLyravaneMainForm& form = F.Create();
    QStringList paths;
    for (int i = 1; i <= 5; ++i)
        paths << F.WriteSong(QStringLiteral("s%1.lvp").arg(i), i);
    for (const QString& path : paths)
        Inside(form).OpenProjectFile(path);
    EXPECT_EQ(Inside(form).History->Files, (QStringList{paths[4], paths[3], paths[2], paths[1]}));
    EXPECT_TRUE(Action(form, "Action_RecentFile4")->isVisible());
    EXPECT_TRUE(Action(form, "Action_RecentFile1")->text().startsWith(QStringLiteral("&1 ")));
    EXPECT_TRUE(Action(form, "Action_RecentFile1")->text().endsWith(QStringLiteral("s5.lvp")));

    Action(form, "Action_RecentFile3")->trigger(); // s3.lvp
    EXPECT_EQ(Song(form).Count(), 3);
    EXPECT_EQ(Inside(form).History->FileAt(0), paths[2]);

    QFile::remove(paths[1]);
    Action(form, "Action_RecentFile4")->trigger();
    ASSERT_EQ(F.MessageBoxes.Shown.size(), 1u);
    EXPECT_EQ(F.MessageBoxes.Shown[0].Text, CannotOpen.arg(QStringLiteral("s2.lvp")));
    EXPECT_EQ(Inside(form).History->Count(), 3);
    EXPECT_FALSE(Action(form, "Action_RecentFile4")->isVisible());
    EXPECT_EQ(Song(form).Count(), 3);
}

TEST_F(MainFormTest, DroppedFilesOpenOnlyTheFirst)
{
    const QString first = F.WriteSong(QStringLiteral("drop1.lvp"), 3);
    const QString second = F.WriteSong(QStringLiteral("drop2.lvp"), 5);
    TLyravaneMainForm& form = F.Create();
    Inside(form).DropFiles({ToFsPath(first), ToFsPath(second)});
    EXPECT_EQ(Caption(form), "Lyravane 1999 - [drop1.lvp]");
    EXPECT_EQ(Song(form).Count(), 3);
    EXPECT_EQ(Inside(form).History->Count(), 1);

    // Through the window's own drop handling: the song opens once the drop has ended.
    auto* mime = new QMimeData;
    mime->setUrls({QUrl::fromLocalFile(second), QUrl::fromLocalFile(first)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &drop);
    QCoreApplication::processEvents();
    EXPECT_EQ(Caption(form), "Lyravane 1999 - [drop2.lvp]");
    EXPECT_EQ(Song(form).Count(), 5);
    delete mime;

    // A dropped directory is a file that cannot be opened.
    Inside(form).DropFiles({ToFsPath(F.Dir.path())});
    ASSERT_EQ(F.MessageBoxes.Shown.size(), 1u);
    EXPECT_EQ(F.MessageBoxes.Shown[0].Text, CannotOpen.arg(QDir(F.Dir.path()).dirName()));
    EXPECT_EQ(Caption(form), "Lyravane 1999 - [drop2.lvp]");
}

TEST_F(MainFormTest, CommandLineProjectOpensWhenTheWindowFirstShows)
{
    const QString path = F.WriteSong(QStringLiteral("arg.lvp"), 4);
    TLyravaneMainForm& form = F.Create({path});
    Inside(form).FormShow();
    EXPECT_EQ(Caption(form), "Lyravane 1999 - [arg.lvp]");
    EXPECT_EQ(Song(form).Count(), 4);
    EXPECT_TRUE(F.MessageBoxes.Shown.empty());

    TLyravaneMainForm& missing = F.Create({F.Path(QStringLiteral("gone.lvp"))});
    Inside(missing).FormShow();
    ASSERT_EQ(F.MessageBoxes.Shown.size(), 1u);
    EXPECT_EQ(F.MessageBoxes.Shown[0].Text, CannotOpen.arg(QStringLiteral("gone.lvp")));
    EXPECT_EQ(Caption(missing), "Lyravane 1999 - [Untitled]");
    EXPECT_EQ(Song(missing).Count(), 2);
}

TEST_F(MainFormTest, ANameThatIsNotUtf8OpensFromTheCommandLineAndFromADrop)
{
    const QString good = F.WriteSong(QStringLiteral("good.lvp"), 4);
    const QByteArray dir = QFile::encodeName(F.Dir.path());
    const std::string raw = dir.toStdString() + "/caf\xE9.lvp"; // a Latin-1 name
    ASSERT_EQ(std::rename(QFile::encodeName(good).constData(), raw.c_str()), 0);
    // Qt cannot name this file to remove it with the test's folder.
    struct TRemoveAtEnd
    {
        std::string Path;
        ~TRemoveAtEnd() { std::remove(Path.c_str()); }
    } cleanup{raw};

    TLyravaneMainForm& form = F.CreateRaw({raw});
    Inside(form).FormShow();
    EXPECT_TRUE(F.MessageBoxes.Shown.empty());
    EXPECT_EQ(Song(form).Count(), 4);
    EXPECT_EQ(Song(form).FileName, raw);

    // A drop names it by a URL, the byte percent-encoded.
    EXPECT_EQ(LocalFsPath(QUrl::fromEncoded("file://" + dir + "/caf%E9.lvp")), raw);
}

TEST_F(MainFormTest, ClosingWithChangesAsksAndCancelKeepsTheWindowOpen)
{
    TLyravaneMainForm& form = F.Create();
    form.show();
    EXPECT_TRUE(form.close());
    EXPECT_TRUE(F.MessageBoxes.Shown.empty());
    EXPECT_FALSE(form.isVisible());

    form.show();
    Touch(form);
    F.MessageBoxes.Answers = {TMsgResult::Cancel};
    EXPECT_FALSE(form.close());
    EXPECT_TRUE(form.isVisible());
    ASSERT_EQ(F.MessageBoxes.Shown.size(), 1u);

    F.MessageBoxes.Answers = {TMsgResult::No};
    Action(form, "Action_FileExit")->trigger();
    EXPECT_FALSE(form.isVisible());
}

TEST_F(MainFormTest, GuardedCommandsWaitWhileAControlHoldsTheMouse)
{
    TLyravaneMainForm& form = F.Create();
    form.show();
    PagePanel(form)->grabMouse();
    Action(form, "Action_FileOpen")->trigger();
    Action(form, "Action_FileSaveAs")->trigger();
    Action(form, "Action_FileOutputMidi")->trigger();
    Action(form, "Action_FileExit")->trigger();
    EXPECT_TRUE(F.FileDialogs.Requests.empty());
    EXPECT_TRUE(form.isVisible());
    // New and the editing commands have no such guard.
    Action(form, "Action_EditNewMunit")->trigger();
    EXPECT_EQ(Song(form).Count(), 3);
    PagePanel(form)->releaseMouse();
    Action(form, "Action_FileOpen")->trigger();
    EXPECT_EQ(F.FileDialogs.Requests.size(), 1u);
}

TEST_F(MainFormTest, PlayCommandsRenderToTheTemporaryFileAndPlayIt)
{
    TLyravaneMainForm& form = F.Create();
    const std::string temp = F.Services.TempMidiFile;
    Action(form, "Action_MusicPlay")->trigger();
    EXPECT_EQ(F.Player.Calls,
              (std::vector<std::string>{"Close", "SetFileName:" + temp, "Open", "Play"}));
    ASSERT_GE(F.Player.OpenedBytes.size(), 14u);
    EXPECT_EQ(F.Player.OpenedBytes.substr(0, 4), "MThd");
    const std::string once = F.Player.OpenedBytes;
    Inside(form).RepeatCount = 2;
    Action(form, "Action_MusicPlay")->trigger();
    EXPECT_GT(F.Player.OpenedBytes.size(), once.size());

    // The unit alone: the repeat count does not apply to it.
    form.TabControl1->setCurrentIndex(1);
    F.Player.Calls.clear();
    Action(form, "Action_MusicPlay2")->trigger();
    EXPECT_EQ(F.Player.Calls.size(), 4u);
    const std::string unitTwice = F.Player.OpenedBytes;
    Inside(form).RepeatCount = 1;
    Action(form, "Action_MusicPlay2")->trigger();
    EXPECT_EQ(F.Player.OpenedBytes, unitTwice);

    // Nothing to play alone on the properties tab, even run before its state has caught up.
    form.TabControl1->setCurrentIndex(0);
    F.Player.Calls.clear();
    Action(form, "Action_MusicPlay2")->setEnabled(true);
    Action(form, "Action_MusicPlay2")->trigger();
    EXPECT_TRUE(F.Player.Calls.empty());

    F.Player.Calls.clear();
    Action(form, "Action_MusicStop")->trigger();
    EXPECT_EQ(F.Player.Calls, (std::vector<std::string>{"Close"}));

    // A player failure is shown and the program goes on.
    F.Player.FailOpen = true;
    Action(form, "Action_MusicPlay")->trigger();
    ASSERT_EQ(F.MessageBoxes.Shown.size(), 1u);
    EXPECT_EQ(F.MessageBoxes.Shown[0].Text.toStdString(), "No hay salida de sonido");
}

TEST_F(MainFormTest, StopIsEnabledOnlyWhileSomethingPlays)
{
    TLyravaneMainForm& form = F.Create();
    QAction* stop = Action(form, "Action_MusicStop");
    EXPECT_FALSE(stop->isEnabled());
    Action(form, "Action_MusicPlay")->trigger();
    EXPECT_TRUE(stop->isEnabled());
    Action(form, "Action_MusicStop")->trigger();
    EXPECT_FALSE(stop->isEnabled());

    // A play that ends by itself, and one the window did not start (a pattern preview).
    form.TabControl1->setCurrentIndex(1);
    Action(form, "Action_MusicPlay2")->trigger();
    EXPECT_TRUE(stop->isEnabled());
    F.Player.IsPlaying = false;
    EXPECT_TRUE(QTest::qWaitFor([stop] { return !stop->isEnabled(); }, 2000));
    F.Player.Play();
    EXPECT_TRUE(QTest::qWaitFor([stop] { return stop->isEnabled(); }, 2000));
}

TEST_F(MainFormTest, ExportProposesTheSongNameAsMidiAndWritesTheFile)
{
    TLyravaneMainForm& form = F.Create();
    Action(form, "Action_FileOutputMidi")->trigger();
    ASSERT_EQ(F.FileDialogs.Requests.size(), 1u);
    EXPECT_TRUE(F.FileDialogs.Requests[0].FileName.isEmpty());
    EXPECT_EQ(F.FileDialogs.Requests[0].Title.toStdString(), "Export to MIDI  ");
    EXPECT_EQ(F.FileDialogs.Requests[0].DefaultExt.toStdString(), "mid");

    Inside(form).SaveProjectFile(F.Path(QStringLiteral("tune.lvp")));
    const QString midi = F.Path(QStringLiteral("out.mid"));
    F.FileDialogs.Answers = {midi};
    F.Player.Calls.clear();
    Action(form, "Action_FileOutputMidi")->trigger();
    ASSERT_EQ(F.FileDialogs.Requests.size(), 2u);
    EXPECT_EQ(F.FileDialogs.Requests[1].FileName, F.Path(QStringLiteral("tune.mid")))
        << "in the song's folder";
    EXPECT_EQ(ReadWholeFile(midi.toStdString()).substr(0, 4), "MThd");
    EXPECT_TRUE(F.Player.Calls.empty()) << "export leaves the player alone";
}

TEST_F(MainFormTest, SaveAndExportAreConfirmedInTheStatusBarForAFewSeconds)
{
    const int programs = TMainFormServices().ConfirmationMilliseconds;
    EXPECT_GE(programs, 2000);
    EXPECT_LE(programs, 6000);
    // The test does not sit out the program's seconds.
    F.Services.ConfirmationMilliseconds = 50;
    TLyravaneMainForm& form = F.Create();
    QStatusBar* status = form.statusBar();
    F.FileDialogs.Answers = {F.Path(QStringLiteral("no-such-dir/cancion1.lvp"))};
    Action(form, "Action_FileSaveAs")->trigger();
    EXPECT_TRUE(status->currentMessage().isEmpty()) << "a failed save confirms nothing";

    F.FileDialogs.Answers = {F.Path(QStringLiteral("cancion1.lvp")),
                             F.Path(QStringLiteral("cancion1.mid"))};
    Action(form, "Action_FileSaveAs")->trigger();
    EXPECT_EQ(status->currentMessage().toStdString(), "Guardado: cancion1.lvp");
    Action(form, "Action_FileOutputMidi")->trigger();
    EXPECT_EQ(status->currentMessage().toStdString(), "Exportado: cancion1.mid");
    // The confirmation goes by itself.
    EXPECT_TRUE(QTest::qWaitFor([status] { return status->currentMessage().isEmpty(); }, 6000));
}

TEST_F(MainFormTest, PlayerIsPrimedWithGmSystemOnOnceItIsReady)
{
    bool ready = false;
    F.Services.PlayerReady = [&ready] { return ready; };
    TLyravaneMainForm& form = F.Create();
    Inside(form).FormShow();
    EXPECT_TRUE(F.Player.Calls.empty()) << "the window never waits for the SoundFont";
    ready = true;
    for (int wait = 0; wait < 300 && F.Player.Calls.size() < 4; ++wait)
        QTest::qWait(10);
    ASSERT_EQ(F.Player.Calls.size(), 4u);
    EXPECT_EQ(F.Player.Calls.back(), "Play");
    EXPECT_NE(F.Player.OpenedBytes.find(std::string("\xF0\x05\x7E\x7F\x09\x01\xF7", 7)),
              std::string::npos);
}

TEST_F(MainFormTest, SettingsAreReadWithTheirDefaultsAndWrittenBack)
{
    const auto reopen = [&](const QVariant& count, const QVariant& reset)
    {
        F.Destroy();
        QFile::remove(F.Services.SettingsPath);
        {
            QSettings settings(F.Services.SettingsPath, QSettings::IniFormat);
            if (count.isValid())
                settings.setValue(QStringLiteral("RepeatCount"), count);
            if (reset.isValid())
                settings.setValue(QStringLiteral("IncludeReset"), reset);
        }
        TLyravaneMainForm& form = F.Create();
        return std::pair(Inside(form).RepeatCount, Inside(form).IncludeReset);
    };
    EXPECT_EQ(reopen({}, {}), std::pair(1, false));
    EXPECT_EQ(reopen(0, true), std::pair(1, true));
    EXPECT_EQ(reopen(5, false), std::pair(1, false));
    EXPECT_EQ(reopen(-1, true), std::pair(1, true));
    EXPECT_EQ(reopen(4, true), std::pair(4, true));
    // A value of the wrong type stops the reading: what follows it keeps its default.
    EXPECT_EQ(reopen(QStringLiteral("drei"), true), std::pair(1, false));

    Inside(F.form()).RepeatCount = 3;
    Inside(F.form()).IncludeReset = true;
    F.Destroy();
    QSettings settings(F.Services.SettingsPath, QSettings::IniFormat);
    EXPECT_EQ(settings.value(QStringLiteral("RepeatCount")).toInt(), 3);
    EXPECT_TRUE(settings.value(QStringLiteral("IncludeReset")).toBool());
}

TEST_F(MainFormTest, WindowKeepsItsFixedSizeAndItsPlacementAcrossRuns)
{
    TLyravaneMainForm& form = F.Create();
    form.ShowWindow();
    EXPECT_EQ(form.frameGeometry().size(), QSize(640, 452));
    form.move(120, 90);
    F.Destroy();
    QSettings settings(F.Services.SettingsPath, QSettings::IniFormat);
    EXPECT_EQ(settings.value(QStringLiteral("LyravaneMainForm_Placement")).toByteArray().size(),
              44);

    TLyravaneMainForm& again = F.Create();
    again.ShowWindow();
    EXPECT_EQ(again.frameGeometry().topLeft(), QPoint(120, 90));
    EXPECT_EQ(again.frameGeometry().size(), QSize(640, 452));
    F.Destroy();

    // A position stored on a larger screen is pulled back onto this one.
    TWindowPlacement far;
    far.Left = 5000;
    far.Top = 4000;
    far.Right = far.Left + 640;
    far.Bottom = far.Top + 452;
    QSettings(F.Services.SettingsPath, QSettings::IniFormat)
        .setValue(QStringLiteral("LyravaneMainForm_Placement"), far.ToBytes());
    TLyravaneMainForm& pulled = F.Create();
    pulled.ShowWindow();
    EXPECT_TRUE(ScreenWorkArea(&pulled).contains(pulled.frameGeometry()))
        << pulled.frameGeometry().x() << "," << pulled.frameGeometry().y();
}

TEST_F(MainFormTest, AboutBoxShowsTheVersionAndClosesWithOk)
{
    TLyravaneMainForm& form = F.Create();
    form.show();
    QString version;
    QString title;
    QTimer::singleShot(0, &form,
                       [&]
                       {
                           auto* about =
                               qobject_cast<TFormAbout*>(QApplication::activeModalWidget());
                           if (about == nullptr)
                               return;
                           version = about->Version->text();
                           title = about->windowTitle();
                           about->OkButton->click();
                       });
    Action(form, "Action_HelpAbout")->trigger();
    EXPECT_EQ(version.toStdString(), "Lyravane 1999 Version 1.22");
    EXPECT_EQ(title.toStdString(), "Lyravane 1999 - Informacion de Version");
}

TEST_F(MainFormTest, OptionsDialogChangesTheSettingsOnlyOnOk)
{
    TLyravaneMainForm& form = F.Create();
    form.show();
    Inside(form).RepeatCount = 3;
    Inside(form).IncludeReset = false;

    const auto runDialog = [&](const std::function<void(TFormOption&)>& act)
    {
        bool seen = false;
        QTimer::singleShot(0, &form,
                           [&]
                           {
                               auto* dialog =
                                   qobject_cast<TFormOption*>(QApplication::activeModalWidget());
                               if (dialog == nullptr)
                                   return;
                               seen = true;
                               act(*dialog);
                           });
        Action(form, "Action_MusicOption")->trigger();
        return seen;
    };

    // The dialog shows the current values; Cancel changes nothing.
    bool showedThree = false;
    bool showedExcluded = false;
    EXPECT_TRUE(runDialog(
        [&](TFormOption& dialog)
        {
            showedThree = dialog.RadioButtons[2]->isChecked();
            showedExcluded = dialog.RadioButton6->isChecked();
            dialog.RadioButtons[1]->setChecked(true);
            dialog.RadioButton5->setChecked(true);
            dialog.ButtonCancel->click();
        }));
    EXPECT_TRUE(showedThree);
    EXPECT_TRUE(showedExcluded);
    EXPECT_EQ(Inside(form).RepeatCount, 3);
    EXPECT_FALSE(Inside(form).IncludeReset);

    // The close box counts as Cancel.
    EXPECT_TRUE(runDialog(
        [](TFormOption& dialog)
        {
            dialog.RadioButtons[1]->setChecked(true);
            dialog.close();
        }));
    EXPECT_EQ(Inside(form).RepeatCount, 3);

    EXPECT_TRUE(runDialog(
        [](TFormOption& dialog)
        {
            dialog.RadioButtons[1]->setChecked(true);
            dialog.RadioButton5->setChecked(true);
            EXPECT_FALSE(dialog.CheckTrackNames->isChecked());
            dialog.CheckTrackNames->setChecked(true);
            dialog.ButtonOk->click();
        }));
    EXPECT_EQ(Inside(form).RepeatCount, 2);
    EXPECT_TRUE(Inside(form).IncludeReset);
    EXPECT_TRUE(Inside(form).MidiTrackNames);
}

TEST_F(MainFormTest, HelpOpensTheSpanishHelpInItsWindow)
{
    TLyravaneMainForm& form = F.Create();
    Action(form, "Action_HelpContents")->trigger();
    const TFormHelp* help = form.findChild<TFormHelp*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->Browser->toPlainText().contains(QStringLiteral("Ayuda")));
    EXPECT_TRUE(F.MessageBoxes.Shown.empty());

    F.Services.HelpFile = F.Path(QStringLiteral("nohelp.html"));
    TLyravaneMainForm& other = F.Create();
    Action(other, "Action_HelpContents")->trigger();
    EXPECT_EQ(F.MessageBoxes.Shown.size(), 1u);
}

TEST_F(MainFormTest, TheProgramsOwnPagesFollowTheTabs)
{
    F.Services.CreatePropertyPage = nullptr;
    F.Services.CreateUnitPage = nullptr;
    TLyravaneMainForm& form = F.Create();
    form.show();
    Inside(form).FormShow();
    EXPECT_FALSE(PropertyPage(form)->isHidden());
    EXPECT_EQ(form.findChild<QWidget*>(QStringLiteral("FormMusicMeasures")), nullptr)
        << "made when a unit is first shown";
    form.TabControl1->setCurrentIndex(1);
    EXPECT_TRUE(PropertyPage(form)->isHidden());
    EXPECT_FALSE(BarEditor(form)->isHidden());
    EXPECT_FALSE(Song(form).Modified) << "showing an entry never marks the song modified";
    // The pages sit at (-4, -4) of the page panel, so their own border is not seen.
    EXPECT_EQ(BarEditor(form)->pos(), QPoint(-4, -4));
    EXPECT_EQ(BarEditor(form)->width(), PagePanel(form)->width() + 8);
}
