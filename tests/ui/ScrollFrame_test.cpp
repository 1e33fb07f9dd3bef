#include "controls/ScrollFrame.h"

#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace
{

class ScrollFrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Window.resize(300, 200);
        Frame = new TScrollFrame(&Window);
        Window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    }

    QWidget Window;
    TScrollFrame* Frame = nullptr;
};

TEST_F(ScrollFrameTest, StartsWithItsDefaultsAndBothBarsShownDisabled)
{
    EXPECT_EQ(Frame->size(), QSize(185, 129));
    TScrollFrameBar* horz = Frame->HorzScrollBar();
    EXPECT_EQ(horz->Kind(), TScrollBarKind::Horizontal);
    EXPECT_EQ(Frame->VertScrollBar()->Kind(), TScrollBarKind::Vertical);
    EXPECT_EQ(horz->Increment(), 8);
    EXPECT_EQ(horz->Range(), 0);
    EXPECT_TRUE(horz->Visible());
    EXPECT_TRUE(Frame->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(Frame->horizontalScrollBar()->isEnabled());
    EXPECT_EQ(Frame->BorderStyle(), TScrollFrame::TBorderStyle::Single);
    EXPECT_NE(Frame->frameWidth(), 0);
}

TEST_F(ScrollFrameTest, PositionIsClampedToRangeLessPageSize)
{
    TScrollFrameBar* bar = Frame->HorzScrollBar();
    bar->SetRange(100);
    bar->SetPageSize(30);
    bar->SetPosition(90);
    EXPECT_EQ(bar->Position(), 70);
    EXPECT_EQ(Frame->horizontalScrollBar()->value(), 70);
    EXPECT_EQ(Frame->horizontalScrollBar()->maximum(), 70);
    EXPECT_TRUE(Frame->horizontalScrollBar()->isEnabled());
    bar->SetPosition(-5);
    EXPECT_EQ(bar->Position(), 0);
    bar->SetPosition(50);
    bar->SetRange(60);
    EXPECT_EQ(bar->Position(), 30) << "a shrinking range pulls the position back";
}

TEST_F(ScrollFrameTest, NegativeSizesBecomeZero)
{
    TScrollFrameBar* bar = Frame->VertScrollBar();
    bar->SetRange(-10);
    bar->SetPageSize(-3);
    EXPECT_EQ(bar->Range(), 0);
    EXPECT_EQ(bar->PageSize(), 0);
    EXPECT_EQ(bar->Position(), 0);
}

TEST_F(ScrollFrameTest, APageAsLargeAsTheRangeLeavesTheBarShownButDisabled)
{
    TScrollFrameBar* bar = Frame->VertScrollBar();
    bar->SetRange(50);
    bar->SetPageSize(50);
    EXPECT_TRUE(Frame->verticalScrollBar()->isVisible());
    EXPECT_FALSE(Frame->verticalScrollBar()->isEnabled());
    bar->SetPageSize(49);
    EXPECT_TRUE(Frame->verticalScrollBar()->isEnabled());
}

TEST_F(ScrollFrameTest, EveryBarUpdateRaisesChange)
{
    QSignalSpy change(Frame, &TScrollFrame::Change);
    TScrollFrameBar* bar = Frame->HorzScrollBar();
    bar->SetRange(100);
    bar->SetPageSize(30);
    bar->SetVisible(false);
    EXPECT_EQ(change.count(), 3);
    EXPECT_FALSE(Frame->horizontalScrollBar()->isVisible());
}

TEST_F(ScrollFrameTest, ScrollActionsStepByIncrementAndPage)
{
    TScrollFrameBar* bar = Frame->HorzScrollBar();
    bar->SetRange(100);
    bar->SetPageSize(30);
    bar->SetIncrement(8);
    QScrollBar* scrollBar = Frame->horizontalScrollBar();
    QSignalSpy change(Frame, &TScrollFrame::Change);
    scrollBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(bar->Position(), 8);
    scrollBar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar->Position(), 38);
    scrollBar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    scrollBar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar->Position(), 70);
    scrollBar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(bar->Position(), 62);
    scrollBar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(bar->Position(), 32);
    scrollBar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(scrollBar->value(), 0);
    EXPECT_GE(change.count(), 7);
}

TEST_F(ScrollFrameTest, ClickingTheArrowOfTheBarScrolls)
{
    TScrollFrameBar* bar = Frame->VertScrollBar();
    bar->SetRange(200);
    bar->SetPageSize(40);
    bar->SetIncrement(3);
    QScrollBar* scrollBar = Frame->verticalScrollBar();
    QSignalSpy change(Frame, &TScrollFrame::Change);
    // The down arrow sits at the bottom end of the bar.
    const QPoint arrow(scrollBar->width() / 2, scrollBar->height() - 4);
    QTest::mousePress(scrollBar, Qt::LeftButton, Qt::NoModifier, arrow);
    QTest::mouseRelease(scrollBar, Qt::LeftButton, Qt::NoModifier, arrow);
    EXPECT_EQ(bar->Position(), 3);
    EXPECT_GE(change.count(), 1);
}

