// The main window's audio commands that need no player: "Exportar a audio..." (rendered on a
// worker thread behind a progress dialog) and the export and SoundFont options.
#include "ui/mainform/LyravaneMainForm.h"

#include "audio/AudioError.h"
#include "audio/OfflineRenderer.h"
#include "audio/Synthesizer.h"
#include "base/StopSignals.h"
#include "midi/MidiData.h"
#include "render/RenderSong.h"
#include "ui/FormOption.h"
#include "ui/Settings.h"
#include "ui/WindowUtils.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QStatusBar>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <csignal>
#include <exception>
#include <memory>

namespace
{
const QString MsgExportCancelled = QStringLiteral("Exportación cancelada");
const QString MsgExporting = QStringLiteral("Exportando %1...");
const QString MsgCancelling = QStringLiteral("Cancelando...");
const QString MsgSoundFontLoading = QStringLiteral("Cargando el SoundFont %1...");
const QString MsgSoundFontReady = QStringLiteral("SoundFont listo: %1");
const QString MsgSoundFontFailed =
    QStringLiteral("No se pudo cargar el SoundFont %1; se sigue usando %2.");
constexpr int ProgressPollMilliseconds = 50;
constexpr int SoundFontPollMilliseconds = 100;

/// What the worker thread hands back.
struct TExportJob
{
    std::atomic<int> Percent{0};
    std::atomic<bool> Cancel{false};
    bool Cancelled = false;
    std::exception_ptr Failure;
};

/// Renders on a worker thread behind a window-modal progress dialog, the window answering
/// meanwhile; false when the user cancelled. A failure is raised again here.
bool RenderWithProgress(QWidget* owner, const QString& name, const std::string& midiBytes,
                        const std::string& fsPath, const TRenderOptions& options,
                        const TSynthOptions& synthOptions)
{
    QProgressDialog progress(MsgExporting.arg(name), QStringLiteral("Cancelar"), 0, 100, owner);
    progress.setObjectName(QStringLiteral("ExportProgress"));
    progress.setWindowTitle(QStringLiteral("Exportar a audio"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    progress.setValue(0);
    CenterOnOwner(&progress);

    TExportJob job;
    // While the file is written, Ctrl+C, SIGTERM and SIGHUP cancel it (nothing is left
    // beside the target) and then end the program as they would have.
    const TStopSignals stopSignals;
    std::unique_ptr<QThread> worker(QThread::create(
        [&job, &midiBytes, &fsPath, &options, &synthOptions]
        {
            try
            {
                TSynthesizer synth(synthOptions);
                RenderMidiToFile(synth, midiBytes, fsPath, options,
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
                         progress.setLabelText(MsgCancelling);
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
    // The window goes on painting and answering while the song renders.
    loop.exec();
    worker->wait();
    poll.stop();
    progress.close();
    if (job.Failure)
        std::rethrow_exception(job.Failure);
    return !job.Cancelled;
}
} // namespace

void TLyravaneMainForm::Action_FileOutputAudioExecute()
{
    if (MouseCaptured())
        return;
    RefreshHover(Action_FileOutputAudio);
    if (!ChooseExportFile(AudioExportDialog, ProposedExportName(QStringLiteral(".wav"))))
        return;
    update();
    const QString path = AudioExportDialog.FileName;
    const std::string fsPath = ToFsPath(path);
    TRenderOptions options;
    options.Format = AudioFormatFromPath(fsPath).value_or(TAudioFormat::Wav);
    const TExportSettings settings = ReadExportSettings(FServices.SettingsPath);
    options.Normalize = settings.Normalize;
    options.Target.Lufs = settings.LoudnessLufs;
    // The same sequence as lyravane-cli render, through a synthesiser of the export's own:
    // the one playing in the window is left alone, and the same song gives the same bytes.
    TMidiData midi;
    RenderSong(Project, midi, RepeatCount, IncludeReset);
    const std::string midiBytes = midi.SaveToString();
    TSynthOptions synthOptions;
    synthOptions.SoundFont = ToFsPath(CurrentSoundFont());

    const bool done =
        RenderWithProgress(this, FileNamePart(path), midiBytes, fsPath, options, synthOptions);
    if (const int signal = StopSignal())
        std::raise(signal);
    if (done)
        ConfirmExported(path);
    else
        StatusBar1->showMessage(MsgExportCancelled, ConfirmationMilliseconds);
}

void TLyravaneMainForm::PrepareOptionDialog(TFormOption& dialog) const
{
    const TExportSettings settings = ReadExportSettings(FServices.SettingsPath);
    dialog.Normalize = settings.Normalize;
    dialog.LoudnessLufs = settings.LoudnessLufs;
    dialog.SoundFont = CurrentSoundFont();
    for (const std::string& path :
         InstalledSoundFonts({std::begin(SoundFontDirs), std::end(SoundFontDirs)}))
        dialog.InstalledSoundFonts << FromFsPath(path);
    dialog.FileDialogs = FServices.FileDialogs;
}

void TLyravaneMainForm::ApplyOptionDialog(const TFormOption& dialog)
{
    WriteExportSettings(FServices.SettingsPath, {dialog.Normalize, dialog.LoudnessLufs});
    if (dialog.SoundFont != CurrentSoundFont())
        ChangeSoundFont(dialog.SoundFont);
}

QString TLyravaneMainForm::CurrentSoundFont() const
{
    QString path = FServices.Synth ? FromFsPath(FServices.Synth->SoundFontPath())
                                   : ReadSoundFontSetting(FServices.SettingsPath);
    return path.isEmpty() ? QString::fromUtf8(DefaultSoundFont) : path;
}

void TLyravaneMainForm::ChangeSoundFont(const QString& path)
{
    const QString name = FileNamePart(path);
    if (FServices.Synth == nullptr)
    {
        WriteSoundFontSetting(FServices.SettingsPath, path);
        return;
    }
    const QString previous = FileNamePart(FromFsPath(FServices.Synth->SoundFontPath()));
    StatusBar1->showMessage(MsgSoundFontLoading.arg(name));
    const std::shared_future<void> loaded = FServices.Synth->ChangeSoundFont(ToFsPath(path));
    // The window never waits: a timer looks in until the load has ended.
    auto* poll = new QTimer(this);
    poll->setInterval(SoundFontPollMilliseconds);
    connect(poll, &QTimer::timeout, this,
            [this, poll, loaded, path, name, previous]
            {
                if (loaded.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
                    return;
                poll->deleteLater();
                poll->stop();
                try
                {
                    loaded.get();
                    WriteSoundFontSetting(FServices.SettingsPath, path);
                    StatusBar1->showMessage(MsgSoundFontReady.arg(name), ConfirmationMilliseconds);
                }
                catch (const std::exception& error)
                {
                    StatusBar1->clearMessage();
                    ShowErrorBox(MsgSoundFontFailed.arg(name, previous), ErrorText(error));
                }
            });
    poll->start();
}
