#include "ui/editor/MeasureGlyphs.h"

#include "model/Munit.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace
{

constexpr int PitchClasses = 12;
constexpr int Degrees = 6;

struct TClassColor
{
    QRgb Fill;
    QRgb Text;
};

// Fill and lettering per colour group; the light fills (yellow, cyan) carry dark letters.
const TClassColor ClassColors[7] = {
    {0xffd93b3b, 0xffffffff}, // red
    {0xfff2c230, 0xff4a3800}, // yellow
    {0xff3ea64f, 0xffffffff}, // green
    {0xff3c6fd6, 0xffffffff}, // blue
    {0xff35bfd0, 0xff053b44}, // cyan
    {0xffc544b5, 0xffffffff}, // magenta
    {0xff8c9199, 0xffffffff}, // grey
};

// Colour group of each pitch class: 0 and 1 red, 2 and 3 yellow, 4 green, 5 and 6 blue,
// 7 and 8 cyan, 9 and 10 magenta, 11 grey.
const int ClassGroup[PitchClasses] = {0, 0, 1, 1, 2, 3, 3, 4, 4, 5, 5, 6};

// Translated where they are shown: on the glyphs and in the screen readers' texts.
const char* const NoteNames[PitchClasses] = {
    QT_TRANSLATE_NOOP("TMeasureGlyphs", "Do"),  QT_TRANSLATE_NOOP("TMeasureGlyphs", "Do"),
    QT_TRANSLATE_NOOP("TMeasureGlyphs", "Re"),  QT_TRANSLATE_NOOP("TMeasureGlyphs", "Re"),
    QT_TRANSLATE_NOOP("TMeasureGlyphs", "Mi"),  QT_TRANSLATE_NOOP("TMeasureGlyphs", "Fa"),
    QT_TRANSLATE_NOOP("TMeasureGlyphs", "Fa"),  QT_TRANSLATE_NOOP("TMeasureGlyphs", "Sol"),
    QT_TRANSLATE_NOOP("TMeasureGlyphs", "Sol"), QT_TRANSLATE_NOOP("TMeasureGlyphs", "La"),
    QT_TRANSLATE_NOOP("TMeasureGlyphs", "La"),  QT_TRANSLATE_NOOP("TMeasureGlyphs", "Si")};
const bool Sharp[PitchClasses] = {false, true,  false, true,  false, false,
                                  true,  false, true,  false, true,  false};

const char* const Numerals[Degrees] = {"I", "II", "III", "IV", "V", "VI"};

// Numeral colours by chord quality: major, diminished, minor, dominant seventh.
const QRgb QualityColors[4] = {0xff1f4e9e, 0xff7b3fa8, 0xffb02a37, 0xff1e7d46};

/// A transparent 16 x 16 glyph with the pixels of ratio: sharp where a logical pixel is
/// several device pixels.
QPixmap NewGlyph(qreal ratio)
{
    const int side = qCeil(TMeasureGlyphs::Size * ratio);
    QPixmap pixmap(side, side);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QColor Darker(QRgb rgb, int factor)
{
    return QColor(rgb).darker(factor);
}

/// Draws text centred on centre, squeezed sideways when it is wider than maxWidth, so that
/// every name keeps its letters at one height.
void DrawFittedText(QPainter& painter, const QFont& font, const QString& text, QPointF centre,
                    qreal maxWidth, const QColor& color)
{
    const QFontMetricsF metrics(font);
    const qreal width = metrics.horizontalAdvance(text);
    const qreal squeeze = width > maxWidth ? maxWidth / width : 1.0;
    painter.save();
    painter.setFont(font);
    painter.setPen(color);
    painter.translate(centre);
    painter.scale(squeeze, 1.0);
    // Cap height centred: the baseline sits half the cap height below the centre.
    const qreal capHeight = metrics.capHeight();
    painter.drawText(QPointF(-width / 2, capHeight / 2), text);
    painter.restore();
}

QFont GlyphFont(const QString& family, int pixelSize, bool condensed)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(true);
    if (condensed)
        font.setStretch(QFont::SemiCondensed);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

/// A sharp sign of two strokes each way, its top-left corner at (x, y), about 5 pixels.
void DrawSharpSign(QPainter& painter, qreal x, qreal y, const QColor& color)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawRect(QRectF(x + 1, y, 1, 6));
    painter.drawRect(QRectF(x + 3, y, 1, 6));
    painter.drawRect(QRectF(x, y + 1.5, 5, 1));
    painter.drawRect(QRectF(x, y + 3.5, 5, 1));
    painter.restore();
}

QPixmap NoteNameGlyph(int pitchClass, qreal ratio)
{
    const TClassColor colors = ClassColors[ClassGroup[pitchClass]];
    QPixmap pixmap = NewGlyph(ratio);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF body(0.5, 0.5, 14, 15);
    QLinearGradient gradient(body.topLeft(), body.bottomLeft());
    gradient.setColorAt(0, QColor(colors.Fill).lighter(118));
    gradient.setColorAt(1, QColor(colors.Fill));
    painter.setPen(QPen(Darker(colors.Fill, 135), 1));
    painter.setBrush(gradient);
    painter.drawRoundedRect(body, 3, 3);

    const QString name = QCoreApplication::translate("TMeasureGlyphs", NoteNames[pitchClass]);
    // Inside the outline (x 0.5 to 14.5) with a pixel of air each side: "Sol" is squeezed.
    constexpr qreal NameWidth = 11;
    if (Sharp[pitchClass])
    {
        // Name lowered under a sharp sign in the top-right corner.
        DrawSharpSign(painter, 8, 1.5, QColor(colors.Text));
        const QFont font = GlyphFont(QStringLiteral("DejaVu Sans"), 8, true);
        DrawFittedText(painter, font, name, QPointF(7.5, 10.5), NameWidth, QColor(colors.Text));
    }
    else
    {
        const QFont font = GlyphFont(QStringLiteral("DejaVu Sans"), 8, true);
        DrawFittedText(painter, font, name, QPointF(7.5, 8), NameWidth, QColor(colors.Text));
    }
    return pixmap;
}

/// An arrow head pointing up (or down), tipped at tipY, in the class colour.
QPixmap OctaveGlyph(int pitchClass, bool up, qreal ratio)
{
    const TClassColor colors = ClassColors[ClassGroup[pitchClass]];
    QPixmap pixmap = NewGlyph(ratio);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // Only half of an octave mark shows: the lower half above the note, the upper half
    // below it.
    const qreal tip = up ? 9.5 : 6.5;
    const qreal base = up ? 14.5 : 1.5;
    QPainterPath arrow;
    arrow.moveTo(7.5, tip);
    arrow.lineTo(12.5, base);
    arrow.lineTo(2.5, base);
    arrow.closeSubpath();
    painter.setPen(QPen(Darker(colors.Fill, 140), 1));
    painter.setBrush(QColor(colors.Fill));
    painter.drawPath(arrow);
    return pixmap;
}

/// A bar across the whole cell, so that the holds of a note join into one line.
QPixmap HoldGlyph(int pitchClass, qreal ratio)
{
    const TClassColor colors = ClassColors[ClassGroup[pitchClass]];
    QPixmap pixmap = NewGlyph(ratio);
    QPainter painter(&pixmap);
    painter.fillRect(QRect(0, 5, 16, 6), QColor(colors.Fill));
    painter.fillRect(QRect(0, 5, 16, 1), QColor(colors.Fill).lighter(125));
    painter.fillRect(QRect(0, 10, 16, 1), Darker(colors.Fill, 130));
    return pixmap;
}

QPixmap NumeralGlyph(int degree, const QColor& color, qreal ratio)
{
    QPixmap pixmap = NewGlyph(ratio);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QFont font = GlyphFont(QStringLiteral("DejaVu Serif"), 11, degree == 3);
    DrawFittedText(painter, font, TMeasureGlyphs::ChordNumeral(degree), QPointF(8, 8), 15, color);
    return pixmap;
}

const QRgb RhythmInk = 0xff37474f;

/// A note head with a stem of bar to the right edge: the note fills its step.
QPixmap OnsetGlyph(qreal ratio)
{
    QPixmap pixmap = NewGlyph(ratio);
    QPainter painter(&pixmap);
    painter.fillRect(QRect(8, 6, 8, 4), QColor(RhythmInk));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(RhythmInk));
    painter.drawEllipse(QRectF(2, 2.5, 11, 11));
    painter.setBrush(QColor(255, 255, 255, 90));
    painter.drawEllipse(QRectF(4.5, 4.5, 4, 3));
    return pixmap;
}

