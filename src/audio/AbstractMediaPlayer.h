#pragma once

#include <cstdint>
#include <string>

/// Where a play is, as heard (the output's latency taken off).
struct TPlayPosition
{
    bool Playing = false;
    /// The tick of the open file heard now.
    std::int32_t Tick = 0;
    /// The ticks of the pass that plays: the whole file, or the stretch a loop repeats (its
    /// first pass starts at tick 0).
    std::int32_t FromTick = 0;
    std::int32_t ToTick = 0;
    /// Seconds heard of the pass, and its length.
    double Seconds = 0;
    double TotalSeconds = 0;
    /// 0, then 1, 2... for the repetitions of a loop.
    int Pass = 0;
};

/// Clicks a player adds to a play: never part of the file it plays.
struct TClicks
{
    /// A bar of clicks before the first pass.
    bool CountIn = false;
    /// A click on every beat, the first of each bar accented.
    bool Metronome = false;
};

/// The operations the program asks of a media player; the desktop program reaches the
/// player through this, so its tests can put a recording fake in its place.
class TAbstractMediaPlayer
{
public:
    virtual ~TAbstractMediaPlayer() = default;

    /// Stops playback, silences every note and releases the file; nothing when none is open.
    virtual void Close() = 0;
    /// The file the next Open opens.
    virtual void SetFileName(const std::string& fileName) = 0;
    /// Opens the file for playing; raises an exception whose what() the user can read.
    virtual void Open() = 0;
    /// Starts the open file from its beginning and returns at once; restarts a playing one.
    virtual void Play() = 0;
    /// Whether the open file is sounding now; false once it has played to its end or closed.
    virtual bool Playing() const = 0;

    /// Plays the open file's ticks 0 to toTick, then fromTick to toTick over and over until
    /// Close, each pass joined to the one before without a gap; notes still sounding at
    /// toTick end there. A player that cannot loop plays the file once.
    virtual void PlayLoop(std::int32_t /*fromTick*/, std::int32_t /*toTick*/) { Play(); }
    /// While a loop plays: reads the file again (it may have been rewritten since Open) for
    /// the passes from the next one on; raises like Open, and the loop goes on unchanged.
    virtual void QueueLoopPass() {}
    /// The clicks of the next Play or PlayLoop; every play after that has none unless they are
    /// set again. A player that cannot click ignores them.
    virtual void SetClicks(TClicks /*clicks*/) {}
    /// Silences the MIDI channels whose bits are set (bit n: channel n) at once, while a play
    /// goes on and for the plays after it, until set again; the file is not changed.
    virtual void SetMutedChannels(std::uint16_t /*mask*/) {}
    /// Scales what is heard by gainDb from the next block on (what normalising does to an
    /// export), under a limiter that keeps the peaks below full scale; 0 dB leaves the sound
    /// untouched.
    virtual void SetOutputGain(double /*gainDb*/) {}
    /// Sends a controller change to the synthesiser at once, while a play goes on (a volume
    /// moved in the mixer); the next play starts from the file's own.
    virtual void SendControl(int /*channel*/, int /*controller*/, int /*value*/) {}
    /// Where the play is; a player that cannot tell says only whether it plays.
    virtual TPlayPosition Position() const
    {
        TPlayPosition position;
        position.Playing = Playing();
        return position;
    }
};
