#include "controls/ImageListEx.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QtMath>

#include <algorithm>

TImageListEx::TImageListEx(QObject* parent, int width, int height)
    : QObject(parent), FWidth(width), FHeight(height)
{
}

void TImageListEx::Clear()
{
    FImages.clear();
    emit Change();
}

int TImageListEx::Add(const QImage& image, const QColor& transparentColor)
{
    QImage piece(FWidth, FHeight, QImage::Format_ARGB32);
    piece.fill(Qt::transparent);
    const QImage source = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = transparentColor.rgb();
    for (int y = 0; y < std::min(FHeight, source.height()); ++y)
    {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(piece.scanLine(y));
        for (int x = 0; x < std::min(FWidth, source.width()); ++x)
        {
            // Only the colour counts: the alpha of the key pixel may differ between formats.
            if ((in[x] & RGB_MASK) != (key & RGB_MASK))
                out[x] = in[x];
        }
    }
    FImages.push_back(QPixmap::fromImage(piece));
    emit Change();
    return Count() - 1;
}

void TImageListEx::LoadStrip(const QImage& bitmap)
{
    FImages.clear();
    const int count = FHeight > 0 ? bitmap.height() / FHeight : 0;
    for (int i = 0; i < count; ++i)
    {
        // copy() keeps the strip's pixel format and colour table.
        const QImage piece = bitmap.copy(0, i * FHeight, bitmap.width(), FHeight);
        const QRgb bottomLeft = piece.pixel(0, FHeight - 1);
        const bool quiet = signalsBlocked();
        blockSignals(true);
        Add(piece, QColor::fromRgb(bottomLeft));
        blockSignals(quiet);
    }
    emit Change();
}

void TImageListEx::SetDisabledImages(TImageListEx* value)
{
    if (FDisabledImages == value)
        return;
    if (FDisabledImages != nullptr)
        disconnect(FDisabledImages, &TImageListEx::Change, this, &TImageListEx::Change);
    FDisabledImages = value;
    if (value != nullptr)
        connect(value, &TImageListEx::Change, this, &TImageListEx::Change);
    emit Change();
}

namespace
{
/// Pixel art for a screen of ratio device pixels per pixel: every pixel a block of whole
/// device pixels (nearest neighbour up to the next whole ratio), then, at a fractional ratio,
/// smoothed down to the size the ratio asks, so that every line keeps one width.
QPixmap PixelArtAt(const QPixmap& pixmap, qreal ratio)
{
    if (pixmap.isNull() || ratio <= 1)
        return pixmap;
    const int whole = qCeil(ratio);
    QImage image = pixmap.toImage().scaled(pixmap.size() * whole, Qt::IgnoreAspectRatio,
                                           Qt::FastTransformation);
    const QSize target(qRound(pixmap.width() * ratio), qRound(pixmap.height() * ratio));
    if (image.size() != target)
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPixmap result = QPixmap::fromImage(image);
    result.setDevicePixelRatio(ratio);
    return result;
}
} // namespace

QPixmap TImageListEx::Pixmap(int index) const
{
    if (index < 0 || index >= Count())
        return QPixmap();
    return FImages[static_cast<std::size_t>(index)];
}

QPixmap TImageListEx::GreyedPixmap(int index) const
{
    QPixmap pixmap = Pixmap(index);
    if (pixmap.isNull())
        return pixmap;
    QStyleOption option;
    option.palette = QApplication::palette();
    return QApplication::style()->generatedIconPixmap(QIcon::Disabled, pixmap, &option);
}

QIcon TImageListEx::Icon(int index) const
{
    QIcon icon;
    const QPixmap normal = Pixmap(index);
    if (normal.isNull())
        return icon;
    const QPixmap disabled =
        FDisabledImages != nullptr ? FDisabledImages->Pixmap(index) : QPixmap();
    const QPixmap greyed = disabled.isNull() ? GreyedPixmap(index) : disabled;
    // Sharp blocks at twice the size too, for menus on a screen of scale 2 or more.
    for (const qreal ratio : {1.0, 2.0})
    {
        icon.addPixmap(PixelArtAt(normal, ratio), QIcon::Normal);
        icon.addPixmap(PixelArtAt(greyed, ratio), QIcon::Disabled);
    }
    return icon;
}

void TImageListEx::Draw(QPainter& painter, int x, int y, int index, bool enabled) const
{
    if (!enabled && FDisabledImages != nullptr)
    {
        FDisabledImages->Draw(painter, x, y, index, true);
        return;
    }
    const QPixmap pixmap = enabled ? Pixmap(index) : GreyedPixmap(index);
    if (pixmap.isNull())
        return;
    const qreal ratio = painter.device() != nullptr ? painter.device()->devicePixelRatioF() : 1;
    painter.drawPixmap(x, y, PixelArtAt(pixmap, ratio));
}
