#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <map>

class QSocketNotifier;

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

/// Only one copy of the program runs per user and display: the first copy listens on a Unix
/// domain socket in a folder only the user can enter; a later copy finds it there, asks it to
/// come to the front, and ends. Plain sockets under the event loop's notifiers: no networking
/// library is loaded at start-up for it.
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
    int OpenConnections() const { return static_cast<int>(FConnections.size()); }

signals:
    /// Another copy asked this one to come to the front.
    void ActivateRequested();

private:
    /// An accepted connection: what it has sent so far, and the notifier that watches it (which
    /// also tells this connection from a later one given the same descriptor).
    struct TConnection
    {
        QSocketNotifier* Notifier;
        QByteArray Received;
    };

    void Accept();
    void Read(int fd, const QSocketNotifier* notifier);
    void Drop(int fd, const QSocketNotifier* notifier);
    bool StartListening();
    /// Makes the socket and listens on it; errno says why not.
    bool Bind();
    void CloseServer();
    void CheckServer();

    QString FServerName;
    TSingleInstanceLimits FLimits;
    int FServerFd = -1;
    /// The socket file's inode once this copy has bound it: only that file is removed at the end.
    unsigned long FServerInode = 0;
    QSocketNotifier* FServerNotifier = nullptr;
    std::map<int, TConnection> FConnections;
    QTimer FCheckTimer;
};

/// The folder for the socket: the user's runtime folder, else a folder of their own in the
/// temporary folder (made when missing). Empty when neither is a folder of this user that no
/// one else may enter.
QString SingleInstanceFolder();

/// Whether the process at the other end of the connected local socket fd runs as this user.
bool TrustedPeer(int fd);
