// The main window's sound commands: play the song, a unit (once or looped) or the song from
// a unit on, stop, the options, the priming of the player at start-up, and what the window
// shows of a play under way.
#include "ui/mainform/LyravaneMainForm.h"

#include "base/Exceptions.h"
#include "base/Text.h"
#include "midi/ArrangeList.h"
#include "midi/MidiData.h"
#include "midi/PatternCheck.h"
#include "model/Munit.h"
#include "render/PatternCache.h"
#include "render/RenderSong.h"
#include "ui/FormAddPattern.h"
#include "ui/FormMixer.h"
#include "ui/FormOption.h"
#include "ui/SongOverview.h"
#include "ui/Translations.h"
#include "ui/WindowUtils.h"
#include "ui/editor/SongPages.h"

#include <QSlider>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>

#include <algorithm>

namespace
{
const QString PlayingTabMarker = QStringLiteral("\u25B6 ");
} // namespace

TPlayController::TOptions TLyravaneMainForm::PlayOptions() const
{
    return {RepeatCount,
            IncludeReset,
            {Action_MusicCountIn->isChecked(), Action_MusicMetronome->isChecked()}};
}

void TLyravaneMainForm::StartPlay(QAction* command, const std::function<void()>& play)
{
    TWaitCursor wait;
    FLastPlayCommand = command;
    play();
}

void TLyravaneMainForm::Action_MusicPlayExecute()
{
    StartPlay(Action_MusicPlay, [this] { FPlay->PlaySong(0, PlayOptions()); });
}

void TLyravaneMainForm::Action_MusicPlayFromHereExecute()
{
    const int index = std::max(CurrentTab(), 0);
    StartPlay(Action_MusicPlayFromHere, [this, index] { FPlay->PlaySong(index, PlayOptions()); });
}

void TLyravaneMainForm::Action_MusicPlay2Execute()
{
    const int index = CurrentTab();
    if (index < 0 || index >= Project.Count() || Project.UnitAt(index) == nullptr)
        return;
    StartPlay(Action_MusicPlay2, [this, index]
              { FPlay->PlayUnit(index, Action_MusicLoop->isChecked(), PlayOptions()); });
}

void TLyravaneMainForm::Action_MusicStopExecute()
{
    FPlay->Stop();
}

void TLyravaneMainForm::Action_MusicPlayOrStopExecute()
{
    if (FPlay->Playing())
        Action_MusicStopExecute();
    else if (QAction* command = FLastPlayCommand != nullptr ? FLastPlayCommand : Action_MusicPlay;
             command->isEnabled())
        command->trigger();
}

void TLyravaneMainForm::ShowPlayPosition(int entry, double bars)
{
    if (BarEditor != nullptr)
        BarEditor->ShowPlayCursor(entry >= 0 && CurrentTab() == entry ? bars : -1);
    MarkPlayingTab(entry);
    Overview->ShowPlayPosition(entry, bars);
}

void TLyravaneMainForm::ShowPlayStatus(const QString& status, const QString& previous)
{
    if (!status.isEmpty())
        StatusBar1->showMessage(status);
    else if (!previous.isEmpty() && StatusBar1->currentMessage() == previous)
        StatusBar1->clearMessage();
}

void TLyravaneMainForm::MarkPlayingTab(int tab)
{
    // Called every refresh of the play state: only a changed caption is set (a set lays the
    // tab bar out again).
    for (int i = 0; i < TabControl1->count(); ++i)
        if (const QString text = i == tab ? PlayingTabMarker + TabName(i) : TabName(i);
            TabControl1->tabText(i) != text)
            TabControl1->setTabText(i, text);
}

void TLyravaneMainForm::Action_MusicAddPatternExecute()
{
    if (MouseCaptured())
        return;
    TFormAddPattern dialog(
        FServices.FileDialogs,
        [this](const std::string& path, TPatternKind kind, const std::string& name)
        { return AddUserPatternFile(path, kind, name); },
        this);
    CenterOnOwner(&dialog);
    dialog.exec();
}

