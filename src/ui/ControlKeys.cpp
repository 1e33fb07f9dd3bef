#include "ui/ControlKeys.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace
{
bool Plain(const QKeyEvent& key)
{
    return (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

bool IsReturn(const QKeyEvent& key)
{
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

/// Whether the widget has a use of its own for the space bar.
bool UsesSpace(const QWidget* widget)
{
    return qobject_cast<const QAbstractButton*>(widget) != nullptr ||
           qobject_cast<const QComboBox*>(widget) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(widget) != nullptr ||
           qobject_cast<const QLineEdit*>(widget) != nullptr ||
           qobject_cast<const QAbstractItemView*>(widget) != nullptr;
}
} // namespace

bool TControlKeys::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return false;
    // A key a control does not take goes on to its parents, up to the window watched here.
    auto* window = qobject_cast<QWidget*>(watched);
    QWidget* widget = window != nullptr ? window->focusWidget() : nullptr;
    const auto& key = *static_cast<QKeyEvent*>(event);
    if (widget == nullptr || !Plain(key))
        return false;
    auto* button = qobject_cast<QPushButton*>(widget);
    if (type == QEvent::ShortcutOverride)
    {
        // Accepted, the key is no shortcut: it comes to the control as a key press.
        if ((key.key() == Qt::Key_Space && UsesSpace(widget)) || (IsReturn(key) && button))
            event->accept();
        return false;
    }
    // A push button outside a dialog takes no Return of its own.
    if (IsReturn(key) && button != nullptr && button->isEnabled() && !button->autoDefault() &&
        !button->isDefault())
    {
        button->click();
        return true;
    }
    return false;
}
