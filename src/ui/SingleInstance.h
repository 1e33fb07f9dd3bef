#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

#include <chrono>

class QLocalServer;
class QLocalSocket;

/// How much a flood of connections may cost the running copy.
struct TSingleInstanceLimits
{
    /// Connections open at once; a further one is closed as soon as it is accepted.
    int MaxConnections = 16;
    /// A connection that sends no whole line by then is closed.
    std::chrono::milliseconds IdleTimeout{2000};
    /// How often the running copy checks that its socket still answers.
    std::chrono::milliseconds CheckInterval{1000};
};

/// Only one copy of the program runs per user and display: the first copy listens on a local
/// socket in a folder only the user can enter; a later copy finds it there, asks it to come to
/// the front, and ends.
class TSingleInstance : public QObject
{
    Q_OBJECT

public:
    /// name: the socket's base name; the display is added to it.
    explicit TSingleInstance(const QString& name = QStringLiteral("LyravaneMutex"),
                             const TSingleInstanceLimits& limits = {}, QObject* parent = nullptr);
    ~TSingleInstance() override;

    /// The socket's full path; empty when no private folder was found for it, and then this
    /// copy runs alone without looking for others.
    const QString& ServerName() const { return FServerName; }
    /// If another copy of this user runs, asks it to come to the front and returns true.
    bool NotifyRunningCopy(int timeoutMs = 1000);
    /// Becomes the running copy (the socket other copies look for); false when that fails now.
    /// Whenever the socket stops answering later, it is set up again.
    bool Listen();
    /// Connections accepted and not yet closed.
    int OpenConnections() const { return FConnections.size(); }

signals:
    /// Another copy asked this one to come to the front.
    void ActivateRequested();

private:
    void Accept();
    void Read(QLocalSocket* socket);
    void Drop(QLocalSocket* socket);
    bool StartListening();
    void CheckServer();

    QString FServerName;
    TSingleInstanceLimits FLimits;
    QLocalServer* FServer = nullptr;
    QSet<QLocalSocket*> FConnections;
    QTimer FCheckTimer;
};

/// The folder for the socket: the user's runtime folder, else a folder of their own in the
/// temporary folder (made when missing). Empty when neither is a folder of this user that no
/// one else may enter.
QString SingleInstanceFolder();

/// Whether the process at the other end of the connected local socket fd runs as this user.
bool TrustedPeer(int fd);
