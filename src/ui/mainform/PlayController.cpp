#include "ui/mainform/PlayController.h"

#include "midi/MidiData.h"
#include "model/Munit.h"
#include "model/MusicProject.h"
#include "render/PatternCache.h"

#include <QTimer>

#include <algorithm>

namespace
{
constexpr int PrimeRetryMilliseconds = 250;
/// The play cursor and the status bar move 33 times a second.
constexpr int PollMilliseconds = 30;
/// The loop's next pass is rendered this long before the pass under way ends; an edit made
/// later is heard one pass later.
constexpr double LoopQueueSeconds = 0.3;
} // namespace

QString MinutesSeconds(double seconds)
{
    const int whole = static_cast<int>(seconds);
    return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

TPlayController::TPlayController(TAbstractMediaPlayer* player, const std::string& tempMidiFile,
                                 const TMusicProject& song, QObject* parent)
    : QObject(parent), FPlayer(player, tempMidiFile), FSong(song)
{
    // The player says nothing when a play ends by itself: it is looked at.
    FTimer = new QTimer(this);
    FTimer->setInterval(PollMilliseconds);
    connect(FTimer, &QTimer::timeout, this, &TPlayController::Refresh);
    FTimer->start();
}

void TPlayController::PlaySong(int fromEntry, const TOptions& options)
{
    std::vector<TSongSpan> layout;
    Start(
        [this, &layout, fromEntry, options](TMidiData& midi)
        {
            TPatternCache patterns;
            RenderSong(FSong, midi, options.RepeatCount, options.IncludeReset, patterns, fromEntry,
                       &layout);
        },
        layout, 0, options.Clicks);
}

void TPlayController::PlayUnit(int entry, bool loop, const TOptions& options)
{
    const TMunit* unit = entry >= 0 && entry < FSong.Count() ? FSong.UnitAt(entry) : nullptr;
    if (unit == nullptr)
        return;
    const TSongSpan span = UnitPlaybackSpan(*unit, entry, options.IncludeReset);
    FLoopIncludesReset = options.IncludeReset;
    Start([unit, options](TMidiData& midi)
          { RenderUnitPlayback(*unit, midi, options.IncludeReset); },
          {span}, loop ? span.ToTick : 0, options.Clicks);
}

void TPlayController::Start(const TSongPlayer::TRenderer& render,
                            const std::vector<TSongSpan>& layout, std::int32_t loopTo,
                            TClicks clicks)
{
    ClearPosition();
    FLooping = loopTo > 0 && !layout.empty();
    FQueuedPass = 0;
    if (FLooping)
        FPlayer.PlayLoop(render, layout.front().FromTick, loopTo, clicks);
    else
        FPlayer.Play(render, clicks);
    // The song's layout is filled in by the rendering, which has run by now.
    FLayout = layout;
    FPlayNumber = FPlayer.PlayNumber();
    Refresh();
}

void TPlayController::Stop()
{
    FPlayer.Stop();
    Refresh();
}

void TPlayController::Prime(const std::function<bool()>& ready)
{
    FReady = ready;
    PrimeWhenReady();
}

void TPlayController::PrimeWhenReady()
{
    if (!FPlayer.CanPlay())
        return;
    if (FReady && !FReady())
    {
        if (FPrimeTimer == nullptr)
        {
            FPrimeTimer = new QTimer(this);
            FPrimeTimer->setInterval(PrimeRetryMilliseconds);
            connect(FPrimeTimer, &QTimer::timeout, this, &TPlayController::PrimeWhenReady);
            FPrimeTimer->start();
        }
        return;
    }
    if (FPrimeTimer != nullptr)
        FPrimeTimer->stop();
    // A play command that came first has warmed the synthesiser up already.
    if (FPlayer.Playing())
        return;
    try
    {
        FPlayer.Play(
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

void TPlayController::Refresh()
{
    const TPlayPosition position = FPlayer.Position();
    emit PlayingChanged(position.Playing);
    if (!position.Playing || FLayout.empty() || FPlayNumber != FPlayer.PlayNumber())
    {
        ClearPosition();
        return;
    }
    if (FLooping)
        QueueLoopPass(position);
    ShowPosition(position);
}

int TPlayController::RefreshMilliseconds() const
{
    return FTimer->interval();
}

void TPlayController::QueueLoopPass(const TPlayPosition& position)
{
    // A player that cannot tell where it is gets no passes queued: it repeats the first.
    if (position.TotalSeconds <= 0 || position.Pass < FQueuedPass ||
        position.TotalSeconds - position.Seconds > LoopQueueSeconds)
        return;
    FQueuedPass = position.Pass + 1;
    const TSongSpan& looped = FLayout.front();
    const TMunit* unit = looped.Entry < FSong.Count() ? FSong.UnitAt(looped.Entry) : nullptr;
    // A unit deleted or moved away while it loops: the loop goes on as it was.
    if (unit == nullptr ||
        UnitPlaybackSpan(*unit, looped.Entry, FLoopIncludesReset).ToTick != looped.ToTick)
        return;
    try
    {
        FPlayer.QueueLoopPass([this, unit](TMidiData& midi)
                              { RenderUnitPlayback(*unit, midi, FLoopIncludesReset); });
    }
    catch (const std::exception&)
    {
        // The pass that plays is repeated instead; the error shows at the next play command.
    }
}

void TPlayController::ShowPosition(const TPlayPosition& position)
{
    // The span of the tick heard; the lead-in counts as the first unit's start.
    const TSongSpan* span = &FLayout.front();
    for (const TSongSpan& candidate : FLayout)
        if (candidate.FromTick <= position.Tick)
            span = &candidate;
    const double bars = std::max(0, position.Tick - span->FromTick) / static_cast<double>(BarTicks);
    emit PositionChanged(span->Entry, bars);
    const QString status =
        tr("Reproduciendo Ptn.%1 \u00B7 comp\u00E1s %2 \u00B7 %3 / %4")
            .arg(span->Entry)
            .arg(static_cast<int>(bars) + 1)
            .arg(MinutesSeconds(position.Seconds), MinutesSeconds(position.TotalSeconds));
    // Told when it changes, so a menu's hint stays while the mouse is on it.
    if (status != FStatus)
    {
        const QString previous = std::exchange(FStatus, status);
        emit StatusChanged(FStatus, previous);
    }
}

void TPlayController::ClearPosition()
{
    FLayout.clear();
    FLooping = false;
    emit PositionChanged(-1, -1);
    if (!FStatus.isEmpty())
        emit StatusChanged(QString(), std::exchange(FStatus, QString()));
}
