#include "controls/SpinButton.h"

#include "controls/ControlsAccessible.h"

#include "controls/Edges.h"

#include <QEvent>
#include <QHideEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

TSpinButton::TSpinButton(TSpinDirection direction, QWidget* parent)
    : QWidget(parent), FDirection(direction)
{
    setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::NoFocus);
    resize(16, 8);
    setAccessibleName(direction == TSpinDirection::Up ? tr("Aumentar") : tr("Disminuir"));
    InstallControlsAccessibility();
    connect(&FRepeatTimer, &QTimer::timeout, this, &TSpinButton::RepeatTick);
}

void TSpinButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
    {
        Release();
        return;
    }
    FocusOwnerEdit(this);
    FPressed = true;
    if (OnFire)
        OnFire();
    update();
    FRepeatTimer.start(FirstRepeatMs);
}

void TSpinButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Release();
}

void TSpinButton::changeEvent(QEvent* event)
{
    // A button disabled while held would otherwise never see its release and step forever.
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        Release();
    QWidget::changeEvent(event);
}

void TSpinButton::hideEvent(QHideEvent* event)
{
    Release();
    QWidget::hideEvent(event);
}

void TSpinButton::RepeatTick()
{
    FRepeatTimer.setInterval(RepeatMs);
    if (OnFire)
        OnFire();
}

void TSpinButton::Release()
{
    FRepeatTimer.stop();
    if (FPressed)
    {
        FPressed = false;
        update();
    }
}

void TSpinButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& pal = palette();
    DrawButtonFace(painter, rect(), pal, FPressed);

    QRect r = rect().adjusted(4, 1, -4, -1);
    if (!FPressed)
        r.translate(-1, -1);
    // Keep the triangle symmetric: a base of odd width has a single apex pixel.
    int half = (r.width() - 1) / 2;
    half = std::min(half, std::max(r.height() - 1, 0));
    const int cx = r.left() + r.width() / 2;
    const int rows = half + 1;
    const int top = r.top() + (r.height() - rows) / 2;
    const QColor ink = ButtonGlyphColor(this);
    for (int row = 0; row < rows; ++row)
    {
        const int spread = FDirection == TSpinDirection::Up ? row : half - row;
        painter.fillRect(QRect(cx - spread, top + row, 2 * spread + 1, 1), ink);
    }
}
