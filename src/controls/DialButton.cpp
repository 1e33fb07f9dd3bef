#include "controls/DialButton.h"

#include "controls/Edges.h"

#include <QMouseEvent>
#include <QPainter>

TDialButton::TDialButton(QWidget* parent) : QWidget(parent)
{
    setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::NoFocus);
    resize(10, 16);
}

void TDialButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
    {
        FPressed = false;
        update();
        return;
    }
    FocusOwnerEdit(this);
    FPressed = true;
    FPressY = qRound(event->globalPosition().y());
    if (OnPress)
        OnPress();
    update();
    setCursor(Qt::SplitVCursor);
}

void TDialButton::mouseMoveEvent(QMouseEvent* event)
{
    // Always measured from the press, so the value follows the pointer without drifting.
    if (FPressed && OnDrag)
        OnDrag(FPressY - qRound(event->globalPosition().y()));
}

void TDialButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    FPressed = false;
    setCursor(Qt::ArrowCursor);
    update();
}

void TDialButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& pal = palette();
    DrawButtonFace(painter, rect(), pal, FPressed);

    // The diamond sits 1 pixel up and left when released, so pressing seems to push it in.
    QRect r = rect().adjusted(1, 4, -1, -4);
    if (!FPressed)
        r.translate(-1, -1);
    const int cx = r.left() + r.width() / 2;
    const int cy = r.top() + r.height() / 2;
    const QPoint diamond[] = {QPoint(cx, r.top()), QPoint(r.left(), cy), QPoint(cx, r.bottom()),
                              QPoint(r.right(), cy)};
    painter.setPen(ButtonGlyphColor(this));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(diamond, 4);
}
