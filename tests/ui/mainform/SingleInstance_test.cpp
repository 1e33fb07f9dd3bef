#include "ui/SingleInstance.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h> // chmod
#include <unistd.h>

namespace
{
QString UniqueName()
{
    return QStringLiteral("LyravaneTest-") + QUuid::createUuid().toString(QUuid::Id128);
}
} // namespace

TEST(SingleInstanceTest, SecondCopyFindsTheFirstAndAsksItToComeForward)
{
    const QString name = UniqueName();
    TSingleInstance first(name);
    EXPECT_FALSE(first.NotifyRunningCopy(200)) << "nobody runs yet";
    ASSERT_TRUE(first.Listen());
    int requests = 0;
    QObject::connect(&first, &TSingleInstance::ActivateRequested, [&requests] { ++requests; });

    TSingleInstance second(name);
    EXPECT_TRUE(second.NotifyRunningCopy(1000));
    for (int wait = 0; wait < 200 && requests == 0; ++wait)
        QTest::qWait(10);
    EXPECT_EQ(requests, 1);
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
