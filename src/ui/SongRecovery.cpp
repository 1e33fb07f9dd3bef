#include "ui/SongRecovery.h"

#include "base/Exceptions.h"
#include "base/FileIO.h"
#include "model/MusicProject.h"
#include "model/SongBytes.h"
#include "ui/FileDialogs.h"
#include "ui/Settings.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QLockFile>
#include <QRandomGenerator>

namespace
{
// A recovery file: the magic, then as QDataStream byte arrays the song's file name (as the
// file system spells it) and the song with its locks (SongWithLocksToBytes) in its two halves,
// the project file's bytes and the locks.
constexpr char Magic[8] = {'L', 'Y', 'R', 'V', 'R', 'E', 'C', '1'};
const QString Suffix = QStringLiteral(".lvr");
const QString SetAsideSuffix = QStringLiteral(".ilegible");

/// The lock beside path, held; null when it cannot be had, and why in *why when asked.
std::unique_ptr<QLockFile> LockBeside(const QString& path, QLockFile::LockError* why = nullptr)
{
    auto lock = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
    // A running copy may hold its lock for days: only a lock whose process has gone is stale.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
    {
        if (why != nullptr)
            *why = lock->error();
        return nullptr;
    }
    return lock;
}
} // namespace

TSongRecovery::TSongRecovery(const QString& dir) : FDir(dir.isEmpty() ? DefaultDir() : dir) {}

TSongRecovery::~TSongRecovery() = default;

QString TSongRecovery::DefaultDir()
{
    return UserDataFolder() + QStringLiteral("/recovery");
}

void TSongRecovery::Own()
{
    if (FLock != nullptr)
        return;
    if (!QDir().mkpath(FDir) || !QFileInfo(FDir).isDir())
        throw EFCreateError(ToFsPath(FDir), Core::Tr("the recovery folder cannot be made"));
    // A few names at most: a name is only taken when another copy's leftover has it, and a
    // lock that cannot be made for any other reason (a full disk, no permission) will not
    // be made under another name either.
    constexpr int Attempts = 8;
    for (int attempt = 0; attempt < Attempts; ++attempt)
    {
        const QString path = QDir(FDir).filePath(
            QStringLiteral("song-%1-%2")
                .arg(QCoreApplication::applicationPid())
                .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')) +
            Suffix);
        // A file without a holder is another copy's leftover: not to be written over.
        if (QFileInfo::exists(path))
            continue;
        QLockFile::LockError why = QLockFile::NoError;
        FLock = LockBeside(path, &why);
        if (FLock != nullptr)
        {
            FPath = path;
            return;
        }
        if (why != QLockFile::LockFailedError)
            throw EFCreateError(ToFsPath(path + QStringLiteral(".lock")),
                                why == QLockFile::PermissionError
                                    ? Core::Tr("folder not writable")
                                    : Core::Tr("the lock cannot be written"));
    }
    throw EFCreateError(ToFsPath(FDir), Core::Tr("no free recovery file name"));
}

void TSongRecovery::Write(const TMusicProject& song)
{
    Own();
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out.writeRawData(Magic, sizeof Magic);
    out << QByteArray::fromStdString(song.FileName) << QByteArray::fromStdString(ToBytes(song))
        << QByteArray::fromStdString(LocksToBytes(song));
    WriteFileAtomically(ToFsPath(FPath), bytes.toStdString());
    FWritten = true;
}

void TSongRecovery::Remove()
{
    if (!FPath.isEmpty())
        QFile::remove(FPath);
    FWritten = false;
}

bool TSongRecovery::ClaimLeftOver()
{
    const QFileInfoList files =
        QDir(FDir).entryInfoList({QStringLiteral("*") + Suffix}, QDir::Files, QDir::Time);
    for (const QFileInfo& file : files)
    {
        const QString path = file.absoluteFilePath();
        if (path == FPath)
            continue;
        if (std::unique_ptr<QLockFile> lock = LockBeside(path))
        {
            // This copy's own file, if it had one, has nothing in it yet.
            if (!FWritten)
                Remove();
            FLock = std::move(lock);
            FPath = path;
            FWritten = true;
            return true;
        }
    }
    return false;
}

void TSongRecovery::Read(TMusicProject& song) const
{
    const std::string file = ReadWholeFile(ToFsPath(FPath));
    const QByteArray bytes = QByteArray::fromStdString(file);
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_0);
    char magic[sizeof Magic] = {};
    if (in.readRawData(magic, sizeof magic) != sizeof magic ||
        !std::equal(magic, magic + sizeof magic, Magic))
        throw EReadError();
    QByteArray fileName;
    QByteArray project;
    QByteArray locks;
    in >> fileName >> project >> locks;
    if (in.status() != QDataStream::Ok || !in.atEnd())
        throw EReadError();

    TMusicProject loaded;
    SongWithLocksFromBytes((project + locks).toStdString(), loaded);
    // The halves must part where the project file ends.
    if (static_cast<std::size_t>(locks.size()) != LocksToBytes(loaded).size())
        throw EReadError();

    song.Items = std::move(loaded.Items);
    song.FileName = fileName.toStdString();
}

QString TSongRecovery::SetAside()
{
    QString aside = FPath + SetAsideSuffix;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = FPath + SetAsideSuffix + QString::number(n);
    FWritten = false;
    if (QFile::rename(FPath, aside))
        return aside;
    // It stays where it is; this copy lets it be and writes to a file of its own.
    aside = FPath;
    FLock.reset();
    FPath.clear();
    return aside;
}
