// The main window's audio commands that need no player: "Exportar a audio..." (rendered on a
// worker thread by the export runner), the export and SoundFont options, and the measuring of
// the song's loudness that brings playback to the export's.
#include "ui/mainform/LyravaneMainForm.h"

#include "audio/AudioError.h"
#include "audio/OfflineRenderer.h"
#include "audio/PlaybackLoudness.h"
#include "audio/Synthesizer.h"
#include "midi/MidiData.h"
#include "model/Muprop.h"
#include "render/RenderSong.h"
#include "ui/FormOption.h"
#include "ui/Settings.h"
#include "ui/Translations.h"
#include "ui/WindowUtils.h"
#include "ui/mainform/ExportRunner.h"

#include <QStatusBar>
#include <QTimer>

#include <cmath>

namespace
{
/// How long after the last change of the song its playback loudness is measured again.
constexpr int LoudnessDelayMilliseconds = 1500;
constexpr const char* MsgSoundFontLoading =
    QT_TRANSLATE_NOOP("TLyravaneMainForm", "Cargando el SoundFont %1...");
constexpr const char* MsgScaleAtNextStart = QT_TRANSLATE_NOOP(
    "TLyravaneMainForm", "El nuevo tamaño de la ventana se aplicará al volver a abrir el programa");
constexpr const char* MsgLanguageAtNextStart = QT_TRANSLATE_NOOP(
    "TLyravaneMainForm", "El nuevo idioma se aplicará al volver a abrir el programa");
constexpr const char* MsgSoundFontReady =
    QT_TRANSLATE_NOOP("TLyravaneMainForm", "SoundFont listo: %1");
constexpr const char* MsgSoundFontFailed = QT_TRANSLATE_NOOP(
    "TLyravaneMainForm", "No se pudo cargar el SoundFont %1; se sigue usando %2.");
constexpr int SoundFontPollMilliseconds = 100;

} // namespace

void TLyravaneMainForm::Action_FileOutputAudioExecute()
{
    if (MouseCaptured())
        return;
    RefreshHover(Action_FileOutputAudio);
    RunAudioExport(AudioExportDialog, tr("Exportar a audio"), false);
}

void TLyravaneMainForm::Action_FileOutputStemsExecute()
{
    if (MouseCaptured())
        return;
    RefreshHover(Action_FileOutputStems);
    RunAudioExport(StemsExportDialog, tr("Exportar pistas de audio"), true);
}

void TLyravaneMainForm::RunAudioExport(TCenterSaveDialog& dialog, const QString& title, bool parts)
{
    FExports->RunWithProgress(
        dialog, ProposedExportName(QStringLiteral(".wav")), title,
        [this, parts]() -> TExportRunner::TSlowWrite
        {
            TRenderOptions options;
            const TExportSettings settings = ReadExportSettings(FServices.SettingsPath);
            options.Normalize = settings.Normalize;
            options.Target.Lufs = settings.LoudnessLufs;
            // The same sequence as lyravane-cli render, through a synthesiser of the export's
            // own: the one playing in the window is left alone, and the same song gives the
            // same bytes.
            TMidiData midi;
            RenderSong(Project, midi, RepeatCount, IncludeReset);
            TSynthOptions synthOptions;
            synthOptions.SoundFont = ToFsPath(CurrentSoundFont());
            synthOptions.PartOutputs = parts;
            // The parts' files are named in the window's language ("canción - Bajo.wav").
            std::vector<std::string> names;
            names.reserve(TrackCount);
            for (int track = 0; track < TrackCount; ++track)
                names.push_back(ToFsPath(CoreText(TrackPartName(track))));
            return [options, synthOptions, names, midiBytes = midi.SaveToString()](
                       const std::string& fsPath, const TExportRunner::TProgress& progress)
            {
                TRenderOptions file = options;
                file.Format = AudioFormatFromPath(fsPath).value_or(TAudioFormat::Wav);
                TSynthesizer synth(synthOptions);
                if (!synthOptions.PartOutputs)
                    RenderMidiToFile(synth, midiBytes, fsPath, file, progress);
                else
                    RenderMidiStems(
                        synth, midiBytes,
                        SongStemFiles(fsPath, [&names](int track)
                                      { return names[static_cast<std::size_t>(track)]; }),
                        file, progress);
            };
        });
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
    dialog.WindowScale = ReadWindowScale(FServices.SettingsPath);
    dialog.Language = ReadLanguageSetting(FServices.SettingsPath);
}

