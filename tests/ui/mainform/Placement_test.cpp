#include "ui/FormArranger.h"
#include "ui/Settings.h"
#include "ui/WindowUtils.h"

#include <QDateTime>
#include <QDialog>
#include <QSettings>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <utility>

#include <vector>

#include <tuple>

TEST(WindowPlacementTest, RecordIsFortyFourLittleEndianBytes)
{
    TWindowPlacement p;
    p.ShowCmd = TWindowPlacement::ShowMinimized;
    p.Left = 100;
    p.Top = -20;
    p.Right = 740;
    p.Bottom = 0x01020304;
    const QByteArray bytes = p.ToBytes();
    ASSERT_EQ(bytes.size(), 44);
    EXPECT_EQ(bytes.mid(0, 4), QByteArray("\x2c\0\0\0", 4));
    EXPECT_EQ(bytes.mid(8, 4), QByteArray("\x02\0\0\0", 4));
    EXPECT_EQ(bytes.mid(12, 4), QByteArray("\xff\xff\xff\xff", 4));
    EXPECT_EQ(bytes.mid(32, 4), QByteArray("\xec\xff\xff\xff", 4));
    EXPECT_EQ(bytes.mid(40, 4), QByteArray("\x04\x03\x02\x01", 4));

    const auto back = TWindowPlacement::FromBytes(bytes);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->Top, -20);
    EXPECT_EQ(back->Bottom, 0x01020304);
    EXPECT_FALSE(TWindowPlacement::FromBytes(bytes.left(43)).has_value());
    EXPECT_FALSE(TWindowPlacement::FromBytes(bytes + '\0').has_value());
}

TEST(FormArrangerTest, PlacementRoundTripsThroughTheSettings)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("s.ini"));
    QWidget window;
    window.resize(300, 200);
    TFormArranger arranger(&window, QStringLiteral("Probe"), ini);
    EXPECT_FALSE(arranger.RestorePlacement(true).has_value()) << "nothing stored yet";

    window.move(150, 75);
    window.show();
    arranger.SavePlacement();
    {
        QSettings settings(ini, QSettings::IniFormat);
        const QByteArray stored = settings.value(QStringLiteral("Probe_Placement")).toByteArray();
        ASSERT_EQ(stored.size(), 44);
        const auto p = TWindowPlacement::FromBytes(stored);
        EXPECT_EQ(p->ShowCmd, TWindowPlacement::ShowNormal);
        EXPECT_EQ(QRect(QPoint(p->Left, p->Top), QPoint(p->Right - 1, p->Bottom - 1)),
                  window.frameGeometry());
    }

    QWidget other;
    TFormArranger restorer(&other, QStringLiteral("Probe"), ini);
    EXPECT_EQ(restorer.RestorePlacement(true), TWindowPlacement::ShowNormal);
    EXPECT_EQ(other.pos(), QPoint(150, 75));

    // A stored minimised state is applied only when asked for.
    TWindowPlacement minimised =
        *TWindowPlacement::FromBytes(QSettings(ini, QSettings::IniFormat)
                                         .value(QStringLiteral("Probe_Placement"))
                                         .toByteArray());
    minimised.ShowCmd = TWindowPlacement::ShowMinimized;
    QSettings(ini, QSettings::IniFormat)
        .setValue(QStringLiteral("Probe_Placement"), minimised.ToBytes());
    QWidget third;
    TFormArranger(&third, QStringLiteral("Probe"), ini).RestorePlacement(false);
    EXPECT_FALSE(third.windowState().testFlag(Qt::WindowMinimized));
    TFormArranger(&third, QStringLiteral("Probe"), ini).RestorePlacement(true);
    EXPECT_TRUE(third.windowState().testFlag(Qt::WindowMinimized));

    // A value of the wrong size is ignored.
    QSettings(ini, QSettings::IniFormat)
        .setValue(QStringLiteral("Probe_Placement"), QByteArray(40, '\0'));
    EXPECT_FALSE(TFormArranger(&third, QStringLiteral("Probe"), ini).RestorePlacement(true));
}

