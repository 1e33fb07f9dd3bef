#include "controls/ImageListEx.h"
#include "controls/MenuButton.h"
#include "controls/MenuButtonActionLink.h"
#include "controls/SpeedDivider.h"

#include <QAction>
#include <QApplication>
#include <QEnterEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <set>

namespace
{

const QColor ParentColour(10, 120, 30);
const QColor Face(200, 200, 200);
const QColor Highlight(255, 255, 255);
const QColor Shadow(100, 100, 100);
const QColor ImageColour(0, 0, 255);
const QColor DisabledImageColour(255, 128, 0);

/// A 16 × 16 list of 2 images: a single pixel of colour at (0, 0), the rest transparent.
QImage DotStrip(const QColor& colour)
{
    QImage strip(16, 32, QImage::Format_RGB32);
    strip.fill(qRgb(255, 0, 255));
    strip.setPixelColor(0, 0, colour);
    strip.setPixelColor(0, 16, colour);
    return strip;
}

/// A 23 × 22 flat button on a parent of a known colour, with an image pair of known colours.
class MenuButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Images.LoadStrip(DotStrip(ImageColour));
        DisabledImages.LoadStrip(DotStrip(DisabledImageColour));
        Images.SetDisabledImages(&DisabledImages);

        QPalette parentPalette = Window.palette();
        parentPalette.setColor(QPalette::Window, ParentColour);
        Window.setPalette(parentPalette);
        Window.setAutoFillBackground(true);
        Window.resize(200, 100);
        Button = new TMenuButton(&Window);
        QPalette pal = Button->palette();
        pal.setColor(QPalette::Button, Face);
        pal.setColor(QPalette::Light, Highlight);
        pal.setColor(QPalette::Dark, Shadow);
        Button->setPalette(pal);
        Button->move(20, 20);
        Button->SetFlat(true);
        Button->SetImages(&Images);
        Button->SetImageIndex(0);
        Window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    }

    QImage Grab() { return Window.grab(Button->geometry()).toImage(); }

    void Enter()
    {
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(Button, &enter);
    }

    void Leave()
    {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(Button, &leave);
    }

    // Flat button of 23 × 22: inside the 1-pixel edge, the 16 × 16 image sits at (3, 3).
    static constexpr QPoint ImageAt{3, 3};

    TImageListEx Images;
    TImageListEx DisabledImages;
    QWidget Window;
    TMenuButton* Button = nullptr;
};

TEST_F(MenuButtonTest, AFlatTransparentButtonShowsOnlyItsImageAndLightsUnderTheMouse)
{
    EXPECT_EQ(Button->size(), QSize(23, 22));
    QImage image = Grab();
    EXPECT_EQ(image.pixelColor(0, 0), ParentColour);
    EXPECT_EQ(image.pixelColor(22, 21), ParentColour);
    EXPECT_EQ(image.pixelColor(10, 10), ParentColour);
    EXPECT_EQ(image.pixelColor(ImageAt), ImageColour);

    Enter();
    EXPECT_TRUE(Button->MouseInControl());
    image = Grab();
    EXPECT_EQ(image.pixelColor(0, 0), Highlight) << "raised edge";
    EXPECT_EQ(image.pixelColor(22, 21), Shadow);
    EXPECT_EQ(image.pixelColor(10, 10), ParentColour) << "transparent inside";

    Leave();
    EXPECT_FALSE(Button->MouseInControl());
    EXPECT_EQ(Grab().pixelColor(0, 0), ParentColour);
}

