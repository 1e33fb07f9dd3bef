// The main window's file commands: new, open, revert, save, export to MIDI, recent files and
// dropped files; the recovery file of a song with unsaved changes.
#include "ui/mainform/LyravaneMainForm.h"

#include "base/Exceptions.h"
#include "base/FileIO.h"
#include "midi/MidiData.h"
#include "render/RenderSong.h"
#include "render/TrackNames.h"
#include "ui/OpenFileHistory.h"
#include "ui/WindowUtils.h"
#include "ui/editor/SongPages.h"
#include "ui/mainform/ExportRunner.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QUrl>

#include <cstdio>

namespace
{
// The file messages are shown as they stand, in Japanese, unless a translation says otherwise.
constexpr const char* MsgCannotOpen =
    QT_TRANSLATE_NOOP("TLyravaneMainForm", "ファイル '%s' がオープンできませんでした。");
constexpr const char* MsgInvalidFormat =
    QT_TRANSLATE_NOOP("TLyravaneMainForm", "ファイル '%s' は有効な形式ではありません。");
constexpr const char* MsgCannotWrite =
    QT_TRANSLATE_NOOP("TLyravaneMainForm", "ファイル '%s' への書き込みができませんでした。");
constexpr const char* MsgRevert =
    QT_TRANSLATE_NOOP("TLyravaneMainForm", "変更をすべて破棄します。よろしいですか？");
constexpr const char* MsgSaveChanges =
    QT_TRANSLATE_NOOP("TLyravaneMainForm", "%s has changed. Save now ? ");
// The song by its file's name ("Sin título" for a new one) and when its copy was made.
constexpr const char* MsgRecover = QT_TRANSLATE_NOOP(
    "TLyravaneMainForm", "Se encontró una copia sin guardar de «%1» (%2). ¿Desea recuperarla?");
constexpr const char* MsgRecoveryUnreadable = QT_TRANSLATE_NOOP(
    "TLyravaneMainForm", "No se pudo leer la canción sin guardar de una sesión anterior. "
                         "El archivo se ha guardado aparte en:\n%1");
// What the status bar confirms for a few seconds once a file has been written.
constexpr const char* MsgSaved = QT_TRANSLATE_NOOP("TLyravaneMainForm", "Guardado: %1");
constexpr const char* MsgPatternMissing = QT_TRANSLATE_NOOP(
    "TLyravaneMainForm", "No se encuentra el patrón «%1» (%2): esa parte no sonará.");
constexpr const char* MsgMorePatternsMissing =
    QT_TRANSLATE_NOOP("TLyravaneMainForm", " Faltan %1 patrones más.");

QString Format(QString pattern, const QString& name)
{
    return pattern.replace(QStringLiteral("%s"), name);
}

} // namespace

// --- File procedures ----------------------------------------------------------------------------

bool TLyravaneMainForm::QuerySaveChanges()
{
    if (!FDocument->Modified())
        return true;
    switch (ShowMessageBox(Format(tr(MsgSaveChanges), FDocument->DisplayName()), TMsgIcon::Question,
                           TMsgButtons::YesNoCancel))
    {
    case TMsgResult::No:
        FDocument->DiscardRecovery();
        return true;
    case TMsgResult::Yes:
        Action_FileSaveExecute();
        return !FDocument->Modified();
    default:
        return false;
    }
}

void TLyravaneMainForm::OpenProjectFile(const QString& path)
{
    OpenProjectFile(ToFsPath(path));
}

void TLyravaneMainForm::OpenProjectFile(const std::string& fsPath)
{
    // What the user sees of the name; the file is opened by its bytes.
    const QString path = FromFsPath(fsPath);
    QString failure;
    QString details;
    {
        TWaitCursor wait;
        try
        {
            FDocument->Open(fsPath);
        }
        catch (const EFOpenError& error)
        {
            failure = tr(MsgCannotOpen);
            details = ErrorDetails(error, true);
        }
        catch (const std::exception& error)
        {
            failure = tr(MsgInvalidFormat);
            details = ErrorDetails(error, true);
        }
    }
    if (!failure.isEmpty())
    {
        // The live song, its tabs and caption stay as they were.
        ShowErrorBox(Format(failure, FileNamePart(path)), details);
        History->RemoveFile(path);
        return;
    }
    History->AddFile(path);
    OpenDialog.FileName = path;
    ReportMissingPatterns();
    // What saves killed in the song's folder left behind.
    RemoveStaleTemporaryFiles(ToFsPath(QFileInfo(path).absolutePath()));
}

void TLyravaneMainForm::SaveProjectFile(const QString& path)
{
    try
    {
        const TWaitCursor wait;
        FDocument->Save(ToFsPath(path));
    }
    catch (const std::exception& error)
    {
        ShowErrorBox(Format(tr(MsgCannotWrite), FileNamePart(path)), ErrorDetails(error, true));
        return;
    }
    SetCaptionName(path);
    History->AddFile(path);
    OpenDialog.FileName = path;
    StatusBar1->showMessage(tr(MsgSaved).arg(FileNamePart(path)),
                            FServices.ConfirmationMilliseconds);
}

