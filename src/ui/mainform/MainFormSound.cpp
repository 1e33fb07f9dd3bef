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
#include "ui/FormOption.h"
#include "ui/WindowUtils.h"
#include "ui/editor/SongPages.h"

#include <QStatusBar>
#include <QTabBar>
#include <QTimer>

#include <algorithm>

namespace
{
constexpr int PrimeRetryMilliseconds = 250;
/// The play cursor and the status bar move 33 times a second.
constexpr int PlayPollMilliseconds = 30;
/// The loop's next pass is rendered this long before the pass under way ends; an edit made
/// later is heard one pass later.
constexpr double LoopQueueSeconds = 0.3;
const QString PlayingTabMarker = QStringLiteral("\u25B6 ");

QString MinutesSeconds(double seconds)
{
    const int whole = static_cast<int>(seconds);
    return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

std::int32_t LeadInTicks(bool includeReset)
{
    return includeReset ? TMidiData().BarLength() : 0;
}
} // namespace

void TLyravaneMainForm::StartPlay(QAction* command, const TSongPlayer::TRenderer& render,
                                  const std::vector<TSongSpan>& layout, std::int32_t loopTo)
{
    TWaitCursor wait;
    FLastPlayCommand = command;
    ClearPlayPosition();
    FLooping = loopTo > 0 && !layout.empty();
    FQueuedPass = 0;
    if (FLooping)
        FSongPlayer.PlayLoop(render, layout.front().FromTick, loopTo);
    else
        FSongPlayer.Play(render);
    FPlayLayout = layout;
    FPlayNumber = FSongPlayer.PlayNumber();
    UpdatePlayState();
}

void TLyravaneMainForm::Action_MusicPlayExecute()
{
    std::vector<TSongSpan> layout;
    StartPlay(
        Action_MusicPlay,
        [this, &layout](TMidiData& midi)
        {
            TPatternCache patterns;
            RenderSong(Project, midi, RepeatCount, IncludeReset, patterns, 0, &layout);
        },
        layout);
}

void TLyravaneMainForm::Action_MusicPlayFromHereExecute()
{
    const int index = std::max(CurrentTab(), 0);
    std::vector<TSongSpan> layout;
    StartPlay(
        Action_MusicPlayFromHere,
        [this, &layout, index](TMidiData& midi)
        {
            TPatternCache patterns;
            RenderSong(Project, midi, RepeatCount, IncludeReset, patterns, index, &layout);
        },
        layout);
}

void TLyravaneMainForm::Action_MusicPlay2Execute()
{
    const int index = CurrentTab();
    if (index < 0 || index >= Project.Count())
        return;
    const TMunit* unit = Project.UnitAt(index);
    if (unit == nullptr)
        return;
    const std::int32_t from = LeadInTicks(IncludeReset);
    const std::int32_t to = from + TMidiData().BarLength() * unit->BarCount;
    const std::vector<TSongSpan> layout{{index, from, to}};
    StartPlay(
        Action_MusicPlay2,
        [this, unit](TMidiData& midi) { RenderUnitPlayback(*unit, midi, IncludeReset); }, layout,
        Action_MusicLoop->isChecked() ? to : 0);
}

void TLyravaneMainForm::Action_MusicStopExecute()
{
    FSongPlayer.Stop();
    UpdatePlayState();
}

void TLyravaneMainForm::Action_MusicPlayOrStopExecute()
{
    if (FSongPlayer.Playing())
        Action_MusicStopExecute();
    else if (QAction* command = FLastPlayCommand != nullptr ? FLastPlayCommand : Action_MusicPlay;
             command->isEnabled())
        command->trigger();
}

void TLyravaneMainForm::UpdatePlayState()
{
    if (FPlayTimer == nullptr)
    {
        FPlayTimer = new QTimer(this);
        FPlayTimer->setInterval(PlayPollMilliseconds);
        connect(FPlayTimer, &QTimer::timeout, this, &TLyravaneMainForm::UpdatePlayState);
        FPlayTimer->start();
    }
    const TPlayPosition position = FSongPlayer.Position();
    Action_MusicStop->setEnabled(position.Playing);
    if (!position.Playing || FPlayLayout.empty() || FPlayNumber != FSongPlayer.PlayNumber())
    {
        ClearPlayPosition();
        return;
    }
    if (FLooping)
        QueueLoopPass(position);
    ShowPlayPosition(position);
}

void TLyravaneMainForm::QueueLoopPass(const TPlayPosition& position)
{
    // A player that cannot tell where it is gets no passes queued: it repeats the first.
    if (position.TotalSeconds <= 0 || position.Pass < FQueuedPass ||
        position.TotalSeconds - position.Seconds > LoopQueueSeconds)
        return;
    FQueuedPass = position.Pass + 1;
    const int index = FPlayLayout.front().Entry;
    const TMunit* unit = index < Project.Count() ? Project.UnitAt(index) : nullptr;
    // A unit deleted or moved away while it loops: the loop goes on as it was.
    if (unit == nullptr || LeadInTicks(IncludeReset) + TMidiData().BarLength() * unit->BarCount !=
                               FPlayLayout.front().ToTick)
        return;
    try
    {
        FSongPlayer.QueueLoopPass([this, unit](TMidiData& midi)
                                  { RenderUnitPlayback(*unit, midi, IncludeReset); });
    }
    catch (const std::exception&)
    {
        // The pass that plays is repeated instead; the error shows at the next play command.
    }
}

void TLyravaneMainForm::ShowPlayPosition(const TPlayPosition& position)
{
    // The span of the tick heard; the lead-in counts as the first unit's start.
    const TSongSpan* span = &FPlayLayout.front();
    for (const TSongSpan& candidate : FPlayLayout)
        if (candidate.FromTick <= position.Tick)
            span = &candidate;
    const double bars =
        std::max(0, position.Tick - span->FromTick) / static_cast<double>(TMidiData().BarLength());
    BarEditor->ShowPlayCursor(CurrentTab() == span->Entry ? bars : -1);
    MarkPlayingTab(span->Entry);
    const QString status =
        QStringLiteral("Reproduciendo Ptn.%1 \u00B7 comp\u00E1s %2 \u00B7 %3 / %4")
            .arg(span->Entry)
            .arg(static_cast<int>(bars) + 1)
            .arg(MinutesSeconds(position.Seconds), MinutesSeconds(position.TotalSeconds));
    // Shown when it changes, so a menu's hint stays while the mouse is on it.
    if (status != FPlayStatus)
    {
        FPlayStatus = status;
        StatusBar1->showMessage(status);
    }
}

void TLyravaneMainForm::ClearPlayPosition()
{
    FPlayLayout.clear();
    FLooping = false;
    if (BarEditor != nullptr)
        BarEditor->ShowPlayCursor(-1);
    MarkPlayingTab(-1);
    if (!FPlayStatus.isEmpty() && StatusBar1->currentMessage() == FPlayStatus)
        StatusBar1->clearMessage();
    FPlayStatus.clear();
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
    PrepareOptionDialog(dialog);
    if (dialog.exec() == QDialog::Accepted)
    {
        RepeatCount = dialog.RepeatCount;
        IncludeReset = dialog.IncludeReset;
        MidiTrackNames = dialog.MidiTrackNames;
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
    // A play command that came first has warmed the synthesiser up already.
    if (FSongPlayer.Playing())
        return;
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