TEST_F(ScrollFrameTest, WithBothBarsHiddenItIsAPlainPaintedPanel)
{
    Frame->HorzScrollBar()->SetVisible(false);
    Frame->VertScrollBar()->SetVisible(false);
    Frame->SetBorderStyle(TScrollFrame::TBorderStyle::None);
    Frame->resize(132, 24);
    EXPECT_EQ(Frame->ClientWidth(), 132);
    EXPECT_EQ(Frame->ClientHeight(), 24);

    int paints = 0;
    QObject::connect(Frame, &TScrollFrame::Paint, Frame,
                     [&paints](QPainter* painter)
                     {
                         ++paints;
                         painter->fillRect(16, 0, 16, 24, Qt::red);
                     });
    const QImage image = Frame->grab().toImage();
    EXPECT_GE(paints, 1);
    EXPECT_EQ(image.pixelColor(20, 10), QColor(Qt::red));
    EXPECT_NE(image.pixelColor(5, 10), QColor(Qt::red));

    QSignalSpy click(Frame, &TScrollFrame::Click);
    int downs = 0;
    QPoint seen;
    Qt::MouseButton button = Qt::NoButton;
    Qt::KeyboardModifiers modifiers;
    QObject::connect(Frame, &TScrollFrame::MouseDown, Frame,
                     [&](QMouseEvent* event)
                     {
                         ++downs;
                         seen = event->position().toPoint();
                         button = event->button();
                         modifiers = event->modifiers();
                     });
    QTest::mouseClick(Frame->viewport(), Qt::RightButton, Qt::ControlModifier, QPoint(50, 7));
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(seen, QPoint(50, 7));
    EXPECT_EQ(button, Qt::RightButton);
    EXPECT_EQ(modifiers, Qt::ControlModifier);
    EXPECT_EQ(click.count(), 0) << "only the left button clicks";
    QTest::mouseClick(Frame->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    EXPECT_EQ(click.count(), 1);
}

TEST_F(ScrollFrameTest, AHiddenBarDoesNotScrollOnTheWheel)
{
    TScrollFrameBar* bar = Frame->VertScrollBar();
    bar->SetRange(500);
    bar->SetPageSize(10);
    bar->SetVisible(false);
    const QPointF pos(10, 10);
    QWheelEvent wheel(pos, Frame->viewport()->mapToGlobal(pos), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Frame->viewport(), &wheel);
    EXPECT_EQ(bar->Position(), 0);
    bar->SetVisible(true);
    QWheelEvent again(pos, Frame->viewport()->mapToGlobal(pos), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Frame->viewport(), &again);
    EXPECT_GT(bar->Position(), 0);
}

TEST_F(ScrollFrameTest, FixedBarSizeGivesSixteenPixelBars)
{
    Frame->SetBarSizeFixed(true);
    Frame->HorzScrollBar()->SetRange(1000);
    QApplication::processEvents();
    EXPECT_EQ(Frame->horizontalScrollBar()->height(), TScrollFrame::FixedBarSize);
    EXPECT_EQ(Frame->verticalScrollBar()->width(), TScrollFrame::FixedBarSize);
    EXPECT_EQ(Frame->ClientHeight(),
              Frame->height() - 2 * Frame->frameWidth() - TScrollFrame::FixedBarSize);
}

TEST_F(ScrollFrameTest, ResizeAndOpaque)
{
    QSignalSpy resized(Frame, &TScrollFrame::Resize);
    Frame->resize(100, 90);
    EXPECT_EQ(resized.count(), 1);
    EXPECT_TRUE(Frame->viewport()->autoFillBackground());
    Frame->SetOpaque(true);
    EXPECT_TRUE(Frame->Opaque());
    EXPECT_FALSE(Frame->viewport()->autoFillBackground());
    Frame->SetColor(Qt::blue);
    Frame->SetOpaque(false);
    Frame->HorzScrollBar()->SetVisible(false);
    Frame->VertScrollBar()->SetVisible(false);
    const QImage image = Frame->grab().toImage();
    EXPECT_EQ(image.pixelColor(Frame->width() / 2, Frame->height() / 2), QColor(Qt::blue));
}

} // namespace

TEST_F(ScrollFrameTest, SingleBorderKeepsAllFourSidesAtEveryScale)
{
    // The bar editor's frames: no bars, a painted surface, 132 x 36.
    Frame->HorzScrollBar()->SetVisible(false);
    Frame->VertScrollBar()->SetVisible(false);
    Frame->resize(132, 36);
    QObject::connect(Frame, &TScrollFrame::Paint, Frame,
                     [this](QPainter* painter)
                     { painter->fillRect(Frame->viewport()->rect(), Qt::white); });
    const QRgb border = Frame->BorderColor().rgb();
    for (const qreal scale : {1.0, 1.25, 1.5, 2.0})
    {
        QImage image(qRound(132 * scale), qRound(36 * scale), QImage::Format_ARGB32);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::black);
        Frame->render(&image);
        const int right = image.width() - 1;
        const int bottom = image.height() - 1;
        const int midX = image.width() / 2;
        const int midY = image.height() / 2;
        EXPECT_EQ(image.pixel(0, midY), border) << "left at " << scale;
        EXPECT_EQ(image.pixel(midX, 0), border) << "top at " << scale;
        EXPECT_EQ(image.pixel(right, midY), border) << "right at " << scale;
        EXPECT_EQ(image.pixel(midX, bottom), border) << "bottom at " << scale;
        EXPECT_EQ(image.pixel(right, bottom), border) << "corner at " << scale;
        // The surface comes right inside the line.
        EXPECT_EQ(image.pixel(midX, midY), qRgb(255, 255, 255)) << scale;
        EXPECT_NE(image.pixel(right - static_cast<int>(scale) - 1, midY), border) << scale;
    }
}
