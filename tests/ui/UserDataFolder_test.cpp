#include "base/FileIO.h"
#include "ui/Settings.h"

#include <QCoreApplication>
#include <QScopeGuard>

#include <gtest/gtest.h>

// The command line finds the user's folder without Qt; both must find the same one.
TEST(UserDataFolderTest, IsTheFolderTheCommandLineFinds)
{
    const QString name = QCoreApplication::applicationName();
    const auto restore = qScopeGuard([&name] { QCoreApplication::setApplicationName(name); });
    QCoreApplication::setApplicationName(QStringLiteral("lyravane"));
    EXPECT_EQ(UserDataFolder().toStdString(), UserDataDir());
}
