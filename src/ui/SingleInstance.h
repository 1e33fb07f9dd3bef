#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

/// Only one copy of the program runs per user and display: the first copy listens on a local
/// socket in a folder only the user can enter; a later copy finds it there, asks it to come to
/// the front, and ends.
class TSingleInstance : public QObject
{
    Q_OBJECT

public:
    /// name: the socket's base name; the display is added to it.
    explicit TSingleInstance(const QString& name = QStringLiteral("LyravaneMutex"),
                             QObject* parent = nullptr);
    ~TSingleInstance() override;

    /// The socket's full path; empty when no private folder was found for it, and then this
    /// copy runs alone without looking for others.
    const QString& ServerName() const { return FServerName; }
    /// If another copy of this user runs, asks it to come to the front and returns true.
    bool NotifyRunningCopy(int timeoutMs = 1000);
    /// Becomes the running copy (the socket other copies look for); false when that fails.
    bool Listen();

signals:
    /// Another copy asked this one to come to the front.
    void ActivateRequested();

private:
    void Accept();

    QString FServerName;
    QLocalServer* FServer = nullptr;
};

/// The folder for the socket: the user's runtime folder, else a folder of their own in the
/// temporary folder (made when missing). Empty when neither is a folder of this user that no
/// one else may enter.
QString SingleInstanceFolder();

/// Whether the process at the other end of the connected local socket fd runs as this user.
bool TrustedPeer(int fd);
