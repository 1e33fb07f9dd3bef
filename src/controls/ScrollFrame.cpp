#include "controls/ScrollFrame.h"

#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace
{

/// Gives scroll bars the fixed extent of 16 pixels whatever the application style says.
class TFixedBarStyle : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override
    {
        if (metric == PM_ScrollBarExtent)
            return TScrollFrame::FixedBarSize;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

TScrollFrame::TScrollFrame(QWidget* parent)
    : QAbstractScrollArea(parent),
      FHorzScrollBar(std::make_unique<TScrollFrameBar>(this, TScrollBarKind::Horizontal)),
      FVertScrollBar(std::make_unique<TScrollFrameBar>(this, TScrollBarKind::Vertical))
{
    viewport()->setBackgroundRole(QPalette::Window);
    viewport()->setAutoFillBackground(true);
    setFocusPolicy(Qt::ClickFocus);
    for (TScrollFrameBar* bar : {FHorzScrollBar.get(), FVertScrollBar.get()})
    {
        QScrollBar* scrollBar = ScrollBarOf(*bar);
        connect(scrollBar, &QScrollBar::actionTriggered, this,
                [this, bar](int action) { ScrollAction(*bar, action); });
        connect(scrollBar, &QScrollBar::valueChanged, this,
                [this, bar](int value) { ScrollValueChanged(*bar, value); });
    }
    ApplyBorder();
    resize(DefaultWidth, DefaultHeight);
    FHorzScrollBar->Update();
    FVertScrollBar->Update();
}

TScrollFrame::~TScrollFrame()
{
    // The bars go before the base class's scroll bars: nothing may reach them afterwards.
    horizontalScrollBar()->disconnect(this);
    verticalScrollBar()->disconnect(this);
}

QSize TScrollFrame::sizeHint() const
{
    return QSize(DefaultWidth, DefaultHeight);
}

int TScrollFrame::ClientWidth() const
{
    return viewport()->width();
}

int TScrollFrame::ClientHeight() const
{
    return viewport()->height();
}

QScrollBar* TScrollFrame::ScrollBarOf(const TScrollFrameBar& bar) const
{
    return bar.Kind() == TScrollBarKind::Horizontal ? horizontalScrollBar() : verticalScrollBar();
}

void TScrollFrame::ApplyBar(const TScrollFrameBar& bar)
{
    QScrollBar* scrollBar = ScrollBarOf(bar);
    FApplying = true;
    if (bar.Visible() && bar.PageSize() < bar.Range())
    {
        scrollBar->setEnabled(true);
        scrollBar->setRange(0, bar.Range() - bar.PageSize());
        scrollBar->setPageStep(bar.PageSize());
        scrollBar->setSingleStep(bar.Increment());
        scrollBar->setValue(bar.Position());
    }
    else
    {
        // Nothing to scroll: a visible bar stays in place, disabled and without a thumb.
        scrollBar->setRange(0, 0);
        scrollBar->setEnabled(false);
    }
    const Qt::ScrollBarPolicy policy =
        bar.Visible() ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (bar.Kind() == TScrollBarKind::Horizontal)
        setHorizontalScrollBarPolicy(policy);
    else
        setVerticalScrollBarPolicy(policy);
    FApplying = false;
    viewport()->update();
    emit Change();
}

void TScrollFrame::ApplyIncrement(const TScrollFrameBar& bar)
{
    ScrollBarOf(bar)->setSingleStep(bar.Increment());
}

void TScrollFrame::ScrollAction(TScrollFrameBar& bar, int action)
{
    int position = bar.Position();
    switch (action)
    {
    case QAbstractSlider::SliderSingleStepSub:
        position -= bar.Increment();
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        position += bar.Increment();
        break;
    case QAbstractSlider::SliderPageStepSub:
        position -= bar.PageSize();
        break;
    case QAbstractSlider::SliderPageStepAdd:
        position += bar.PageSize();
        break;
    case QAbstractSlider::SliderMove:
        position = ScrollBarOf(bar)->sliderPosition();
        break;
    case QAbstractSlider::SliderToMinimum:
        position = 0;
        break;
    case QAbstractSlider::SliderToMaximum:
        position = bar.Range() - bar.PageSize();
        break;
    default:
        break;
    }
    bar.SetPosition(position);
}

void TScrollFrame::ScrollValueChanged(TScrollFrameBar& bar, int value)
{
    // Moves that come without an action (the wheel over a bar) still reach the bar's Position.
    if (!FApplying && value != bar.Position())
        bar.SetPosition(value);
}

void TScrollFrame::SetBorderStyle(TBorderStyle value)
{
    if (value == FBorderStyle)
        return;
    FBorderStyle = value;
    ApplyBorder();
}

void TScrollFrame::ApplyBorder()
{
    setFrameStyle(FBorderStyle == TBorderStyle::Single ? (QFrame::StyledPanel | QFrame::Sunken)
                                                       : QFrame::NoFrame);
}

void TScrollFrame::SetBarSizeFixed(bool value)
{
    if (value == FBarSizeFixed)
        return;
    FBarSizeFixed = value;
    ApplyBarSize();
}

void TScrollFrame::ApplyBarSize()
{
    if (FBarSizeFixed && FFixedBarStyle == nullptr)
    {
        FFixedBarStyle = new TFixedBarStyle;
        FFixedBarStyle->setParent(this);
    }
    QStyle* barStyle = FBarSizeFixed ? static_cast<QStyle*>(FFixedBarStyle) : style();
    horizontalScrollBar()->setStyle(barStyle);
    verticalScrollBar()->setStyle(barStyle);
    FHorzScrollBar->Update();
    FVertScrollBar->Update();
}

void TScrollFrame::SetOpaque(bool value)
{
    FOpaque = value;
    viewport()->setAutoFillBackground(!value);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent, value);
    viewport()->update();
}

QColor TScrollFrame::Color() const
{
    return viewport()->palette().color(QPalette::Window);
}

void TScrollFrame::SetColor(const QColor& value)
{
    QPalette pal = viewport()->palette();
    pal.setColor(QPalette::Window, value);
    viewport()->setPalette(pal);
    viewport()->update();
}

bool TScrollFrame::event(QEvent* event)
{
    const bool handled = QAbstractScrollArea::event(event);
    if (event->type() == QEvent::Paint && FBorderStyle == TBorderStyle::Single)
        PaintBorder();
    return handled;
}

QColor TScrollFrame::BorderColor() const
{
    return palette().color(QPalette::Window).darker(130);
}

void TScrollFrame::PaintBorder()
{
    // The style's line can fall between device pixels at a fractional scale and vanish under
    // the surface. This one covers whole device pixels on the outer edge of every side, where
    // the surface never reaches: one device pixel, two from scale 2 up.
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    const qreal line = std::max<qreal>(1, std::floor(ratio)) / ratio;
    const qreal width = this->width();
    const qreal height = this->height();
    const QColor color = BorderColor();
    painter.fillRect(QRectF(0, 0, width, line), color);
    painter.fillRect(QRectF(0, height - line, width, line), color);
    painter.fillRect(QRectF(0, 0, line, height), color);
    painter.fillRect(QRectF(width - line, 0, line, height), color);
}

void TScrollFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    emit Paint(&painter);
}

