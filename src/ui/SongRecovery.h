#pragma once

#include <QString>

#include <memory>

class QLockFile;
class TMusicProject;

/// The recovery file of this copy of the program: the song with unsaved changes, its locks
/// and its file name, written now and then so that a crash or a power cut loses little. Each
/// copy holds a lock beside its file for as long as it runs; a file whose lock nobody holds
/// was left by a copy that ended without cleaning up, and the next copy may take it over.
/// Two running copies never share or delete each other's file.
class TSongRecovery
{
public:
    /// The files are kept in dir (made when first needed); empty: the program's data folder.
    explicit TSongRecovery(const QString& dir);
    /// Lets go of the lock; the file stays (a normal exit removes it first).
    ~TSongRecovery();
    TSongRecovery(const TSongRecovery&) = delete;
    TSongRecovery& operator=(const TSongRecovery&) = delete;

    /// "recovery" in the user's data folder (UserDataFolder).
    static QString DefaultDir();

    /// Writes the song, atomically, into this copy's file; raises EFCreateError.
    void Write(const TMusicProject& song);
    /// Removes this copy's file, if there is one.
    void Remove();
    /// Whether this copy's file holds a song now.
    bool Written() const { return FWritten; }
    /// This copy's file (empty until it has one).
    const QString& Path() const { return FPath; }

    /// Takes over the newest file left by a copy that no longer runs, which becomes this
    /// copy's file; false when there is none.
    bool ClaimLeftOver();
    /// Reads this copy's file into song, entries, locks and file name, all or nothing; not
    /// modified. Raises EReadError (or EFOpenError) when the file cannot be read.
    void Read(TMusicProject& song) const;
    /// Renames this copy's unreadable file so that nobody offers it again, and returns its
    /// new path; it is never deleted.
    QString SetAside();

private:
    /// Makes sure this copy has a file name and holds its lock.
    void Own();

    QString FDir;
    QString FPath;
    std::unique_ptr<QLockFile> FLock;
    bool FWritten = false;
};