bool TLyravaneMainForm::AddUserPatternFile(const std::string& path, TPatternKind kind,
                                           const std::string& name)
{
    const std::string userDir = ToFsPath(
        FServices.UserPatternDir.isEmpty() ? DefaultUserPatternDir() : FServices.UserPatternDir);
    try
    {
        if (TrimBlanks(path).empty())
            throw ELyravaneError(tr("elija el archivo MIDI del patrón").toStdString());
        const std::string added = AddUserPattern(userDir, kind, path, name);
        // The user's library is read last, so its new line goes at the end of the list, as
        // the next start will read it.
        const std::string shown = std::string(TrimBlanks(name));
        PatternLibrary(kind).LoadIndexText(
            "USER/" + added.substr(added.find_last_of('/') + 1) + " | " + shown, userDir);
        if (PropertyPage != nullptr)
            PropertyPage->ReloadPatternLists();
        StatusBar1->showMessage(
            tr("Patrón «%1» añadido a la lista de %2.")
                .arg(QString::fromStdString(shown), CoreText(PatternKindName(kind))),
            FServices.ConfirmationMilliseconds);
        return true;
    }
    catch (const ELyravaneError& error)
    {
        // The check's report is a sentence that starts in lower case, as the CLI prints it.
        QString text = ErrorDetails(error, true).trimmed();
        if (!text.isEmpty())
            text[0] = text[0].toUpper();
        ShowMessageBox(text, TMsgIcon::Exclamation, TMsgButtons::Ok);
    }
    return false;
}

void TLyravaneMainForm::Action_MusicOptionExecute()
{
    if (MouseCaptured())
        return;
    TFormOption dialog(this);
    CenterOnOwner(&dialog);
    dialog.RepeatCount = RepeatCount;
    dialog.IncludeReset = IncludeReset;
    dialog.MidiTrackNames = MidiTrackNames;
    PrepareOptionDialog(dialog);
    if (dialog.exec() == QDialog::Accepted)
    {
        RepeatCount = dialog.RepeatCount;
        IncludeReset = dialog.IncludeReset;
        MidiTrackNames = dialog.MidiTrackNames;
        ApplyOptionDialog(dialog);
        ShowSongLength();
    }
}

void TLyravaneMainForm::Action_MusicMixerExecute()
{
    if (Mixer == nullptr)
    {
        Mixer = new TFormMixer(this);
        connect(Mixer, &TFormMixer::VolumeChanged, this, &TLyravaneMainForm::MixerVolumeChanged);
        connect(Mixer, &TFormMixer::MutedChannelsChanged, this,
                [this](std::uint16_t channels) { FPlay->Player().SetMutedChannels(channels); });
        connect(FDocument.get(), &TSongDocument::Changed, Mixer, [this] { ShowMixerVolumes(); });
        connect(FDocument.get(), &TSongDocument::Replaced, Mixer, [this] { ShowMixerVolumes(); });
    }
    ShowMixerVolumes();
    Mixer->show();
    Mixer->raise();
    Mixer->activateWindow();
}

void TLyravaneMainForm::ShowMixerVolumes()
{
    const TMuprop* properties = FDocument->Song().PropertyAt(0);
    if (Mixer == nullptr || properties == nullptr)
        return;
    std::array<int, TrackCount> volumes{};
    for (int track = 0; track < TrackCount; ++track)
        volumes[static_cast<std::size_t>(track)] = properties->GetTrack(track).Volume;
    Mixer->ShowVolumes(volumes);
}

void TLyravaneMainForm::MixerVolumeChanged(int track, int volume)
{
    TMuprop* properties = FDocument->Song().PropertyAt(0);
    if (properties == nullptr)
        return;
    FDocument->Edit(tr("Volumen"), Mixer->Volumes[static_cast<std::size_t>(track)],
                    [properties, track, volume] { properties->GetTrack(track).SetVolume(volume); });
    // The page shows the value, and what plays takes it at once.
    if (PropertyPage != nullptr)
        PropertyPage->SetMuprop(properties);
    constexpr int VolumeController = 7;
    FPlay->Player().SendControl(TrackChannel(track), VolumeController, volume);
}