TEST_F(MenuButtonTest, PressedShowsASunkenEdgeAndMovesTheImageOnePixel)
{
    Enter();
    QTest::mousePress(Button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(Button->State(), TMenuButton::TState::Pressed);
    EXPECT_TRUE(Button->Tracking());
    const QImage image = Grab();
    EXPECT_EQ(image.pixelColor(0, 0), Shadow) << "sunken edge";
    EXPECT_EQ(image.pixelColor(22, 21), Highlight);
    EXPECT_EQ(image.pixelColor(ImageAt + QPoint(1, 1)), ImageColour);
    EXPECT_NE(image.pixelColor(ImageAt), ImageColour);
    QTest::mouseRelease(Button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
}

TEST_F(MenuButtonTest, ReleasingInsideClicksAndReleasingOutsideDoesNot)
{
    QSignalSpy click(Button, &TMenuButton::Click);
    QTest::mousePress(Button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseMove(Button, QPoint(40, 10));
    EXPECT_EQ(Button->State(), TMenuButton::TState::Up) << "pointer dragged off";
    QTest::mouseMove(Button, QPoint(12, 10));
    EXPECT_EQ(Button->State(), TMenuButton::TState::Pressed) << "and back on";
    QTest::mouseRelease(Button, Qt::LeftButton, Qt::NoModifier, QPoint(40, 10));
    EXPECT_EQ(click.count(), 0);
    EXPECT_EQ(Button->State(), TMenuButton::TState::Up);
    EXPECT_FALSE(Button->Tracking());

    QTest::mousePress(Button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseRelease(Button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(click.count(), 1);
    EXPECT_EQ(Button->State(), TMenuButton::TState::Up);

    QTest::mouseClick(Button, Qt::RightButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(click.count(), 1) << "only the left button clicks";
}

TEST_F(MenuButtonTest, ALatchedButtonStaysLatchedWhenReleasedOutside)
{
    Button->SetDown(true);
    EXPECT_EQ(Button->State(), TMenuButton::TState::Latched);
    QSignalSpy click(Button, &TMenuButton::Click);
    QTest::mousePress(Button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(Button->State(), TMenuButton::TState::Latched);
    QTest::mouseMove(Button, QPoint(40, 40));
    EXPECT_EQ(Button->State(), TMenuButton::TState::Latched);
    QTest::mouseRelease(Button, Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
    EXPECT_EQ(click.count(), 0);
    EXPECT_EQ(Button->State(), TMenuButton::TState::Latched);
}

TEST_F(MenuButtonTest, ALatchedButtonNotUnderTheMouseShowsTheDitherPattern)
{
    Button->SetDown(true);
    QImage image = Grab();
    // Inside the sunken edge, away from the image: face and highlight alternate.
    for (int y = 14; y < 18; ++y)
    {
        for (int x = 14; x < 18; ++x)
        {
            const QColor expected =
                (x + y) % 2 == 0 ? image.pixelColor(14, 14) : image.pixelColor(15, 14);
            EXPECT_EQ(image.pixelColor(x, y), expected) << x << "," << y;
        }
    }
    const std::set<QRgb> colours = {image.pixelColor(14, 14).rgb(), image.pixelColor(15, 14).rgb()};
    EXPECT_EQ(colours, (std::set<QRgb>{Face.rgb(), Highlight.rgb()}));
    EXPECT_EQ(image.pixelColor(0, 0), Shadow);
    EXPECT_EQ(image.pixelColor(ImageAt + QPoint(1, 1)), ImageColour);

    Enter();
    image = Grab();
    EXPECT_EQ(image.pixelColor(14, 14), ParentColour) << "no dither while lit";
    EXPECT_EQ(image.pixelColor(15, 14), ParentColour);
}

TEST_F(MenuButtonTest, ADisabledButtonDrawsTheSameIndexFromTheDisabledList)
{
    Button->setEnabled(false);
    EXPECT_EQ(Button->State(), TMenuButton::TState::Disabled);
    QImage image = Grab();
    EXPECT_EQ(image.pixelColor(ImageAt), DisabledImageColour);
    Button->SetImageIndex(1);
    EXPECT_EQ(Grab().pixelColor(ImageAt), DisabledImageColour);
    Button->setEnabled(true);
    EXPECT_EQ(Button->State(), TMenuButton::TState::Up);
    EXPECT_EQ(Grab().pixelColor(ImageAt), ImageColour);

    Button->SetDown(true);
    Button->setEnabled(false);
    Button->setEnabled(true);
    EXPECT_EQ(Button->State(), TMenuButton::TState::Latched) << "latched again once enabled";
}

TEST_F(MenuButtonTest, AnOpaqueButtonFillsItsFace)
{
    Button->SetTransparent(false);
    const QImage image = Grab();
    EXPECT_EQ(image.pixelColor(0, 0), Face);
    EXPECT_EQ(image.pixelColor(10, 10), Face);
}

TEST_F(MenuButtonTest, ANonFlatButtonHasAFrameAndPressesIn)
{
    Button->SetFlat(false);
    QImage image = Grab();
    EXPECT_NE(image.pixelColor(0, 0), ParentColour);
    EXPECT_EQ(image.pixelColor(10, 10), Face);
    // Not flat, the image sits inside a 2-pixel frame: x = 2 + (19 − 16) / 2.
    EXPECT_EQ(image.pixelColor(3, 3), ImageColour);
    QTest::mousePress(Button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(Grab().pixelColor(4, 4), ImageColour);
    QTest::mouseRelease(Button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
}

TEST_F(MenuButtonTest, TheBoundActionDrivesTheButtonAndRunsOnClick)
{
    QAction action(QStringLiteral("&Reproducir"));
    action.setToolTip(QStringLiteral("Reproducir cancion"));
    action.setStatusTip(QStringLiteral("Reproducir cancion actual."));
    TMenuButtonActionLink::SetActionImageIndex(&action, 1);
    QSignalSpy triggered(&action, &QAction::triggered);
    Button->SetAction(&action);
    EXPECT_EQ(Button->Action(), &action);
    EXPECT_EQ(Button->ImageIndex(), 1);
    EXPECT_EQ(Button->toolTip(), QStringLiteral("Reproducir cancion"));
    EXPECT_EQ(Button->statusTip(), QStringLiteral("Reproducir cancion actual."));

    QTest::mouseClick(Button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(triggered.count(), 1);

    action.setEnabled(false);
    EXPECT_FALSE(Button->isEnabled());
    EXPECT_EQ(Button->State(), TMenuButton::TState::Disabled);
    action.setEnabled(true);
    EXPECT_TRUE(Button->isEnabled());

    action.setVisible(false);
    EXPECT_FALSE(Button->isVisible());
    action.setVisible(true);
    EXPECT_TRUE(Button->isVisible());

    TMenuButtonActionLink::SetActionImageIndex(&action, 0);
    EXPECT_EQ(Button->ImageIndex(), 0);

    Button->SetAction(nullptr);
    QTest::mouseClick(Button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(triggered.count(), 1) << "unbound";
}

TEST_F(MenuButtonTest, ACheckableActionLatchesTheButton)
{
    QAction action(QStringLiteral("Bloqueado"));
    action.setCheckable(true);
    Button->SetAction(&action);
    EXPECT_FALSE(Button->Down());
    QTest::mouseClick(Button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_TRUE(action.isChecked());
    EXPECT_TRUE(Button->Down());
    EXPECT_EQ(Button->State(), TMenuButton::TState::Latched);
    action.setChecked(false);
    EXPECT_FALSE(Button->Down());
    EXPECT_EQ(Button->State(), TMenuButton::TState::Up);
}

TEST_F(MenuButtonTest, AButtonOutOfStepWithTheActionKeepsItsOwnDownState)
{
    QAction action(QStringLiteral("x"));
    action.setCheckable(true);
    Button->SetAction(&action);
    Button->SetDown(true); // set by hand: no longer in step
    action.setChecked(true);
    EXPECT_TRUE(Button->Down());
    action.setChecked(false);
    EXPECT_FALSE(Button->Down()) << "in step again, so it follows";
}

TEST_F(MenuButtonTest, ADropdownMenuOpensOnPressWithoutAClick)
{
    QMenu menu;
    menu.addAction(QStringLiteral("Archivo 1"));
    Button->SetDropdownMenu(&menu);
    QSignalSpy click(Button, &TMenuButton::Click);
    QSignalSpy shown(&menu, &QMenu::aboutToShow);
    TMenuButton::TState stateWhileOpen = TMenuButton::TState::Up;
    QPoint openedAt;
    QObject::connect(&menu, &QMenu::aboutToShow, &menu,
                     [&]
                     {
                         stateWhileOpen = Button->State();
                         QTimer::singleShot(0, &menu,
                                            [&]
                                            {
                                                openedAt = menu.pos();
                                                menu.close();
                                            });
                     });
    QTest::mousePress(Button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(shown.count(), 1);
    EXPECT_EQ(stateWhileOpen, TMenuButton::TState::Pressed);
    EXPECT_EQ(Button->State(), TMenuButton::TState::Up);
    EXPECT_EQ(click.count(), 0);
    EXPECT_EQ(openedAt.x(), Button->mapToGlobal(QPoint(0, 0)).x());
    QTest::mouseRelease(Button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(click.count(), 0);
    {
        QMenu gone;
        Button->SetDropdownMenu(&gone);
    }
    EXPECT_EQ(Button->DropdownMenu(), nullptr) << "told when the menu is freed";
}

TEST_F(MenuButtonTest, UpdateHoverFollowsTheCursor)
{
    Enter();
    ASSERT_TRUE(Button->MouseInControl());
    QCursor::setPos(Window.mapToGlobal(QPoint(150, 80)));
    Button->UpdateHover();
    EXPECT_FALSE(Button->MouseInControl());
    QCursor::setPos(Button->mapToGlobal(QPoint(5, 5)));
    Button->UpdateHover();
    EXPECT_TRUE(Button->MouseInControl());
}

TEST_F(MenuButtonTest, DoubleClickIsReportedOnlyWhenLatched)
{
    QSignalSpy doubleClick(Button, &TMenuButton::DblClick);
    QTest::mouseDClick(Button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(doubleClick.count(), 0);
    Button->SetDown(true);
    QTest::mouseDClick(Button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(doubleClick.count(), 1);
}

TEST(SpeedDividerTest, DrawsAShadowAndAHighlightLineInTheMiddle)
{
    QWidget window;
    auto* divider = new TSpeedDivider(&window);
    QPalette pal = divider->palette();
    pal.setColor(QPalette::Dark, Shadow);
    pal.setColor(QPalette::Light, Highlight);
    divider->setPalette(pal);
    EXPECT_EQ(divider->size(), QSize(8, 50));
    window.show();
    const QImage image = divider->grab().toImage();
    for (int y : {0, 25, 49})
    {
        EXPECT_EQ(image.pixelColor(3, y), Shadow);
        EXPECT_EQ(image.pixelColor(4, y), Highlight);
    }
}

} // namespace
