#include "controls/FakeGroupBox.h"

#include <QTest>

#include <gtest/gtest.h>

namespace
{

/// Does any pixel of rect in image pass test?
template <typename Test> bool Any(const QImage& image, const QRect& rect, Test test)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (test(image.pixelColor(x, y)))
                return true;
    return false;
}

// Text is antialiased, so glyph pixels are judged by their leaning, not by exact colours.
bool Bluish(const QColor& c)
{
    return c.blue() > c.red() + 60;
}

bool Lighter(const QColor& c)
{
    return c.red() > 235 && c.green() > 235 && c.blue() > 235;
}

bool Darker(const QColor& c)
{
    return c.red() < 150 && !Bluish(c);
}

class FakeGroupBoxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Window.resize(300, 200);
        Box = new TFakeGroupBox(QStringLiteral("Tecla"), &Window);
        Box->setGeometry(10, 10, 150, 60);
        // Colours the test can tell apart.
        QPalette pal = Box->palette();
        pal.setColor(QPalette::Window, QColor(200, 200, 200));
        pal.setColor(QPalette::Dark, QColor(100, 100, 100));
        pal.setColor(QPalette::Light, QColor(255, 255, 255));
        pal.setColor(QPalette::WindowText, QColor(0, 0, 255));
        Box->setPalette(pal);
        Window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    }

    QRect CaptionArea() const
    {
        return QRect(TFakeGroupBox::CaptionLeft, 0, 30, Box->fontMetrics().height());
    }

    QWidget Window;
    TFakeGroupBox* Box = nullptr;
};

TEST_F(FakeGroupBoxTest, DrawsAnEtchedFrameInterruptedByTheCaption)
{
    const QImage image = Box->grab().toImage();
    const int top = Box->FrameTop();
    EXPECT_EQ(top, (Box->fontMetrics().height() - 1) / 2);
    EXPECT_EQ(image.pixelColor(3, 0), QColor(200, 200, 200)) << "strip above the frame";
    EXPECT_EQ(image.pixelColor(3, top), QColor(100, 100, 100)) << "groove: shadow";
    EXPECT_EQ(image.pixelColor(3, top + 1), QColor(255, 255, 255)) << "then highlight";
    EXPECT_EQ(image.pixelColor(0, 40), QColor(100, 100, 100));
    EXPECT_EQ(image.pixelColor(1, 40), QColor(255, 255, 255));
    EXPECT_EQ(image.pixelColor(149, 40), QColor(255, 255, 255));
    EXPECT_EQ(image.pixelColor(148, 40), QColor(100, 100, 100));
    EXPECT_EQ(image.pixelColor(70, 40), QColor(200, 200, 200)) << "filled inside";
    EXPECT_EQ(image.pixelColor(TFakeGroupBox::CaptionLeft - 1, top), QColor(200, 200, 200))
        << "the line stops before the caption";
    EXPECT_EQ(image.pixelColor(120, top), QColor(100, 100, 100)) << "and goes on after it";
    EXPECT_TRUE(Any(image, CaptionArea(), Bluish));
    EXPECT_FALSE(Any(image, CaptionArea(), Lighter));
}

TEST_F(FakeGroupBoxTest, DisablingEmbossesTheCaptionAndEnablingRestoresIt)
{
    const QImage enabled = Box->grab().toImage();
    Box->setEnabled(false);
    const QImage disabled = Box->grab().toImage();
    EXPECT_FALSE(Any(disabled, CaptionArea(), Bluish));
    EXPECT_TRUE(Any(disabled, CaptionArea(), Lighter)) << "highlight, 1 pixel right and down";
    EXPECT_TRUE(Any(disabled, CaptionArea(), Darker)) << "shadow on top";
    Box->setEnabled(true);
    EXPECT_EQ(Box->grab().toImage(), enabled);
}

TEST_F(FakeGroupBoxTest, ACaptionWiderThanTheBoxIsClippedAtTheRightBorder)
{
    Box->SetCaption(QStringLiteral("Destino de la Creacion, Ordenar Partitura"));
    Box->resize(60, 60);
    const QImage image = Box->grab().toImage();
    EXPECT_EQ(image.size(), QSize(60, 60));
    const int top = Box->FrameTop();
    EXPECT_NE(image.pixelColor(57, top), QColor(100, 100, 100)) << "caption covers the line";
    EXPECT_EQ(image.pixelColor(59, 40), QColor(255, 255, 255)) << "right border intact below";
    EXPECT_EQ(image.pixelColor(58, 40), QColor(100, 100, 100));
}

} // namespace
