#include "ui/SingleInstance.h"

#include <QCoreApplication>
#include <QTest>
#include <QUuid>

#include <gtest/gtest.h>

TEST(SingleInstanceTest, SecondCopyFindsTheFirstAndAsksItToComeForward)
{
    const QString name =
        QStringLiteral("LyravaneTest-") + QUuid::createUuid().toString(QUuid::Id128);
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
    const QString name =
        QStringLiteral("LyravaneTest-") + QUuid::createUuid().toString(QUuid::Id128);
    auto first = std::make_unique<TSingleInstance>(name);
    ASSERT_TRUE(first->Listen());
    TSingleInstance second(name);
    first.reset();
    EXPECT_FALSE(second.NotifyRunningCopy(200));
    EXPECT_TRUE(second.Listen());
}
