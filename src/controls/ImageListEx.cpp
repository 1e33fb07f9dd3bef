#include "controls/ImageListEx.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

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
    icon.addPixmap(normal, QIcon::Normal);
    const QPixmap disabled =
        FDisabledImages != nullptr ? FDisabledImages->Pixmap(index) : QPixmap();
    icon.addPixmap(disabled.isNull() ? GreyedPixmap(index) : disabled, QIcon::Disabled);
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
    if (!pixmap.isNull())
        painter.drawPixmap(x, y, pixmap);
}
