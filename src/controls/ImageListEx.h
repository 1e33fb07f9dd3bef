#pragma once

#include <QIcon>
#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QPointer>

#include <vector>

class QPainter;

/// A list of equally sized images with transparency. Disabled images are drawn from a second
/// list (DisabledImages) when one is set, instead of a greyed copy of the image.
class TImageListEx : public QObject
{
    Q_OBJECT

public:
    explicit TImageListEx(QObject* parent = nullptr, int width = 16, int height = 16);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Count() const { return static_cast<int>(FImages.size()); }

    void Clear();
    /// Adds image (cut or padded to the list's size) with every pixel of transparentColor made
    /// transparent; returns its index.
    int Add(const QImage& image, const QColor& transparentColor);
    /// Replaces the list by the images of a vertical strip, each as high as the list's images;
    /// the bottom-left pixel of each image gives its transparent colour.
    void LoadStrip(const QImage& bitmap);

    TImageListEx* DisabledImages() const { return FDisabledImages; }
    void SetDisabledImages(TImageListEx* value);

    /// The image at index, or a null pixmap outside the list.
    QPixmap Pixmap(int index) const;
    /// The image at index with, as its disabled form, the same index of DisabledImages.
    QIcon Icon(int index) const;
    /// Draws image index with its top-left corner at (x, y), in its enabled or disabled form.
    void Draw(QPainter& painter, int x, int y, int index, bool enabled = true) const;

signals:
    /// The images or the disabled list changed.
    void Change();

private:
    QPixmap GreyedPixmap(int index) const;

    int FWidth;
    int FHeight;
    std::vector<QPixmap> FImages;
    QPointer<TImageListEx> FDisabledImages; // not owned
};
