#include "controls/FakeGroupBox.h"

#include "controls/Edges.h"

#include <QEvent>
#include <QPainter>

TFakeGroupBox::TFakeGroupBox(QWidget* parent) : TFakeGroupBox(QString(), parent) {}

TFakeGroupBox::TFakeGroupBox(const QString& caption, QWidget* parent)
    : QWidget(parent), FCaption(caption)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(185, 41);
}

void TFakeGroupBox::SetCaption(const QString& value)
{
    FCaption = value;
    update();
}

void TFakeGroupBox::SetBevelWidth(int value)
{
    FBevelWidth = value;
    update();
}

QColor TFakeGroupBox::Color() const
{
    return palette().color(QPalette::Window);
}

void TFakeGroupBox::SetColor(const QColor& value)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, value);
    setPalette(pal);
    update();
}

int TFakeGroupBox::FrameTop() const
{
    // The height of "W" is the height of a line of the font.
    return (fontMetrics().height() - 1) / 2;
}

void TFakeGroupBox::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange ||
        event->type() == QEvent::PaletteChange)
        update();
}

void TFakeGroupBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    const QPalette& pal = palette();
    const QColor color = Color();
    const QColor shadow = pal.color(QPalette::Dark);
    const QColor highlight = pal.color(QPalette::Light);
    const QRect client = rect();
    const int top = FrameTop();

    painter.fillRect(QRect(0, 0, client.width(), top), color);
    QRect frame = client.adjusted(0, top, 0, 0);
    DrawFrame3D(painter, frame, shadow, highlight, FBevelWidth);
    DrawFrame3D(painter, frame, highlight, shadow, FBevelWidth);
    painter.fillRect(frame, color);

    // The caption's own background interrupts the frame line, with a little air on each side
    // (the system fonts of old carried it in their side bearings).
    const QRect caption = client.adjusted(CaptionLeft, 0, 0, 0);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
    if (!FCaption.isEmpty())
    {
        const QRect text = painter.boundingRect(caption, flags, FCaption);
        painter.fillRect(text.adjusted(-CaptionGap, 0, CaptionGap, 0), color);
    }
    painter.setBackground(color);
    painter.setBackgroundMode(Qt::OpaqueMode);
    if (isEnabled())
    {
        painter.setPen(pal.color(QPalette::WindowText));
        painter.drawText(caption, flags, FCaption);
        return;
    }
    painter.setPen(color);
    painter.drawText(caption, flags, FCaption);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setPen(highlight);
    painter.drawText(caption.translated(1, 1), flags, FCaption);
    painter.setPen(shadow);
    painter.drawText(caption, flags, FCaption);
}
