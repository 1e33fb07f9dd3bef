#include "ui/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace
{
const QByteArray ActivateMessage = QByteArrayLiteral("activate\n");
/// Connections a listening socket queues before it accepts them.
constexpr int Backlog = 32;

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

/// The socket's path. It carries the display: a copy can only bring forward a window on its
/// own screen, so copies on other displays (other sessions, test servers) run side by side.
QString ServerPath(const QString& name)
{
    const QString folder = SingleInstanceFolder();
    if (folder.isEmpty())
        return {};
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("DISPLAY");
    display.replace(QLatin1Char('/'), QLatin1Char('_'));
    return folder + QLatin1Char('/') + name + QLatin1Char('-') + display;
}

/// The socket address of path; false when the path is too long for one.
bool SocketAddress(const QString& path, sockaddr_un& address)
{
    const QByteArray bytes = QFile::encodeName(path);
    address = sockaddr_un{};
    address.sun_family = AF_UNIX;
    if (bytes.isEmpty() || static_cast<std::size_t>(bytes.size()) >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return true;
}

/// A connection to the socket at path, -1 when none is made within timeoutMs. A listener
/// whose queue is full is tried again until then.
int ConnectTo(const QString& path, int timeoutMs)
{
    sockaddr_un address{};
    if (!SocketAddress(path, address))
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    constexpr int RetryMs = 10;
    for (int waited = 0;; waited += RetryMs)
    {
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
            return fd;
        if ((errno != EAGAIN && errno != EINTR) || waited >= timeoutMs)
            break;
        ::poll(nullptr, 0, RetryMs);
    }
    ::close(fd);
    return -1;
}

/// Writes all of data within timeoutMs; false when it cannot.
bool SendAll(int fd, const QByteArray& data, int timeoutMs)
{
    qsizetype sent = 0;
    while (sent < data.size())
    {
        const ssize_t n = ::send(fd, data.constData() + sent,
                                 static_cast<std::size_t>(data.size() - sent), MSG_NOSIGNAL);
        if (n > 0)
        {
            sent += n;
            continue;
        }
        pollfd writable{fd, POLLOUT, 0};
        if ((n < 0 && errno != EAGAIN && errno != EINTR) || ::poll(&writable, 1, timeoutMs) <= 0)
            return false;
    }
    return true;
}

/// The inode of the file at path; 0 when there is none.
unsigned long InodeOf(const QString& path)
{
    struct stat info = {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}
} // namespace

QString SingleInstanceFolder()
{
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
    // The connections close with the server, without calling back into this copy.
    for (auto& [fd, connection] : FConnections)
    {
        delete connection.Notifier;
        ::close(fd);
    }
    FConnections.clear();
    CloseServer();
    // The file goes with the copy that made it, never one a later copy has made since.
    if (FServerInode != 0 && InodeOf(FServerName) == FServerInode)
        ::unlink(QFile::encodeName(FServerName).constData());
}

bool TSingleInstance::NotifyRunningCopy(int timeoutMs)
{
    if (FServerName.isEmpty())
        return false;
    const int fd = ConnectTo(FServerName, timeoutMs);
    if (fd < 0)
        return false;
    // Whoever listens there as another user is not a copy of ours: this copy runs on.
    const bool trusted = TrustedPeer(fd);
    if (trusted)
        SendAll(fd, ActivateMessage, timeoutMs);
    ::close(fd);
    return trusted;
}

bool TSingleInstance::Listen()
{
    if (FServerName.isEmpty())
        return false;
    FCheckTimer.start(FLimits.CheckInterval);
    return StartListening();
}

bool TSingleInstance::Bind()
{
    sockaddr_un address{};
    if (!SocketAddress(FServerName, address))
    {
        errno = ENAMETOOLONG;
        return false;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, Backlog) != 0)
    {
        const int error = errno;
        ::close(fd);
        errno = error;
        return false;
    }
    // Only this user may connect, whatever the umask.
    ::chmod(address.sun_path, S_IRWXU);
    FServerFd = fd;
    FServerInode = InodeOf(FServerName);
    FServerNotifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(FServerNotifier, &QSocketNotifier::activated, this, &TSingleInstance::Accept);
    return true;
}

bool TSingleInstance::StartListening()
{
    if (Bind())
        return true;
    if (errno != EADDRINUSE)
        return false;
    // The name is taken: by a copy that answers, which keeps it, or by the socket a killed
    // copy left behind.
    if (const int probe = ConnectTo(FServerName, 100); probe >= 0)
    {
        ::close(probe);
        // Another copy became the running copy as this one started; it is not watched over.
        FCheckTimer.stop();
        return false;
    }
    ::unlink(QFile::encodeName(FServerName).constData());
    return Bind();
}

void TSingleInstance::CloseServer()
{
    delete FServerNotifier;
    FServerNotifier = nullptr;
    if (FServerFd >= 0)
        ::close(FServerFd);
    FServerFd = -1;
}

void TSingleInstance::CheckServer()
{
    // The file may be removed or replaced under the socket; later copies would then not find
    // this one and open a second window.
    if (FServerFd >= 0 && InodeOf(FServerName) == FServerInode)
        return;
    CloseServer();
    StartListening();
}

void TSingleInstance::Accept()
{
    for (;;)
    {
        const int fd = ::accept4(FServerFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
        {
            if (errno == EINTR)
                continue;
            // Out of descriptors, the socket is closed (watched, it would wake this copy for
            // ever) and set up afresh by the next check, with an empty queue.
            if (errno != EAGAIN && errno != EWOULDBLOCK)
                CloseServer();
            return;
        }
        // Past the cap, or from another user, a connection is closed at once: held open, a
        // flood of them would use up this copy's descriptors and it could save nothing more.
        if (FConnections.size() >= static_cast<std::size_t>(FLimits.MaxConnections) ||
            !TrustedPeer(fd))
        {
            ::close(fd);
            continue;
        }
        auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        FConnections[fd] = {notifier, {}};
        connect(notifier, &QSocketNotifier::activated, this,
                [this, fd, notifier] { Read(fd, notifier); });
        QTimer::singleShot(FLimits.IdleTimeout, notifier,
                           [this, fd, notifier] { Drop(fd, notifier); });
    }
}

void TSingleInstance::Read(int fd, const QSocketNotifier* notifier)
{
    const auto found = FConnections.find(fd);
    if (found == FConnections.end() || found->second.Notifier != notifier)
        return;
    char buffer[64];
    const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
    if (got < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (got <= 0)
    {
        Drop(fd, notifier);
        return;
    }
    // A copy sends one short line and nothing more.
    QByteArray& received = found->second.Received;
    received.append(buffer, got);
    const qsizetype end = received.indexOf('\n');
    if (end < 0)
    {
        if (received.size() > ActivateMessage.size())
            Drop(fd, notifier);
        return;
    }
    const bool activate = received.left(end + 1) == ActivateMessage;
    Drop(fd, notifier);
    if (activate)
        emit ActivateRequested();
}

void TSingleInstance::Drop(int fd, const QSocketNotifier* notifier)
{
    const auto found = FConnections.find(fd);
    if (found == FConnections.end() || found->second.Notifier != notifier)
        return;
    // Called from the notifier's own signal too: it goes once control is back in the loop.
    found->second.Notifier->setEnabled(false);
    found->second.Notifier->deleteLater();
    FConnections.erase(found);
    ::close(fd);
}
