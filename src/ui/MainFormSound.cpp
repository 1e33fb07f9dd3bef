// The main window's sound commands: play the song or a unit, stop, the options, and the
// priming of the player at start-up.
#include "ui/LyravaneMainForm.h"

#include "midi/MidiData.h"
#include "model/Munit.h"
#include "render/RenderSong.h"
#include "ui/FormOption.h"
#include "ui/WindowUtils.h"

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

void TLyravaneMainForm::Action_MusicOptionExecute()
{
    if (MouseCaptured())
        return;
    TFormOption dialog(this);
    CenterOnOwner(&dialog);
    dialog.RepeatCount = RepeatCount;
    dialog.IncludeReset = IncludeReset;
    PrepareOptionDialog(dialog);
    if (dialog.exec() == QDialog::Accepted)
    {
        RepeatCount = dialog.RepeatCount;
        IncludeReset = dialog.IncludeReset;
        ApplyOptionDialog(dialog);
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
