#include "ui/editor/MeasureRows.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QToolTip>

#include <algorithm>
#include <array>

namespace
{
/// The row the keyboard left last, which the next row it reaches may take its step from.
QPointer<TMeasureRowFrame> LastRowLeft;

/// One step of a row: a list item named after its content.
class TMeasureStepAccessible : public QAccessibleInterface
{
public:
    TMeasureStepAccessible(TMeasureRowFrame* frame, int step) : FFrame(frame), FStep(step) {}

    bool isValid() const override { return FFrame != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override
    {
        return FFrame != nullptr && FFrame->window() != nullptr ? FFrame->window()->windowHandle()
                                                                : nullptr;
    }
    QAccessibleInterface* parent() const override
    {
        return QAccessible::queryAccessibleInterface(FFrame.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }

    QString text(QAccessible::Text t) const override
    {
        if (FFrame == nullptr || t != QAccessible::Name)
            return QString();
        return FFrame->Owner()->StepDescription(FFrame->IsMelody(), FFrame->Bar(), FStep);
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override
    {
        if (FFrame == nullptr)
            return QRect();
        const QWidget* surface = FFrame->viewport();
        const QRect cell(FStep * TMeasureRowFrame::CellWidth, 0, TMeasureRowFrame::CellWidth,
                         surface->height());
        return QRect(surface->mapToGlobal(cell.topLeft()), cell.size());
    }

    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (FFrame == nullptr)
        {
            s.invalid = true;
            return s;
        }
        s.focusable = true;
        s.selectable = true;
        s.focused = FFrame->hasFocus() && FFrame->Cursor() == FStep;
        s.selected = FFrame->Cursor() == FStep;
        s.invisible = !FFrame->isVisible();
        return s;
    }

private:
    QPointer<TMeasureRowFrame> FFrame;
    int FStep;
};

/// A row frame: a list of its eight steps.
class TMeasureRowAccessible : public QAccessibleWidget
{
public:
    explicit TMeasureRowAccessible(TMeasureRowFrame* frame)
        : QAccessibleWidget(frame, QAccessible::List)
    {
    }

    ~TMeasureRowAccessible() override
    {
        for (const QAccessible::Id id : FChildIds)
            if (id != 0)
                QAccessible::deleteAccessibleInterface(id);
    }

    TMeasureRowFrame* Frame() const { return static_cast<TMeasureRowFrame*>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        return TMeasureRowFrame::tr("Compás %1, %2")
            .arg(Frame()->Bar() + 1)
            .arg(Frame()->IsMelody() ? TMeasureRowFrame::tr("melodía")
                                     : TMeasureRowFrame::tr("ritmo"));
    }

    int childCount() const override { return TMeasureRowFrame::Steps; }

    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= TMeasureRowFrame::Steps)
            return nullptr;
        QAccessible::Id& id = FChildIds[static_cast<std::size_t>(index)];
        if (id == 0)
            id = QAccessible::registerAccessibleInterface(
                new TMeasureStepAccessible(Frame(), index));
        return QAccessible::accessibleInterface(id);
    }

    int indexOfChild(const QAccessibleInterface* item) const override
    {
        for (int i = 0; i < TMeasureRowFrame::Steps; ++i)
        {
            const QAccessible::Id id = FChildIds[static_cast<std::size_t>(i)];
            if (id != 0 && QAccessible::accessibleInterface(id) == item)
                return i;
        }
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QPoint local = Frame()->viewport()->mapFromGlobal(QPoint(x, y));
        if (!Frame()->viewport()->rect().contains(local))
            return nullptr;
        return child(TMeasureRowFrame::StepAt(local.x()));
    }

    QAccessibleInterface* focusChild() const override
    {
        return Frame()->hasFocus() ? child(Frame()->Cursor()) : nullptr;
    }

private:
    mutable std::array<QAccessible::Id, TMeasureRowFrame::Steps> FChildIds{};
};

/// The keys a row acts on (see TMeasureRowOwner::RowKeyPress).
bool IsRowKey(bool melody, int key)
{
    switch (key)
    {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_L:
        return true;
    case Qt::Key_Space:
        return !melody;
    case Qt::Key_Up:
    case Qt::Key_Down:
        return melody;
    default:
        return false;
    }
}

QAccessibleInterface* MeasureRowFactory(const QString& key, QObject* object)
{
    if (key == QLatin1String("TMeasureRowFrame"))
        return new TMeasureRowAccessible(static_cast<TMeasureRowFrame*>(object));
    return nullptr;
}

} // namespace

TMeasureRowFrame::TMeasureRowFrame(TMeasureRowOwner* owner, bool melody, int bar, QWidget* parent)
    : TScrollFrame(parent), FOwner(owner), FMelody(melody), FBar(bar)
{
    static const bool installed = []
    {
        QAccessible::installFactory(MeasureRowFactory);
        return true;
    }();
    (void)installed;
    setFocusPolicy(Qt::StrongFocus);
}

int TMeasureRowFrame::StepAt(int x)
{
    const int step = x / TMeasureRowFrame::CellWidth;
    return x >= 0 && step < TMeasureRowFrame::Steps ? step : -1;
}

void TMeasureRowFrame::SetCursor(int step)
{
    step = std::clamp(step, 0, TMeasureRowFrame::Steps - 1);
    if (step == FCursor)
        return;
    FCursor = step;
    viewport()->update();
    NotifyStep(step, true);
}

void TMeasureRowFrame::NotifyStep(int step, bool moved) const
{
    if (!QAccessible::isActive())
        return;
    if (moved && !hasFocus())
        return;
    QAccessibleEvent event(const_cast<TMeasureRowFrame*>(this),
                           moved ? QAccessible::Focus : QAccessible::NameChanged);
    event.setChild(step);
    QAccessible::updateAccessibility(&event);
}

bool TMeasureRowFrame::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride)
    {
        auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers others =
            key->modifiers() & ~(Qt::ShiftModifier | Qt::ControlModifier | Qt::KeypadModifier);
        if (others == Qt::NoModifier && IsRowKey(FMelody, key->key()))
        {
            event->accept();
            return true;
        }
    }
    return TScrollFrame::event(event);
}

void TMeasureRowFrame::keyPressEvent(QKeyEvent* event)
{
    if (FOwner->RowKeyPress(*this, *event))
        event->accept();
    else
        TScrollFrame::keyPressEvent(event);
}

void TMeasureRowFrame::focusInEvent(QFocusEvent* event)
{
    TScrollFrame::focusInEvent(event);
    // From the bar's other row by Tab or Shift+Tab, the keyboard stays on its step.
    const bool tabbed =
        event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    if (tabbed && LastRowLeft != nullptr && LastRowLeft != this && LastRowLeft->Owner() == FOwner &&
        LastRowLeft->Bar() == FBar)
        SetCursor(LastRowLeft->Cursor());
    viewport()->update();
    NotifyStep(FCursor, true);
}

void TMeasureRowFrame::focusOutEvent(QFocusEvent* event)
{
    TScrollFrame::focusOutEvent(event);
    LastRowLeft = this;
    viewport()->update();
}

bool TMeasureRowFrame::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip)
    {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int step = StepAt(help->pos().x());
        const QString tip = step >= 0 ? FOwner->StepToolTip(FMelody, FBar, step) : QString();
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, viewport());
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress)
    {
        // The keyboard goes on from the step last clicked.
        const int step = StepAt(static_cast<QMouseEvent*>(event)->position().toPoint().x());
        if (step >= 0)
            SetCursor(step);
    }
    return TScrollFrame::viewportEvent(event);
}
