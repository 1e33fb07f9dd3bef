#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

/// The most a pattern, index or other data file may hold: far above any real one.
constexpr std::uint64_t MaxDataFileSize = std::uint64_t{16} << 20;

/// Reads a whole regular file of at most maxSize bytes. Anything else (a directory, a FIFO,
/// a device), a larger file and a file that cannot be opened or read raise EFOpenError with
/// the reason; opening never waits for a writer.
std::string ReadWholeFile(const std::string& path, std::uint64_t maxSize = MaxDataFileSize);

/// A file written through a temporary file in the target's directory, renamed over the target
/// by Commit only when every byte is on disk: a failed or abandoned write leaves the old file
/// as it was and no temporary file behind. Failures raise EFCreateError naming the target and
/// the system's reason.
///
/// A symbolic link is followed: the file it points to is replaced, in its own directory, and
/// the link stays. A file with several hard links gets a new file under the name saved to;
/// its other names keep the old content. A pipe or a character device (/dev/stdout,
/// /dev/null) is written directly, without a temporary file; any other kind of file that is
/// not a regular file is refused. Once a stop signal has come, a write gives up (EStopped)
/// and leaves nothing behind.
class TSafeFile
{
public:
    /// Refuses a directory or a read-only file in the way; makes the temporary file with the
    /// owner, group and permissions of the file it replaces (as far as the process may give
    /// them), or the usual ones.
    explicit TSafeFile(const std::string& path);
    ~TSafeFile();
    TSafeFile(const TSafeFile&) = delete;
    TSafeFile& operator=(const TSafeFile&) = delete;

    void Write(const void* data, std::size_t size);
    /// Overwrites bytes already written (a header completed at the end).
    void WriteAt(std::uint64_t offset, const void* data, std::size_t size);
    /// Does nothing on a pipe or a device.
    void Truncate(std::uint64_t size);
    /// False for a pipe or a terminal, where WriteAt cannot go back.
    bool Seekable() const;
    /// Syncs, closes and renames over the target, then syncs the directory.
    void Commit();
    const std::string& Path() const { return FPath; }

private:
    /// Writes at the file's position, or at *offset when offset is given; a write cut short
    /// by a signal goes on unless the signal asks the program to stop.
    void WriteAll(const void* data, std::size_t size, const std::uint64_t* offset);
    /// Closes the file and removes the temporary one.
    void Abandon();
    [[noreturn]] void Fail(int error);
    /// After a stop signal (StopSignals.h): abandons the file and raises EStopped.
    void StopIfAsked();

    std::string FPath;
    /// The file the path stands for once links are followed: what Commit replaces.
    std::string FTarget;
    std::string FTempPath;
    std::string FDir;
    int FFd = -1;
    /// Writing straight into a pipe or a device.
    bool FDirect = false;
};

/// An exclusive lock on the file at path (made when missing, never removed), held while the
/// object lives, against other processes taking the same lock. The system lets go of it
/// when its holder ends, however it ends. Waits up to timeout for a holder to finish, then
/// raises EFCreateError.
class TFileLock
{
public:
    explicit TFileLock(const std::string& path,
                       std::chrono::milliseconds timeout = std::chrono::seconds(10));
    ~TFileLock();
    TFileLock(const TFileLock&) = delete;
    TFileLock& operator=(const TFileLock&) = delete;

private:
    int FFd = -1;
};

/// How old a temporary file of a save must be before it counts as left over.
inline constexpr std::chrono::hours StaleTemporaryAge{1};

/// Removes from dir the hidden temporary files of saves that were killed before they could
/// clean up (".song.lvp.Ab12Cd"): only names of our own pattern, for a file of a kind the
/// programs write, regular files of this user, unchanged for StaleTemporaryAge and whose
/// lock no save holds. Anything else stays; failures are ignored. Every TSafeFile does it in
/// its folder before it makes its own.
void RemoveStaleTemporaryFiles(const std::string& dir);

/// The whole of data through a TSafeFile.
void WriteFileAtomically(const std::string& path, const std::string& data);

/// Whether a and b name one file (the same device and inode, links followed); false when
/// either does not exist.
bool SameFile(const std::string& a, const std::string& b);

/// The program's folder for the user's own data, as the desktop program finds it:
/// $XDG_DATA_HOME/lyravane, else ~/.local/share/lyravane; empty when neither can be known.
/// The user's pattern library (PATTERN/USER) and the recovery files live there.
std::string UserDataDir();

/// Directory of the running executable (no trailing separator); empty when unknown.
std::string ExecutableDir();

/// A data file or directory of the program: programDir/relative when it exists (as a
/// directory when directory is set, else as a regular file), else the installed
/// programDir/../share/lyravane/relative when that exists, else the first path anyway.
std::string FindProgramData(const std::string& programDir, const std::string& relative,
                            bool directory);
