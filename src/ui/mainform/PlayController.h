#pragma once

#include "audio/SongPlayer.h"
#include "render/RenderSong.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QTimer;
class TMusicProject;

/// "m:ss", the whole seconds.
QString MinutesSeconds(double seconds);

/// What the window plays and what it shows of it: the song (from an entry on), a unit once
/// or looped, the start-up priming; the play cursor's place, the playing unit and the status
/// text follow the player 33 times a second. The property page's previews play through the
/// same player, so a new play always cuts off the one before.
class TPlayController : public QObject
{
    Q_OBJECT

public:
    /// The options of "Opciones" a play is rendered with.
    struct TOptions
    {
        int RepeatCount = 1;
        bool IncludeReset = false;
        /// "Claqueta" and "Metrónomo": heard, never rendered into the song.
        TClicks Clicks;
    };

    /// player: not owned (none: nothing plays); song: the live song, read at each play and
    /// loop pass.
    TPlayController(TAbstractMediaPlayer* player, const std::string& tempMidiFile,
                    const TMusicProject& song, QObject* parent = nullptr);

    TSongPlayer& Player() { return FPlayer; }
    bool Playing() const { return FPlayer.Playing(); }

    /// The song from entry fromEntry on ("Reproducir canción" from 0, "Reproducir desde
    /// aquí"). Failures (no sound, a pattern that cannot be read) raise with the reason.
    void PlaySong(int fromEntry, const TOptions& options);
    /// The unit of entry ("Reproducir partitura"), once or, with loop, until Stop: each pass
    /// rendered afresh shortly before it is heard, so edits are heard from the next pass.
    void PlayUnit(int entry, bool loop, const TOptions& options);
    void Stop();
    /// Warms the synthesiser up with a silent play once ready() says it can play; never waits
    /// for it (ready is asked again a little later).
    void Prime(const std::function<bool()>& ready);
    /// Looks at the player now and tells what it sees; done by itself every so often.
    void Refresh();
    int RefreshMilliseconds() const;

signals:
    /// Something plays (Parar is enabled) or not; told at every look.
    void PlayingChanged(bool playing);
    /// Where the song or unit heard is: the entry and the bars into it; entry -1 once nothing
    /// of the window's plays.
    void PositionChanged(int entry, double bars);
    /// "Reproduciendo Ptn.N · compás B · m:ss / m:ss"; empty once it ends. previous: the text
    /// told before, which a status bar may still show.
    void StatusChanged(const QString& status, const QString& previous);

private:
    /// Primes once FReady says the player can play; asks again a little later until then.
    void PrimeWhenReady();
    void Start(const TSongPlayer::TRenderer& render, const std::vector<TSongSpan>& layout,
               std::int32_t loopTo, TClicks clicks);
    /// Renders the looped unit afresh once the pass under way is near its end.
    void QueueLoopPass(const TPlayPosition& position);
    void ShowPosition(const TPlayPosition& position);
    void ClearPosition();

    TSongPlayer FPlayer;
    const TMusicProject& FSong;
    QTimer* FTimer = nullptr;
    QTimer* FPrimeTimer = nullptr;
    std::function<bool()> FReady;
    /// The units of what plays, and which play of the player it is (the previews play
    /// through it too).
    std::vector<TSongSpan> FLayout;
    unsigned FPlayNumber = 0;
    bool FLooping = false;
    bool FLoopIncludesReset = false;
    /// The pass of the loop whose end has its follow-up rendered already.
    int FQueuedPass = 0;
    QString FStatus;
};
