#include "ui/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace
{
const QByteArray ActivateMessage = QByteArrayLiteral("activate\n");

/// The user and, on Unix, the display: a copy can only bring forward a window on its own
/// screen, so copies on other displays (other sessions, test servers) run side by side.
QString UserTag()
{
#ifdef Q_OS_UNIX
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("DISPLAY");
    display.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QString::number(::getuid()) + QLatin1Char('-') + display;
#else
    return qEnvironmentVariable("USERNAME");
#endif
}
} // namespace

TSingleInstance::TSingleInstance(const QString& name, QObject* parent)
    : QObject(parent), FServerName(name + QLatin1Char('-') + UserTag())
{
}

TSingleInstance::~TSingleInstance() = default;

bool TSingleInstance::NotifyRunningCopy(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(FServerName);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(ActivateMessage);
    socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return true;
}

bool TSingleInstance::Listen()
{
    FServer = new QLocalServer(this);
    FServer->setSocketOptions(QLocalServer::UserAccessOption);
    connect(FServer, &QLocalServer::newConnection, this, &TSingleInstance::Accept);
    if (FServer->listen(FServerName))
        return true;
    // A copy that was killed leaves its socket behind; nobody answered on it just now.
    QLocalServer::removeServer(FServerName);
    return FServer->listen(FServerName);
}

void TSingleInstance::Accept()
{
    while (QLocalSocket* socket = FServer->nextPendingConnection())
    {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this,
                [this, socket]
                {
                    if (socket->readAll().contains(ActivateMessage.trimmed()))
                        emit ActivateRequested();
                });
    }
}
