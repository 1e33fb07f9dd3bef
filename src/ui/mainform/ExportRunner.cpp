#include "ui/mainform/ExportRunner.h"

#include "audio/AudioError.h"
#include "base/Exceptions.h"
#include "base/FileIO.h"
#include "base/StopSignals.h"
#include "model/MusicProject.h"
#include "ui/FileDialogs.h"
#include "ui/WindowUtils.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QFontMetrics>
#include <QProgressDialog>
#include <QStatusBar>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <exception>
#include <memory>

namespace
{
constexpr const char* MsgExported = QT_TRANSLATE_NOOP("TExportRunner", "Exportado: %1");
constexpr const char* MsgExportCancelled =
    QT_TRANSLATE_NOOP("TExportRunner", "Exportación cancelada");
constexpr const char* MsgExportOverSong = QT_TRANSLATE_NOOP(
    "TExportRunner", "«%1» es el archivo de la canción abierta. Elija otro nombre para exportar.");
constexpr const char* MsgExporting = QT_TRANSLATE_NOOP("TExportRunner", "Exportando %1...");
constexpr const char* MsgCancelling = QT_TRANSLATE_NOOP("TExportRunner", "Cancelando...");
constexpr int ProgressPollMilliseconds = 50;

/// What the worker thread hands back.
struct TExportJob
{
    std::atomic<int> Percent{0};
    std::atomic<bool> Cancel{false};
    bool Cancelled = false;
    std::exception_ptr Failure;
};

/// The progress dialog of a slow export.
std::unique_ptr<QProgressDialog> MakeProgressDialog(QWidget* owner, const QString& title,
                                                    const QString& name)
{
    auto progress = std::make_unique<QProgressDialog>(
        TExportRunner::tr(MsgExporting).arg(name),
        QCoreApplication::translate("TExportRunner", "Cancelar"), 0, 100, owner);
    progress->setObjectName(QStringLiteral("ExportProgress"));
    progress->setWindowTitle(title);
    // Wide enough that a window manager's title bar shows the title whole, beside its buttons.
    constexpr int TitleBarButtons = 120;
    progress->setMinimumWidth(std::max(
        progress->sizeHint().width(),
        QFontMetrics(progress->font()).horizontalAdvance(title) * 3 / 2 + TitleBarButtons));
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(0);
    progress->setAutoReset(false);
    progress->setAutoClose(false);
    progress->setValue(0);
    CenterOnOwner(progress.get());
    return progress;
}

/// Runs write on a worker thread behind progress, the window answering meanwhile; false when
/// it was cancelled. A failure is raised again here.
bool WriteOnWorker(QProgressDialog& progress, const std::string& fsPath,
                   const TExportRunner::TSlowWrite& write)
{
    TExportJob job;
    // While the file is written, Ctrl+C, SIGTERM and SIGHUP cancel it (nothing is left
    // beside the target) and then end the program as they would have.
    const TStopSignals stopSignals;
    std::unique_ptr<QThread> worker(QThread::create(
        [&job, &fsPath, &write]
        {
            try
            {
                write(fsPath,
                      [&job](double done)
                      {
                          job.Percent = static_cast<int>(done * 100);
                          return !job.Cancel;
                      });
            }
            catch (const ERenderCancelled&)
            {
                job.Cancelled = true;
            }
            catch (const EStopped&)
            {
                job.Cancelled = true; // a stop signal cut a write short
            }
            catch (...)
            {
                job.Failure = std::current_exception();
            }
        }));
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QObject::connect(&progress, &QProgressDialog::canceled, &loop,
                     [&]
                     {
                         job.Cancel = true;
                         progress.setLabelText(TExportRunner::tr(MsgCancelling));
                     });
    QTimer poll;
    poll.setInterval(ProgressPollMilliseconds);
    QObject::connect(&poll, &QTimer::timeout, &progress,
                     [&]
                     {
                         // Esc and the close box cancel too, without the signal, and so does
                         // a stop signal to the process.
                         if (progress.wasCanceled() || StopSignal() != 0)
                             job.Cancel = true;
                         else
                             progress.setValue(job.Percent);
                     });
    poll.start();
    worker->start();
    loop.exec();
    worker->wait();
    poll.stop();
    progress.close();
    if (job.Failure)
        std::rethrow_exception(job.Failure);
    return !job.Cancelled;
}
} // namespace

TExportRunner::TExportRunner(QWidget* owner, const TMusicProject& song, QStatusBar* status,
                             int confirmMilliseconds)
    : FOwner(owner), FSong(song), FStatus(status), FConfirmMilliseconds(confirmMilliseconds)
{
}

bool TExportRunner::Choose(TCenterSaveDialog& dialog, const QString& name)
{
    const QString song = FromFsPath(FSong.FileName);
    dialog.FileName =
        song.isEmpty() || name.isEmpty() ? name : QFileInfo(song).absoluteDir().filePath(name);
    if (!dialog.Execute())
        return false;
    if (!song.isEmpty() && SameFile(ToFsPath(dialog.FileName), FSong.FileName))
        throw ELyravaneError(
            tr(MsgExportOverSong).arg(FileNamePart(dialog.FileName)).toStdString());
    FOwner->update();
    return true;
}

void TExportRunner::Confirm(const QString& path)
{
    FStatus->showMessage(tr(MsgExported).arg(FileNamePart(path)), FConfirmMilliseconds);
}

bool TExportRunner::Run(TCenterSaveDialog& dialog, const QString& name, const TWrite& write)
{
    if (!Choose(dialog, name))
        return false;
    {
        TWaitCursor wait;
        write(ToFsPath(dialog.FileName));
    }
    Confirm(dialog.FileName);
    return true;
}

bool TExportRunner::RunWithProgress(TCenterSaveDialog& dialog, const QString& name,
                                    const QString& title,
                                    const std::function<TSlowWrite()>& prepare)
{
    if (!Choose(dialog, name))
        return false;
    const QString path = dialog.FileName;
    const TSlowWrite write = prepare();
    bool done = false;
    {
        const auto progress = MakeProgressDialog(FOwner, title, FileNamePart(path));
        done = WriteOnWorker(*progress, ToFsPath(path), write);
    }
    if (const int signal = StopSignal())
        std::raise(signal);
    if (done)
        Confirm(path);
    else
        FStatus->showMessage(tr(MsgExportCancelled), FConfirmMilliseconds);
    return done;
}
