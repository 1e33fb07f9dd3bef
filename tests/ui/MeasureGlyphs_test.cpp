#include "ui/editor/MeasureGlyphs.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
/// Whether a pixel is close to colour (the lettering is anti-aliased over the fill).
bool Near(QRgb pixel, QRgb colour)
{
    return qAlpha(pixel) > 200 && std::abs(qRed(pixel) - qRed(colour)) < 40 &&
           std::abs(qGreen(pixel) - qGreen(colour)) < 40 &&
           std::abs(qBlue(pixel) - qBlue(colour)) < 40;
}
} // namespace

TEST(MeasureGlyphsTest, NoteNamesStayInsideTheirChipsAtEveryScale)
{
    // The lettering of each class: dark on the light fills (yellow 2, 3 and cyan 7, 8),
    // white on the others. No letter may touch the outline's columns.
    for (const qreal ratio : {1.0, 1.25, 1.5, 2.0})
    {
        const TMeasureGlyphs glyphs(ratio);
        for (int pitchClass = 0; pitchClass < 12; ++pitchClass)
        {
            const QImage image = glyphs.Glyph(TMeasureGlyphs::NoteNameBase + pitchClass)
                                     .toImage()
                                     .convertToFormat(QImage::Format_ARGB32);
            ASSERT_EQ(image.width(), qCeil(16 * ratio)) << ratio;
            const bool light =
                pitchClass == 2 || pitchClass == 3 || pitchClass == 7 || pitchClass == 8;
            const QRgb ink = light ? (pitchClass < 7 ? 0xff4a3800 : 0xff053b44) : 0xffffffff;
            const int edge = qCeil(1.5 * ratio);
            int inside = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                {
                    if (!Near(image.pixel(x, y), ink))
                        continue;
                    const bool onOutline = x < edge || x >= qFloor(14 * ratio);
                    EXPECT_FALSE(onOutline) << "class " << pitchClass << " at " << ratio << ": ("
                                            << x << ", " << y << ")";
                    inside += onOutline ? 0 : 1;
                }
            EXPECT_GT(inside, 4) << "class " << pitchClass << " has its name";
        }
    }
}
