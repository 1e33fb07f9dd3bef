#include "ui/SingleInstance.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h> // chmod
#include <sys/un.h>
#include <unistd.h>

namespace
{
QString UniqueName()
{
    return QStringLiteral("LyravaneTest-") + QUuid::createUuid().toString(QUuid::Id128);
}

/// A bare connection, as a hostile program holds it; -1 once no descriptor is left.
int Connect(const QString& path)
{
    sockaddr_un address{AF_UNIX, {}};
    qstrncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof(address.sun_path));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0)
        return ::close(fd), -1;
    return fd;
}

/// Whether a later copy finds the first one within a second and the first one hears it.
bool ComesForward(TSingleInstance& first, const QString& name)
{
    int requests = 0;
    QObject counter;
    QObject::connect(&first, &TSingleInstance::ActivateRequested, &counter,
                     [&requests] { ++requests; });
    for (int wait = 0; wait < 100 && !TSingleInstance(name).NotifyRunningCopy(100); ++wait)
        QTest::qWait(10);
    for (int wait = 0; wait < 200 && requests == 0; ++wait)
        QTest::qWait(10);
    return requests == 1;
}
} // namespace

TEST(SingleInstanceTest, SecondCopyFindsTheFirstAndAsksItToComeForward)
{
    const QString name = UniqueName();
    TSingleInstance first(name);
    EXPECT_FALSE(first.NotifyRunningCopy(200)) << "nobody runs yet";
    ASSERT_TRUE(first.Listen());
    EXPECT_TRUE(ComesForward(first, name));
}

TEST(SingleInstanceTest, AfterTheFirstCopyEndsTheNextOneBecomesTheRunningCopy)
{
    const QString name = UniqueName();
    auto first = std::make_unique<TSingleInstance>(name);
    ASSERT_TRUE(first->Listen());
    TSingleInstance second(name);
    first.reset();
    EXPECT_FALSE(second.NotifyRunningCopy(200));
    EXPECT_TRUE(second.Listen());
}

TEST(SingleInstanceTest, OnlyThisUserCanReachTheSocketOrAnswerOnIt)
{
    const QByteArray oldTemp = qgetenv("TMPDIR"), oldRuntime = qgetenv("XDG_RUNTIME_DIR");
    QTemporaryDir runtime, temp;
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    EXPECT_TRUE(TSingleInstance().ServerName().startsWith(runtime.path() + '/'));
    const QString own = temp.path() + QStringLiteral("/lyravane-%1").arg(::geteuid());
    ::chmod(QFile::encodeName(runtime.path()).constData(), 0755);
    EXPECT_TRUE(TSingleInstance().ServerName().startsWith(own + '/')) << "others may look in";
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_TRUE(TSingleInstance().ServerName().startsWith(own + '/'));
    ::chmod(QFile::encodeName(own).constData(), 0777);
    EXPECT_FALSE(TSingleInstance().Listen()) << "others may replace the socket";
    qputenv("TMPDIR", oldTemp);
    qputenv("XDG_RUNTIME_DIR", oldRuntime);

    // Run as root, the test makes a connected pair as another user too.
    int theirs[2];
    if (::geteuid() == 0 && ::seteuid(65534) == 0)
    {
        const int made = ::socketpair(AF_UNIX, SOCK_STREAM, 0, theirs);
        ASSERT_EQ(::seteuid(0) + made, 0);
        EXPECT_FALSE(TrustedPeer(theirs[0]));
        ::close(theirs[0]);
        ::close(theirs[1]);
    }
}

TEST(SingleInstanceTest, TheRunningCopyOutlivesAFloodAndTheLossOfItsSocket)
{
    const QString name = UniqueName();
    TSingleInstance first(name, {4, std::chrono::milliseconds(100), std::chrono::milliseconds(50)});
    ASSERT_TRUE(first.Listen());
    std::vector<int> held;
    int most = 0;
    for (int i = 0; i < 200; ++i, most = std::max(most, first.OpenConnections()))
    {
        held.push_back(Connect(first.ServerName()));
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(most, 4);
    QTest::qWait(500);
    char byte;
    EXPECT_TRUE(std::all_of(held.begin(), held.end(),
                            [&byte](int fd) { return ::recv(fd, &byte, 1, MSG_DONTWAIT) == 0; }))
        << "each closed at once or when idle";
    EXPECT_TRUE(ComesForward(first, name));

    // Out of descriptors, the server's accept fails and the copy closes its socket.
    int highest = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        highest = std::max(highest, std::stoi(entry.path().filename().string()));
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    const rlimit low{rlim_t(highest + 16), saved.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);
    for (int fd; (fd = ::open("/dev/null", O_RDONLY)) >= 0;)
        held.push_back(fd);
    for (int free = 0; free < 4; ++free, held.pop_back())
        ::close(held.back());
    for (int fd; (fd = Connect(first.ServerName())) >= 0;)
        held.push_back(fd);
    QTest::qWait(200);
    ::setrlimit(RLIMIT_NOFILE, &saved);
    for (int fd : held)
        ::close(fd);
    EXPECT_TRUE(ComesForward(first, name)) << "after running out of descriptors";
    QFile::remove(first.ServerName());
    EXPECT_TRUE(ComesForward(first, name)) << "after its socket was removed";
}
