// The main window's sound commands: play the song or a unit, stop, the options, and the
// priming of the player at start-up.
#include "ui/LyravaneMainForm.h"

#include "base/Exceptions.h"
#include "base/Text.h"
#include "midi/ArrangeList.h"
#include "midi/MidiData.h"
#include "midi/PatternCheck.h"
#include "model/Munit.h"
#include "render/RenderSong.h"
#include "ui/FormAddPattern.h"
#include "ui/FormOption.h"
#include "ui/SongPages.h"
#include "ui/WindowUtils.h"

#include <QStatusBar>
#include <QTimer>

namespace
{
constexpr int PrimeRetryMilliseconds = 250;
constexpr int PlayingPollMilliseconds = 200;
} // namespace

void TLyravaneMainForm::Action_MusicPlayExecute()
{
    TWaitCursor wait;
    FSongPlayer.Play([this](TMidiData& midi)
                     { RenderSong(Project, midi, RepeatCount, IncludeReset); });
    UpdateStopCommand();
}

void TLyravaneMainForm::Action_MusicPlay2Execute()
{
    TWaitCursor wait;
    const int index = CurrentTab();
    if (index < 0 || index >= Project.Count())
        return;
    const TMunit* unit = Project.UnitAt(index);
    if (unit == nullptr)
        return;
    FSongPlayer.Play([this, unit](TMidiData& midi)
                     { RenderUnitPlayback(*unit, midi, IncludeReset); });
    UpdateStopCommand();
}

void TLyravaneMainForm::Action_MusicStopExecute()
{
    FSongPlayer.Stop();
    UpdateStopCommand();
}

void TLyravaneMainForm::UpdateStopCommand()
{
    if (FStopTimer == nullptr)
    {
        FStopTimer = new QTimer(this);
        FStopTimer->setInterval(PlayingPollMilliseconds);
        connect(FStopTimer, &QTimer::timeout, this, &TLyravaneMainForm::UpdateStopCommand);
        FStopTimer->start();
    }
    Action_MusicStop->setEnabled(FSongPlayer.Playing());
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
            throw ELyravaneError("elija el archivo MIDI del patrón");
        const std::string added = AddUserPattern(userDir, kind, path, name);
        // The user's library is read last, so its new line goes at the end of the list, as
        // the next start will read it.
        const std::string shown = std::string(TrimBlanks(name));
        PatternLibrary(kind).LoadIndexText(
            "USER/" + added.substr(added.find_last_of('/') + 1) + " | " + shown, userDir);
        if (PropertyPage != nullptr)
            PropertyPage->ReloadPatternLists();
        StatusBar1->showMessage(
            QStringLiteral("Patrón «%1» añadido a la lista de %2.")
                .arg(QString::fromStdString(shown), QString::fromUtf8(PatternKindName(kind))),
            4000);
        return true;
    }
    catch (const ELyravaneError& error)
    {
        // The check's report is a sentence that starts in lower case, as the CLI prints it.
        QString text = QString::fromUtf8(MessageWithCause(error)).trimmed();
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
    if (dialog.exec() == QDialog::Accepted)
    {
        RepeatCount = dialog.RepeatCount;
        IncludeReset = dialog.IncludeReset;
        MidiTrackNames = dialog.MidiTrackNames;
    }
}

void TLyravaneMainForm::PrimePlayer()
{
    if (!FSongPlayer.CanPlay())
        return;
    // The SoundFont loads in the background: prime once it is there, never wait for it.
    if (FServices.PlayerReady && !FServices.PlayerReady())
    {
        if (FPrimeTimer == nullptr)
        {
            FPrimeTimer = new QTimer(this);
            FPrimeTimer->setInterval(PrimeRetryMilliseconds);
            connect(FPrimeTimer, &QTimer::timeout, this, &TLyravaneMainForm::PrimePlayer);
            FPrimeTimer->start();
        }
        return;
    }
    if (FPrimeTimer != nullptr)
        FPrimeTimer->stop();
    try
    {
        FSongPlayer.Play(
            [](TMidiData& midi)
            {
                midi.SetTrackCount(1);
                midi.AddGMSystemOn(0, 0);
            });
    }
    catch (const std::exception&)
    {
        // Priming only warms the synthesiser up. Without sound (no SoundFont, no audio
        // output) the play commands say why when the user asks for sound.
    }
}
