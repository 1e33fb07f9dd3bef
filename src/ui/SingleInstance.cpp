#include "ui/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{
const QByteArray ActivateMessage = QByteArrayLiteral("activate\n");

#ifdef Q_OS_UNIX
/// A folder of this user's that no one else may enter. The folder in the shared temporary
/// folder is looked at itself, not through a link someone may have left in its place.
bool IsPrivateFolder(const QByteArray& path, bool followLink)
{
    struct stat info = {};
    const int result =
        followLink ? ::stat(path.constData(), &info) : ::lstat(path.constData(), &info);
    return result == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
           (info.st_mode & 0777) == 0700;
}
#endif

/// The socket's path. On Unix it carries the display: a copy can only bring forward a window
/// on its own screen, so copies on other displays (other sessions, test servers) run side by
/// side.
QString ServerPath(const QString& name)
{
#ifdef Q_OS_UNIX
    const QString folder = SingleInstanceFolder();
    if (folder.isEmpty())
        return {};
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("DISPLAY");
    display.replace(QLatin1Char('/'), QLatin1Char('_'));
    return folder + QLatin1Char('/') + name + QLatin1Char('-') + display;
#else
    return name + QLatin1Char('-') + qEnvironmentVariable("USERNAME");
#endif
}
} // namespace

QString SingleInstanceFolder()
{
#ifdef Q_OS_UNIX
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (runtime.startsWith('/') && IsPrivateFolder(runtime, true))
        return QFile::decodeName(runtime);
    // Anyone may make a folder by this name in the shared temporary folder before we do; one
    // that is not ours alone is not used, and this copy then runs without looking for others.
    const QByteArray own =
        QFile::encodeName(QDir::tempPath() + QStringLiteral("/lyravane-%1").arg(::geteuid()));
    if ((::mkdir(own.constData(), 0700) == 0 || errno == EEXIST) && IsPrivateFolder(own, false))
        return QFile::decodeName(own);
    qWarning("lyravane: %s cannot be this user's own folder; other copies of the program are "
             "not looked for",
             own.constData());
#endif
    return {};
}

bool TrustedPeer(int fd)
{
#if defined(Q_OS_LINUX) && defined(SO_PEERCRED)
    ucred peer{};
    socklen_t size = sizeof(peer);
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && size == sizeof(peer) &&
           peer.uid == ::geteuid();
#else
    // Here only the folder's permissions keep other users away from the socket.
    (void)fd;
    return true;
#endif
}

TSingleInstance::TSingleInstance(const QString& name, const TSingleInstanceLimits& limits,
                                 QObject* parent)
    : QObject(parent), FServerName(ServerPath(name)), FLimits(limits)
{
    connect(&FCheckTimer, &QTimer::timeout, this, &TSingleInstance::CheckServer);
}

TSingleInstance::~TSingleInstance()
{
    // The connections close with the server; they must not call back into a half-destroyed
    // copy while they do.
    for (QLocalSocket* socket : std::as_const(FConnections))
        socket->disconnect(this);
    delete FServer;
}

bool TSingleInstance::NotifyRunningCopy(int timeoutMs)
{
    if (FServerName.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(FServerName);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    // Whoever listens there as another user is not a copy of ours: this copy runs on.
    if (!TrustedPeer(int(socket.socketDescriptor())))
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
    if (FServerName.isEmpty())
        return false;
    if (!FServer)
    {
        FServer = new QLocalServer(this);
        FServer->setSocketOptions(QLocalServer::UserAccessOption);
        connect(FServer, &QLocalServer::newConnection, this, &TSingleInstance::Accept);
    }
    FCheckTimer.start(FLimits.CheckInterval);
    return StartListening();
}

bool TSingleInstance::StartListening()
{
    if (FServer->listen(FServerName))
        return true;
    if (FServer->serverError() != QAbstractSocket::AddressInUseError)
        return false;
    // The name is taken: by a copy that answers, which keeps it, or by the socket a killed
    // copy left behind.
    QLocalSocket probe;
    probe.connectToServer(FServerName);
    if (probe.waitForConnected(100))
    {
        // Another copy became the running copy as this one started; it is not watched over.
        FCheckTimer.stop();
        return false;
    }
    QLocalServer::removeServer(FServerName);
    return FServer->listen(FServerName);
}

void TSingleInstance::CheckServer()
{
    // When an accept fails (say, with the descriptors used up) QLocalServer closes its socket
    // and removes its file without a signal; the file may also be removed under it. Later
    // copies would then not find this one and open a second window.
#ifdef Q_OS_UNIX
    const bool reachable = FServer->socketDescriptor() != -1 && QFileInfo::exists(FServerName);
#else
    const bool reachable = true;
#endif
    if (FServer->isListening() && reachable)
        return;
    FServer->close();
    StartListening();
}

void TSingleInstance::Accept()
{
    while (QLocalSocket* socket = FServer->nextPendingConnection())
    {
        // Past the cap, or from another user, a connection is closed at once: held open, a
        // flood of them would use up this copy's descriptors and it could save nothing more.
        if (FConnections.size() >= FLimits.MaxConnections ||
            !TrustedPeer(int(socket->socketDescriptor())))
        {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        FConnections.insert(socket);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] { Drop(socket); });
        QTimer::singleShot(FLimits.IdleTimeout, socket, [this, socket] { Drop(socket); });
    }
}

void TSingleInstance::Read(QLocalSocket* socket)
{
    // A copy sends one short line and nothing more.
    if (!socket->canReadLine())
    {
        if (socket->bytesAvailable() > ActivateMessage.size())
            Drop(socket);
        return;
    }
    const bool activate = socket->read(ActivateMessage.size()) == ActivateMessage;
    Drop(socket);
    if (activate)
        emit ActivateRequested();
}

void TSingleInstance::Drop(QLocalSocket* socket)
{
    if (!FConnections.remove(socket))
        return;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}