void TScrollFrame::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    emit Resize();
}

void TScrollFrame::wheelEvent(QWheelEvent* event)
{
    // A hidden bar does not scroll: the wheel goes on to the parent.
    const bool vertical = qAbs(event->angleDelta().y()) >= qAbs(event->angleDelta().x());
    const TScrollFrameBar& bar = vertical ? *FVertScrollBar : *FHorzScrollBar;
    if (bar.Visible())
        QAbstractScrollArea::wheelEvent(event);
    else
        event->ignore();
}

void TScrollFrame::keyPressEvent(QKeyEvent* event)
{
    // Keys belong to the owner; the frame does not scroll on them, so the scroll area's own
    // key handling is passed over on purpose.
    QFrame::keyPressEvent(event); // NOLINT(bugprone-parent-virtual-call)
}

void TScrollFrame::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        FLeftPressed = true;
    emit MouseDown(event);
    event->accept();
}

void TScrollFrame::mouseMoveEvent(QMouseEvent* event)
{
    emit MouseMove(event);
    event->accept();
}

void TScrollFrame::mouseReleaseEvent(QMouseEvent* event)
{
    emit MouseUp(event);
    if (event->button() == Qt::LeftButton && FLeftPressed)
    {
        FLeftPressed = false;
        if (viewport()->rect().contains(event->position().toPoint()))
            emit Click();
    }
    event->accept();
}

void TScrollFrame::mouseDoubleClickEvent(QMouseEvent* event)
{
    emit MouseDown(event);
    emit DblClick();
    event->accept();
}