QPixmap RestGlyph(qreal ratio)
{
    QPixmap pixmap = NewGlyph(ratio);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xffbcc4cb));
    painter.drawEllipse(QRectF(5, 5, 6, 6));
    return pixmap;
}

QPixmap HoldRhythmGlyph(qreal ratio)
{
    QPixmap pixmap = NewGlyph(ratio);
    QPainter painter(&pixmap);
    painter.fillRect(QRect(0, 6, 16, 4), QColor(RhythmInk));
    return pixmap;
}

} // namespace

TMeasureGlyphs::TMeasureGlyphs(qreal ratio) : FRatio(ratio), FGlyphs(Count) {}

QPixmap TMeasureGlyphs::Make(int index) const
{
    const qreal ratio = FRatio;
    if (index < NoteNameBase)
        return OctaveGlyph(index - OctaveUpBase, true, ratio);
    if (index < OctaveDownBase)
        return NoteNameGlyph(index - NoteNameBase, ratio);
    if (index < HoldBase)
        return OctaveGlyph(index - OctaveDownBase, false, ratio);
    if (index < MajorChordBase)
        return HoldGlyph(index - HoldBase, ratio);
    if (index < MinorChordBase)
    {
        const int degree = index - MajorChordBase + 1;
        return NumeralGlyph(degree, QColor(QualityColors[ChordQuality(degree, 0)]), ratio);
    }
    if (index < SelectedChordBase)
    {
        const int degree = index - MinorChordBase + 1;
        return NumeralGlyph(degree, QColor(QualityColors[ChordQuality(degree, 1)]), ratio);
    }
    if (index < RhythmOnsetGlyph)
        return NumeralGlyph(index - SelectedChordBase + 1, QColor(Qt::white), ratio);
    if (index == RhythmOnsetGlyph)
        return OnsetGlyph(ratio);
    return index == RhythmRestGlyph ? RestGlyph(ratio) : HoldRhythmGlyph(ratio);
}

