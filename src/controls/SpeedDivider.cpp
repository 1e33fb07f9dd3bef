#include "controls/SpeedDivider.h"

#include "controls/ControlsAccessible.h"

#include <QPainter>

TSpeedDivider::TSpeedDivider(QWidget* parent) : QWidget(parent)
{
    resize(DefaultWidth, DefaultHeight);
    InstallControlsAccessibility();
}

QSize TSpeedDivider::sizeHint() const
{
    return QSize(DefaultWidth, DefaultHeight);
}

void TSpeedDivider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int x = width() / 2;
    painter.fillRect(QRect(x - 1, 0, 1, height()), palette().color(QPalette::Dark));
    painter.fillRect(QRect(x, 0, 1, height()), palette().color(QPalette::Light));
}
