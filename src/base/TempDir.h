#pragma once

#include <string>

/// A private directory (mode 0700) made inside the system's temporary directory when the
/// object is created and removed, with everything in it, when it is destroyed. Nobody else
/// can place or read a file there, so a fixed name inside it is safe.
///
/// The directory's name holds the id of the process that made it, which also holds a lock on
/// it; making one first removes the directories of ours whose process has gone (one killed
/// before it could clean up).
class TTempDir
{
public:
    /// Raises EFCreateError when the directory cannot be made.
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    /// The directory, without a trailing separator.
    const std::string& Path() const { return FPath; }
    /// The temporary MIDI file "$$$.mid" of playback, the start-up priming and the pattern
    /// preview: the same path every time.
    std::string TempMidiFile() const;

    /// From now until the object is destroyed, SIGTERM and SIGHUP remove the directory and
    /// the MIDI file in it before they end the process as they otherwise would. One object of
    /// a process at a time.
    void RemoveWhenTerminated();

private:
    std::string FPath;
    bool FRemovesOnSignals = false;
    int FLockFd = -1;
};