void TLyravaneMainForm::OfferRecovery()
{
    FDocument->OfferRecovery(
        [this](const QString& fileName, const QDateTime& madeAt)
        {
            const QString song = fileName.isEmpty() ? tr("Sin título") : FileNamePart(fileName);
            return ShowMessageBox(
                       tr(MsgRecover).arg(song, WhenText(madeAt, QDateTime::currentDateTime())),
                       TMsgIcon::Question, TMsgButtons::SiNo) == TMsgResult::Yes;
        },
        [this](const QString& aside)
        {
            ShowMessageBox(tr(MsgRecoveryUnreadable).arg(QDir::toNativeSeparators(aside)),
                           TMsgIcon::Exclamation, TMsgButtons::Ok);
        });
    if (!FDocument->Untitled())
        OpenDialog.FileName = FromFsPath(Project.FileName);
}

// --- File commands ------------------------------------------------------------------------------

void TLyravaneMainForm::Action_FileNewExecute()
{
    if (!QuerySaveChanges())
        return;
    FDocument->NewSong();
}

void TLyravaneMainForm::Action_FileOpenExecute()
{
    if (MouseCaptured())
        return;
    RefreshHover(Action_FileOpen);
    // The dialog keeps the last project opened or saved (Revert reopens it) until another
    // one has really been opened.
    const QString last = OpenDialog.FileName;
    if (!OpenDialog.Execute())
        return;
    const QString chosen = OpenDialog.FileName;
    OpenDialog.FileName = last;
    if (!QuerySaveChanges())
        return;
    OpenProjectFile(chosen);
    update();
}

void TLyravaneMainForm::Action_FileRevertExecute()
{
    if (MouseCaptured() || FDocument->Untitled())
        return;
    if (ShowMessageBox(tr(MsgRevert), TMsgIcon::Exclamation, TMsgButtons::YesNo) != TMsgResult::Yes)
        return;
    update();
    OpenProjectFile(OpenDialog.FileName);
}

void TLyravaneMainForm::Action_FileSaveExecute()
{
    if (MouseCaptured())
        return;
    RefreshHover(Action_FileSave);
    if (!Project.FileName.empty())
        SaveProjectFile(FromFsPath(Project.FileName));
    else
        Action_FileSaveAsExecute();
}

void TLyravaneMainForm::Action_FileSaveAsExecute()
{
    if (MouseCaptured())
        return;
    SaveAsDialog.FileName = FromFsPath(Project.FileName);
    if (!SaveAsDialog.Execute())
        return;
    update();
    SaveProjectFile(SaveAsDialog.FileName);
}

void TLyravaneMainForm::Action_FileOutputMidiExecute()
{
    if (MouseCaptured())
        return;
    RefreshHover(Action_FileOutputMidi);
    FExports->Run(ExportDialog, ProposedExportName(QStringLiteral(".mid")),
                  [this](const std::string& fsPath)
                  {
                      TMidiData midi;
                      RenderTabMidi(0, midi);
                      midi.SaveToFile(fsPath);
                  });
}

void TLyravaneMainForm::Action_FileExitExecute()
{
    if (MouseCaptured())
        return;
    close();
}

void TLyravaneMainForm::Action_RecentFileExecute(int tag)
{
    if (MouseCaptured())
        return;
    const QString path = History->FileAt(tag);
    if (path.isEmpty() || !QuerySaveChanges())
        return;
    OpenProjectFile(path);
}

void TLyravaneMainForm::DropFiles(const std::vector<std::string>& paths)
{
    if (paths.empty() || !QuerySaveChanges())
        return;
    OpenProjectFile(AbsoluteFsPath(paths.front()));
    update();
}

void TLyravaneMainForm::dragEnterEvent(QDragEnterEvent* event)
{
    // A tab dragged out of this window and brought back is no file to open.
    if (event->source() != nullptr)
        return;
    if (event->mimeData()->hasUrls())
        for (const QUrl& url : event->mimeData()->urls())
            if (url.isLocalFile())
            {
                event->acceptProposedAction();
                return;
            }
}

void TLyravaneMainForm::dropEvent(QDropEvent* event)
{
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths.push_back(LocalFsPath(url));
    event->acceptProposedAction();
    // The drop's source waits until this returns: open the file once it has let go.
    QTimer::singleShot(0, this,
                       [this, paths] { RunCommand([this, &paths] { DropFiles(paths); }); });
}

QString TLyravaneMainForm::SongBaseName() const
{
    return Project.FileName.empty() ? QString() : FileBaseName(FromFsPath(Project.FileName));
}

QString TLyravaneMainForm::ProposedExportName(const QString& extension) const
{
    const QString song = SongBaseName();
    return song.isEmpty() ? QString() : song + extension;
}

void TLyravaneMainForm::ReportMissingPatterns()
{
    const std::vector<TMissingPattern> missing = MissingPatterns(Project);
    for (const TMissingPattern& pattern : missing)
        std::fprintf(stderr, "lyravane: warning: %s\n", MissingPatternText(pattern).c_str());
    if (missing.empty())
        return;
    QString text = tr(MsgPatternMissing)
                       .arg(DisplayName(missing.front().Name),
                            QString::fromUtf8(PartName(missing.front().Track)));
    if (missing.size() > 1)
        text += tr(MsgMorePatternsMissing).arg(missing.size() - 1);
    StatusBar1->showMessage(text);
}
