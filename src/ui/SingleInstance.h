#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

/// Only one copy of the program runs per user: the first copy listens on a local socket named
/// after "LyravaneMutex"; a later copy finds it there, asks it to come to the front, and ends.
class TSingleInstance : public QObject
{
    Q_OBJECT

public:
    /// name: the marker's base name; the user's identity is added to it.
    explicit TSingleInstance(const QString& name = QStringLiteral("LyravaneMutex"),
                             QObject* parent = nullptr);
    ~TSingleInstance() override;

    /// The socket name actually used.
    const QString& ServerName() const { return FServerName; }
    /// If another copy runs, asks it to come to the front and returns true.
    bool NotifyRunningCopy(int timeoutMs = 1000);
    /// Becomes the running copy (the marker other copies look for); false when that fails.
    bool Listen();

signals:
    /// Another copy asked this one to come to the front.
    void ActivateRequested();

private:
    void Accept();

    QString FServerName;
    QLocalServer* FServer = nullptr;
};
