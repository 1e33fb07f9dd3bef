#include "controls/Edges.h"

#include <QPainter>
#include <QPalette>
#include <QWidget>

void DrawFrame3D(QPainter& painter, QRect& rect, const QColor& topLeft, const QColor& bottomRight,
                 int width)
{
    for (int ring = 0; ring < width && rect.width() > 0 && rect.height() > 0; ++ring)
    {
        const int left = rect.left();
        const int top = rect.top();
        const int right = rect.right();
        const int bottom = rect.bottom();
        painter.fillRect(QRect(left, top, rect.width() - 1, 1), topLeft);
        painter.fillRect(QRect(left, top, 1, rect.height() - 1), topLeft);
        painter.fillRect(QRect(right, top, 1, rect.height()), bottomRight);
        painter.fillRect(QRect(left, bottom, rect.width(), 1), bottomRight);
        rect.adjust(1, 1, -1, -1);
    }
}

void DrawRaisedEdge(QPainter& painter, const QRect& rect, const QPalette& palette)
{
    QRect r = rect;
    DrawFrame3D(painter, r, palette.color(QPalette::Midlight), palette.color(QPalette::Shadow), 1);
    DrawFrame3D(painter, r, palette.color(QPalette::Light), palette.color(QPalette::Dark), 1);
}

void DrawRaisedInner(QPainter& painter, const QRect& rect, const QPalette& palette)
{
    QRect r = rect;
    DrawFrame3D(painter, r, palette.color(QPalette::Light), palette.color(QPalette::Dark), 1);
}

void DrawSunkenOuter(QPainter& painter, const QRect& rect, const QPalette& palette)
{
    QRect r = rect;
    DrawFrame3D(painter, r, palette.color(QPalette::Dark), palette.color(QPalette::Light), 1);
}

void DrawButtonFace(QPainter& painter, const QRect& rect, const QPalette& palette, bool pressed)
{
    QRect inside = rect;
    if (pressed)
        DrawFrame3D(painter, inside, palette.color(QPalette::Dark), palette.color(QPalette::Dark),
                    1);
    else
    {
        DrawRaisedEdge(painter, inside, palette);
        inside.adjust(2, 2, -2, -2);
    }
    painter.fillRect(inside, palette.color(QPalette::Button));
}

void FocusOwnerEdit(QWidget* button)
{
    QWidget* edit = button->parentWidget();
    if (edit != nullptr && edit->isEnabled() && edit->isVisible() &&
        edit->focusPolicy() != Qt::NoFocus)
        edit->setFocus(Qt::OtherFocusReason);
}

QColor ButtonGlyphColor(const QWidget* button)
{
    const QWidget* edit = button->parentWidget();
    const bool enabled = edit == nullptr || edit->isEnabled();
    const QPalette& pal = button->palette();
    return enabled ? pal.color(QPalette::ButtonText)
                   : pal.color(QPalette::Disabled, QPalette::ButtonText);
}