TEST(WindowUtilsTest, ClampPullsBackFromRightAndBottomThenLeftAndTop)
{
    const QRect area(0, 0, 800, 600);
    EXPECT_EQ(ClampIntoArea({700, 500}, {640, 452}, area), QPoint(160, 148));
    EXPECT_EQ(ClampIntoArea({-30, -5}, {640, 452}, area), QPoint(0, 0));
    EXPECT_EQ(ClampIntoArea({10, 20}, {640, 452}, area), QPoint(10, 20));
    // Larger than the screen: it ends at the top-left corner.
    EXPECT_EQ(ClampIntoArea({50, 50}, {1000, 700}, area), QPoint(0, 0));
    EXPECT_EQ(FileNamePart(QStringLiteral("/music/song.lvp")).toStdString(), "song.lvp");
    EXPECT_EQ(FileNamePart(QStringLiteral("song.lvp")).toStdString(), "song.lvp");
}

TEST(WindowUtilsTest, KeepOnScreenAndCenterOnOwner)
{
    QWidget owner;
    owner.setGeometry(100, 100, 401, 301);
    owner.show();
    QDialog dialog(&owner);
    dialog.setFixedSize(201, 101);
    CenterOnOwner(&dialog);
    // Odd sizes: the halves are truncated, the dialog's before it is subtracted.
    const QRect outer = owner.frameGeometry();
    EXPECT_EQ(dialog.pos(), QPoint(outer.left() + outer.width() / 2 - 100,
                                   outer.top() + outer.height() / 2 - 50));

    const QRect area = ScreenWorkArea(&owner);
    QWidget far;
    far.setGeometry(area.right() + 500, area.bottom() + 500, 300, 200);
    KeepOnScreen(&far);
    EXPECT_EQ(far.frameGeometry().topLeft(),
              QPoint(area.left() + area.width() - 300, area.top() + area.height() - 200));
}

TEST(WindowUtilsTest, WhenTextSaysTodayYesterdayOrTheDate)
{
    const QDateTime now(QDate(2026, 12, 8), QTime(0, 5));
    const std::pair<QDateTime, const char*> cases[] = {
        {QDateTime(QDate(2026, 12, 8), QTime(0, 1)), "hoy, 00:01"},
        {QDateTime(QDate(2026, 12, 7), QTime(21, 42)), "ayer, 21:42"},
        {QDateTime(QDate(2026, 12, 6), QTime(9, 3)), "6/12/2026, 09:03"},
        {QDateTime(QDate(2025, 12, 8), QTime(23, 59)), "8/12/2025, 23:59"},
    };
    for (const auto& [at, text] : cases)
        EXPECT_EQ(WhenText(at, now).toStdString(), text);
}

TEST(WindowScaleTest, TheSettingIsAChoiceAndAScaleTooLargeForTheScreenIsLowered)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("settings.ini"));
    EXPECT_EQ(ReadWindowScale(ini), 100);
    for (const auto& [value, percent] : std::vector<std::pair<QVariant, int>>{
             {150, 150}, {200, 200}, {130, 100}, {QStringLiteral("mucho"), 100}, {125, 125}})
    {
        QSettings(ini, QSettings::IniFormat).setValue(QStringLiteral("Window/Scale"), value);
        EXPECT_EQ(ReadWindowScale(ini), percent) << value.toString().toStdString();
    }

    // The window's outer size at 100 % against screens' work areas.
    const QSize window(640, 452);
    const std::tuple<int, QSize, int> cases[] = {
        {200, QSize(1920, 1040), 200}, {200, QSize(1280, 900), 150},  {200, QSize(1024, 740), 150},
        {150, QSize(1024, 670), 125},  {125, QSize(800, 600), 125},   {125, QSize(800, 560), 100},
        {150, QSize(640, 400), 100},   {100, QSize(1920, 1080), 100},
    };
    for (const auto& [asked, area, fitting] : cases)
        EXPECT_EQ(FittingWindowScale(asked, window, area), fitting)
            << asked << " on " << area.width() << "x" << area.height();
}
