#pragma once

#include "audio/AbstractMediaPlayer.h"

#include <cstdint>
#include <functional>
#include <string>

class TMidiData;

/// Plays what the program renders in memory (the song, one unit, a pattern preview) through a
/// media player, which plays files: every play stops the player, writes the MIDI data to one
/// temporary file, opens it and starts it from its beginning. The main window and its pages
/// share one, so a new play always cuts off the one before.
class TSongPlayer
{
public:
    /// Fills an empty MIDI file with what is to be played.
    using TRenderer = std::function<void(TMidiData& midi)>;

    /// player is not owned and must outlive the song player; without one, CanPlay() is false
    /// and Stop does nothing. tempMidiFile is rewritten by every play and removed when the
    /// song player is destroyed.
    TSongPlayer(TAbstractMediaPlayer* player, std::string tempMidiFile);
    ~TSongPlayer();
    TSongPlayer(const TSongPlayer&) = delete;
    TSongPlayer& operator=(const TSongPlayer&) = delete;

    /// Whether there is a player and a temporary file to play through.
    bool CanPlay() const { return FPlayer != nullptr && !FTempMidiFile.empty(); }
    const std::string& TempMidiFile() const { return FTempMidiFile; }

    /// Stops the player, then renders and plays. Needs a player. Whatever rendering, writing
    /// the file or opening it raises reaches the caller (its what() is for the user); the
    /// player is left closed then.
    void Play(const TRenderer& render, TClicks clicks = {});
    /// The same, then plays ticks fromTick to toTick of it over and over until Stop (see
    /// TAbstractMediaPlayer::PlayLoop).
    void PlayLoop(const TRenderer& render, std::int32_t fromTick, std::int32_t toTick,
                  TClicks clicks = {});
    /// See TAbstractMediaPlayer; nothing without a player.
    void SetMutedChannels(std::uint16_t mask);
    void SendControl(int channel, int controller, int value);
    void SetOutputGain(double gainDb);
    /// While a loop plays: renders afresh what the loop repeats, heard from the next pass on.
    /// Whatever rendering or reading raises reaches the caller; the loop goes on as it was.
    void QueueLoopPass(const TRenderer& render);
    /// Stops playback and releases the file; nothing without a player.
    void Stop();
    /// Whether something plays now (false without a player).
    bool Playing() const;
    /// Where the play is (nothing plays without a player).
    TPlayPosition Position() const;
    /// Counts the plays started (Play and PlayLoop), so a watcher knows whether the play it
    /// started is still the one under way.
    unsigned PlayNumber() const { return FPlayNumber; }

private:
    /// Stops the player, renders, writes the file and opens it.
    void Open(const TRenderer& render);

    TAbstractMediaPlayer* FPlayer;
    std::string FTempMidiFile;
    unsigned FPlayNumber = 0;
};