void TLyravaneMainForm::ApplyOptionDialog(const TFormOption& dialog)
{
    WriteExportSettings(FServices.SettingsPath, {dialog.Normalize, dialog.LoudnessLufs});
    if (dialog.WindowScale != ReadWindowScale(FServices.SettingsPath))
    {
        WriteWindowScale(FServices.SettingsPath, dialog.WindowScale);
        StatusBar1->showMessage(tr(MsgScaleAtNextStart), FServices.ConfirmationMilliseconds);
    }
    if (dialog.Language != ReadLanguageSetting(FServices.SettingsPath))
    {
        WriteLanguageSetting(FServices.SettingsPath, dialog.Language);
        StatusBar1->showMessage(tr(MsgLanguageAtNextStart), FServices.ConfirmationMilliseconds);
    }
    if (dialog.SoundFont != CurrentSoundFont())
        ChangeSoundFont(dialog.SoundFont);
    // The export's target or normalising may have changed, and with them playback's gain.
    ApplyPlaybackGain();
    SchedulePlaybackLoudness();
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
    StatusBar1->showMessage(tr(MsgSoundFontLoading).arg(name));
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
                    StatusBar1->showMessage(tr(MsgSoundFontReady).arg(name),
                                            FServices.ConfirmationMilliseconds);
                }
                catch (const std::exception& error)
                {
                    StatusBar1->clearMessage();
                    ShowErrorBox(tr(MsgSoundFontFailed).arg(name, previous), ErrorText(error));
                }
            });
    poll->start();
}

void TLyravaneMainForm::SchedulePlaybackLoudness()
{
    if (FServices.Synth == nullptr)
        return;
    if (FLoudnessTimer == nullptr)
    {
        FPlaybackLoudness = std::make_unique<TPlaybackLoudness>(
            [this](unsigned request, double lufs)
            {
                QMetaObject::invokeMethod(
                    this,
                    [this, request, lufs]
                    {
                        if (request != FLoudnessRequest)
                            return;
                        FPlaybackLufs = lufs;
                        ApplyPlaybackGain();
                    },
                    Qt::QueuedConnection);
            });
        FLoudnessTimer = new QTimer(this);
        FLoudnessTimer->setSingleShot(true);
        FLoudnessTimer->setInterval(LoudnessDelayMilliseconds);
        connect(FLoudnessTimer, &QTimer::timeout, this,
                [this]
                {
                    // The song exactly as "Exportar a audio..." renders it, so playback gets
                    // the export's gain.
                    TMidiData midi;
                    if (!ReadExportSettings(FServices.SettingsPath).Normalize ||
                        !RenderTabMidi(0, midi))
                        return;
                    FLoudnessRequest = FPlaybackLoudness->Measure(midi.SaveToString(),
                                                                  FServices.Synth->SoundFontPath());
                });
    }
    FLoudnessTimer->start();
}

void TLyravaneMainForm::ApplyPlaybackGain()
{
    const TExportSettings settings = ReadExportSettings(FServices.SettingsPath);
    const bool known = FPlaybackLufs.has_value() && std::isfinite(*FPlaybackLufs);
    FPlay->Player().SetOutputGain(
        settings.Normalize && known ? settings.LoudnessLufs - *FPlaybackLufs : 0.0);
}
