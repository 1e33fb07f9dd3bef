#include "controls/MenuButton.h"

#include "controls/ControlsAccessible.h"
#include "controls/Edges.h"
#include "controls/ImageListEx.h"
#include "controls/MenuButtonActionLink.h"

#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopeGuard>
#include <qdrawutil.h>

TMenuButton::TMenuButton(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_Hover, false);
    setFocusPolicy(Qt::NoFocus);
    resize(DefaultWidth, DefaultHeight);
    InstallControlsAccessibility();
}

TMenuButton::~TMenuButton() = default;

QSize TMenuButton::sizeHint() const
{
    return QSize(DefaultWidth, DefaultHeight);
}

void TMenuButton::SetDown(bool value)
{
    FDown = value;
    FState = value ? TState::Latched : TState::Up;
    SyncStateWithEnabled();
    update();
}

void TMenuButton::SetFlat(bool value)
{
    if (value == FFlat)
        return;
    FFlat = value;
    update();
}

void TMenuButton::SetTransparent(bool value)
{
    FTransparent = value;
    // An opaque button paints every pixel itself.
    setAttribute(Qt::WA_OpaquePaintEvent, !value);
    update();
}

void TMenuButton::SetImages(TImageListEx* value)
{
    if (value == FImages)
        return;
    if (FImages != nullptr)
        disconnect(FImages, &TImageListEx::Change, this, nullptr);
    FImages = value;
    if (value != nullptr)
        connect(value, &TImageListEx::Change, this, qOverload<>(&QWidget::update));
    update();
}

void TMenuButton::SetImageIndex(int value)
{
    if (value == FImageIndex)
        return;
    FImageIndex = value;
    update();
}

void TMenuButton::SetDropdownMenu(QMenu* value)
{
    FDropdownMenu = value;
}

void TMenuButton::SetAction(QAction* action)
{
    FActionLink.reset();
    if (action != nullptr)
    {
        FActionLink = std::make_unique<TMenuButtonActionLink>(this, action);
        FActionLink->Apply();
    }
}

QAction* TMenuButton::Action() const
{
    return FActionLink ? FActionLink->Action() : nullptr;
}

void TMenuButton::SyncStateWithEnabled()
{
    if (!isEnabled())
    {
        FState = TState::Disabled;
        FTracking = false;
    }
    else if (FState == TState::Disabled)
        FState = FDown ? TState::Latched : TState::Up;
}

void TMenuButton::paintEvent(QPaintEvent*)
{
    SyncStateWithEnabled();
    QPainter painter(this);
    const QPalette& pal = palette();
    const QColor face = pal.color(QPalette::Button);
    const bool sunken = FState == TState::Pressed || FState == TState::Latched;
    QRect r = rect();
    if (FFlat)
    {
        if (sunken || (FMouseInControl && FState != TState::Disabled))
        {
            if (sunken)
                DrawSunkenOuter(painter, r, pal);
            else
                DrawRaisedInner(painter, r, pal);
            if (!FTransparent)
                painter.fillRect(r.adjusted(1, 1, -1, -1), face);
        }
        else if (!FTransparent)
            painter.fillRect(r, face);
        r.adjust(1, 1, -1, -1);
    }
    else
    {
        const QBrush fill = pal.brush(QPalette::Button);
        qDrawWinButton(&painter, r, pal, sunken, &fill);
        r.adjust(2, 2, -2, -2);
    }

    const int offset = sunken ? 1 : 0;
    if (FState == TState::Latched && (!FFlat || !FMouseInControl))
    {
        // The classic latched look: a checkerboard of face and highlight behind the image.
        painter.fillRect(r, face);
        painter.setBrushOrigin(0, 0);
        painter.fillRect(r, QBrush(pal.color(QPalette::Light), Qt::Dense4Pattern));
    }

    if (FImages != nullptr)
    {
        const int x = r.left() + (r.width() - FImages->Width()) / 2 + offset;
        const int y = r.top() + (r.height() - FImages->Height()) / 2 + offset;
        FImages->Draw(painter, x, y, FImageIndex, isEnabled());
    }
}

void TMenuButton::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    const bool parentEnabled = parentWidget() == nullptr || parentWidget()->isEnabled();
    if (FFlat && !FMouseInControl && isEnabled() && QWidget::mouseGrabber() == nullptr &&
        parentEnabled)
    {
        FMouseInControl = true;
        repaint();
    }
}

void TMenuButton::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (FFlat && FMouseInControl && isEnabled() && !FTracking)
    {
        FMouseInControl = false;
        update();
    }
}

void TMenuButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled())
    {
        QWidget::mousePressEvent(event);
        return;
    }
    if (FDropdownMenu != nullptr)
    {
        // The menu opens while the button looks pressed.
        FState = TState::Pressed;
        repaint();
        RunClick();
        return;
    }
    if (!FDown)
        FState = TState::Pressed;
    repaint();
    FTracking = true;
}

void TMenuButton::mouseMoveEvent(QMouseEvent* event)
{
    if (!FTracking)
        return;
    TState wanted = TState::Latched;
    if (!FDown)
        wanted = rect().contains(event->position().toPoint()) ? TState::Pressed : TState::Up;
    if (wanted != FState)
    {
        FState = wanted;
        update();
    }
}

void TMenuButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !FTracking)
    {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    FTracking = false;
    FState = TState::Up;
    update();
    QPointer<TMenuButton> self(this);
    if (rect().contains(event->position().toPoint()))
        RunClick();
    if (self == nullptr)
        return;
    // Latched stays latched, whether the press was let go outside or the click left Down set.
    if (FDown && FState == TState::Up && isEnabled())
        FState = TState::Latched;
    update();
    UpdateHover();
}

void TMenuButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    QWidget::mouseDoubleClickEvent(event);
    if (FDown)
        emit DblClick();
}

void TMenuButton::RunClick()
{
    QPointer<TMenuButton> self(this);
    // Also when the command fails: the button must not stay pressed or lit by mistake.
    const auto restore = qScopeGuard(
        [self]
        {
            if (self == nullptr)
                return;
            self->update();
            self->UpdateHover();
        });
    if (FDropdownMenu != nullptr)
    {
        QMenu* menu = FDropdownMenu;
        releaseMouse();
        menu->exec(mapToGlobal(QPoint(0, height())));
        if (self != nullptr)
            FState = FDown ? TState::Latched : TState::Up;
        return;
    }
    emit Click();
}

void TMenuButton::Press()
{
    if (isEnabled())
        RunClick();
}

void TMenuButton::UpdateHover()
{
    if (!FFlat || !isEnabled())
        return;
    const bool inControl = QApplication::widgetAt(QCursor::pos()) == this;
    if (inControl != FMouseInControl)
    {
        FMouseInControl = inControl;
        update();
    }
}

void TMenuButton::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    switch (event->type())
    {
    case QEvent::EnabledChange:
        SyncStateWithEnabled();
        if (!isEnabled())
            FMouseInControl = false;
        UpdateHover();
        update();
        break;
    case QEvent::FontChange:
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
        update();
        break;
    default:
        break;
    }
}
