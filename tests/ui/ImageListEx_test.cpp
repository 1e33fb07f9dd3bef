#include "controls/ImageListEx.h"
#include "controls/ToolbarImages.h"

#include <QPainter>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <set>

namespace
{

/// A strip of count images 16 × 16: image i has its own background colour (its bottom-left
/// pixel) and a dot of colour (i, 0, 0) at (5, 5).
QImage MakeStrip(int count, int extraRows = 0)
{
    QImage strip(16, 16 * count + extraRows, QImage::Format_RGB32);
    for (int i = 0; i < count; ++i)
    {
        const QRgb background = qRgb(0, 255, i * 10);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                strip.setPixel(x, i * 16 + y, background);
        strip.setPixel(5, i * 16 + 5, qRgb(i, 0, 0));
    }
    for (int y = 16 * count; y < strip.height(); ++y)
        for (int x = 0; x < 16; ++x)
            strip.setPixel(x, y, qRgb(1, 2, 3));
    return strip;
}

TEST(ImageListExTest, AStrip16By256Gives16ImagesKeyedOnTheirBottomLeftPixel)
{
    TImageListEx list;
    QSignalSpy change(&list, &TImageListEx::Change);
    list.LoadStrip(MakeStrip(16));
    ASSERT_EQ(list.Count(), 16);
    EXPECT_EQ(change.count(), 1);
    for (int i = 0; i < 16; ++i)
    {
        const QImage image = list.Pixmap(i).toImage();
        ASSERT_EQ(image.size(), QSize(16, 16));
        EXPECT_EQ(qAlpha(image.pixel(0, 15)), 0) << i;
        EXPECT_EQ(qAlpha(image.pixel(10, 2)), 0) << i;
        EXPECT_EQ(image.pixel(5, 5), qRgb(i, 0, 0)) << i;
    }
}

TEST(ImageListExTest, LoadStripReplacesTheListAndIgnoresAPartialImage)
{
    TImageListEx list;
    list.LoadStrip(MakeStrip(16));
    list.LoadStrip(MakeStrip(2, 10));
    EXPECT_EQ(list.Count(), 2);
    EXPECT_TRUE(list.Pixmap(2).isNull());
    EXPECT_TRUE(list.Pixmap(-1).isNull());
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(ImageListExTest, DisabledDrawingTakesTheSameIndexFromTheDisabledList)
{
    TImageListEx normal;
    TImageListEx disabled;
    normal.LoadStrip(MakeStrip(3));
    QImage other(16, 48, QImage::Format_RGB32);
    other.fill(qRgb(255, 0, 255));
    for (int i = 0; i < 3; ++i)
        other.setPixel(5, i * 16 + 5, qRgb(0, 0, 100 + i));
    disabled.LoadStrip(other);
    normal.SetDisabledImages(&disabled);

    QImage canvas(16, 16, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        normal.Draw(painter, 0, 0, 2, false);
    }
    EXPECT_EQ(canvas.pixel(5, 5), qRgb(0, 0, 102));
    EXPECT_EQ(canvas.pixel(0, 0), qRgb(255, 255, 255));

    const QIcon icon = normal.Icon(1);
    EXPECT_EQ(icon.pixmap(16, 16, QIcon::Disabled).toImage().pixel(5, 5), qRgb(0, 0, 101));
    EXPECT_EQ(icon.pixmap(16, 16, QIcon::Normal).toImage().pixel(5, 5), qRgb(1, 0, 0));
}

TEST(ImageListExTest, WithoutADisabledListTheImageIsGreyed)
{
    TImageListEx normal;
    QImage strip(16, 16, QImage::Format_RGB32);
    strip.fill(qRgb(255, 0, 255));
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x)
            strip.setPixel(x, y, qRgb(255, 0, 0));
    normal.LoadStrip(strip);
    QImage canvas(16, 16, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        normal.Draw(painter, 0, 0, 0, false);
    }
    const QColor drawn = canvas.pixelColor(8, 8);
    EXPECT_NE(drawn, QColor(Qt::red));
    EXPECT_LT(std::abs(drawn.red() - drawn.green()), 40) << "grey, not red";
}

TEST(ToolbarImagesTest, BothStripsHoldDistinctImagesOnATransparentBackground)
{
    const QImage normal = ToolbarImageStrip();
    const QImage disabled = ToolbarDisabledImageStrip();
    ASSERT_EQ(normal.size(), QSize(16, 16 * ToolbarImageCount));
    ASSERT_EQ(disabled.size(), QSize(16, 16 * ToolbarImageCount));
    TImageListEx normalList;
    TImageListEx disabledList;
    normalList.LoadStrip(normal);
    disabledList.LoadStrip(disabled);
    ASSERT_EQ(normalList.Count(), ToolbarImageCount);
    ASSERT_EQ(disabledList.Count(), ToolbarImageCount);

    std::set<QByteArray> seen;
    for (int i = 0; i < ToolbarImageCount; ++i)
    {
        EXPECT_EQ(normal.pixel(0, i * 16 + 15), ToolbarTransparentColor) << i;
        EXPECT_EQ(disabled.pixel(0, i * 16 + 15), ToolbarTransparentColor) << i;
        const QImage image = normalList.Pixmap(i).toImage();
        const QImage greyed = disabledList.Pixmap(i).toImage();
        int opaque = 0;
        int colourful = 0;
        for (int y = 0; y < 16; ++y)
        {
            for (int x = 0; x < 16; ++x)
            {
                const QRgb p = greyed.pixel(x, y);
                if (qAlpha(p) != 0 && (qRed(p) != qGreen(p) || qGreen(p) != qBlue(p)))
                    ++colourful;
                if (qAlpha(image.pixel(x, y)) != 0)
                    ++opaque;
            }
        }
        EXPECT_GT(opaque, 20) << "image " << i << " draws something";
        EXPECT_EQ(colourful, 0) << "disabled image " << i << " is grey";
        seen.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()),
                               static_cast<int>(image.sizeInBytes())));
    }
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(ToolbarImageCount));
}

} // namespace

TEST(ImageListExTest, ImagesStaySharpBlocksOnScaledScreens)
{
    TImageListEx list;
    list.LoadStrip(MakeStrip(2));
    // Image 1 has one dot of (1, 0, 0) at (5, 5) on a transparent background.
    for (const qreal ratio : {2.0, 3.0})
    {
        QImage image(qRound(16 * ratio), qRound(16 * ratio), QImage::Format_ARGB32);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            list.Draw(painter, 0, 0, 1);
        }
        const int block = static_cast<int>(ratio);
        // The dot is a whole block of device pixels, with nothing blurred beside it.
        for (int dy = 0; dy < block; ++dy)
            for (int dx = 0; dx < block; ++dx)
                EXPECT_EQ(image.pixel(5 * block + dx, 5 * block + dy), qRgb(1, 0, 0)) << ratio;
        EXPECT_EQ(image.pixel(5 * block - 1, 5 * block), qRgb(255, 255, 255)) << ratio;
        EXPECT_EQ(image.pixel(6 * block, 5 * block), qRgb(255, 255, 255)) << ratio;
    }
    // The menus' icon has such a block image for scale 2.
    const QImage menu = list.Icon(1).pixmap(QSize(16, 16), 2.0).toImage();
    ASSERT_EQ(menu.width(), 32);
    EXPECT_EQ(menu.pixel(11, 11), qRgb(1, 0, 0));
    EXPECT_EQ(qAlpha(menu.pixel(12, 11)), 0);
}
