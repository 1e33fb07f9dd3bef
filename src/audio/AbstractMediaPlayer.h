#pragma once

#include <string>

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
};
