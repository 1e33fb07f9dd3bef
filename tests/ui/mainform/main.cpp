#include "midi/ArrangeList.h"

#include <QApplication>
#include <QFont>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

/// The copy of the program that the recovery test kills (Recovery_test.cpp).
int RunRecoveryChild(const QString& dir);

int main(int argc, char** argv)
{
    // Test discovery runs this program outside CTest's environment too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 3 && std::strcmp(argv[1], "--recovery-child") == 0)
    {
        // Its settings and files, temporary ones included, are in the test's directory: it
        // is killed, and cannot clean up.
        qputenv("XDG_CONFIG_HOME", argv[2]);
        qputenv("XDG_DATA_HOME", argv[2]);
        qputenv("TMPDIR", argv[2]);
        QApplication app(argc, argv);
        return RunRecoveryChild(QString::fromLocal8Bit(argv[2]));
    }
    // Nothing a test does may reach the user's own settings or data (the recovery files).
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QFont font = QApplication::font();
    font.setPointSize(9);
    QApplication::setFont(font);
    LoadPatternLibraries(LYRAVANE_BIN_DIR "/PATTERN");
    return RUN_ALL_TESTS();
}