QPixmap TMeasureGlyphs::Glyph(int index) const
{
    if (index < 0 || index >= Count)
        return QPixmap();
    // Painted on first use: the bar editor is made at start-up but seldom shown then.
    QPixmap& glyph = FGlyphs[static_cast<std::size_t>(index)];
    if (glyph.isNull())
        glyph = Make(index);
    return glyph;
}

void TMeasureGlyphs::Draw(QPainter& painter, int x, int y, int index) const
{
    if (index < 0 || index >= Count)
        return;
    painter.drawPixmap(x, y, Glyph(index));
}

QColor TMeasureGlyphs::PlayCursorColor()
{
    return {0xD0, 0x10, 0x10};
}

QColor TMeasureGlyphs::PitchClassColor(int pitchClass)
{
    return QColor(ClassColors[ClassGroup[PitchClass(pitchClass)]].Fill);
}

QString TMeasureGlyphs::NoteName(int pitchClass)
{
    const int c = PitchClass(pitchClass);
    QString name = QCoreApplication::translate("TMeasureGlyphs", NoteNames[c]);
    if (Sharp[c])
        name += QChar(0x266F);
    return name;
}

QString TMeasureGlyphs::ChordNumeral(int degree)
{
    if (degree < 1 || degree > Degrees)
        return QString();
    return QString::fromLatin1(Numerals[degree - 1]);
}
