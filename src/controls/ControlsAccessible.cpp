#include "controls/ControlsAccessible.h"

#include "controls/DialEdit.h"
#include "controls/MenuButton.h"
#include "controls/SpinButton.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QAction>
#include <QComboBox>

namespace
{

/// Strips the mnemonic ampersands and a trailing ellipsis from a command's text.
QString PlainActionText(const QAction& action)
{
    QString text = action.text();
    text.remove(QLatin1Char('&'));
    if (text.endsWith(QStringLiteral("...")))
        text.chop(3);
    return text.trimmed();
}

class TMenuButtonAccessible : public QAccessibleWidget
{
public:
    explicit TMenuButtonAccessible(TMenuButton* button)
        : QAccessibleWidget(button, button->DropdownMenu() != nullptr ? QAccessible::ButtonMenu
                                                                      : QAccessible::PushButton)
    {
        addControllingSignal(QStringLiteral("Click()"));
    }

    TMenuButton* Button() const { return static_cast<TMenuButton*>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        QString value = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && value.isEmpty())
        {
            if (const QAction* action = Button()->Action())
                value = PlainActionText(*action);
            if (value.isEmpty())
                value = Button()->toolTip();
        }
        return value;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = Button()->Down() || (Button()->Action() && Button()->Action()->isCheckable());
        s.checked = Button()->Down();
        s.pressed = Button()->State() == TMenuButton::TState::Pressed;
        s.hasPopup = Button()->DropdownMenu() != nullptr;
        return s;
    }

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override
    {
        if (name == pressAction())
            Button()->Press();
        else
            QAccessibleWidget::doAction(name);
    }
};

/// A number field as a spin box: its value is a number between bounds, not just text.
class TDialEditAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit TDialEditAccessible(TDialEdit* edit) : QAccessibleWidget(edit, QAccessible::SpinBox) {}

    TDialEdit* Edit() const { return static_cast<TDialEdit*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? Edit()->text() : QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = !Edit()->isReadOnly();
        s.readOnly = Edit()->isReadOnly();
        return s;
    }

    QVariant currentValue() const override { return Edit()->Value(); }
    void setCurrentValue(const QVariant& value) override { Edit()->SetValue(value.toInt()); }
    QVariant maximumValue() const override { return Edit()->MaxValue(); }
    QVariant minimumValue() const override { return Edit()->MinValue(); }
    QVariant minimumStepSize() const override { return Edit()->Increment(); }
};

/// A list that says what it is for. Qt's own interface for a list names it by its choice on
/// Linux (and leaves the label to a relation most screen readers never read), so a chord box
/// was only "IV"; a list given an accessible name keeps that name and tells its choice as
/// its value.
class TNamedComboAccessible : public QAccessibleWidget
{
public:
    explicit TNamedComboAccessible(QComboBox* combo)
        : QAccessibleWidget(combo, QAccessible::ComboBox)
    {
    }

    QComboBox* Combo() const { return static_cast<QComboBox*>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? Combo()->currentText() : QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.hasPopup = true;
        s.expandable = true;
        s.expanded = Combo()->view()->isVisible();
        return s;
    }

    QStringList actionNames() const override
    {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override
    {
        if (name == showMenuAction() || name == pressAction())
            Combo()->showPopup();
        else
            QAccessibleWidget::doAction(name);
    }
};

QAccessibleInterface* ControlsFactory(const QString& key, QObject* object)
{
    if (!object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (key == QLatin1String("TMenuButton"))
        return new TMenuButtonAccessible(static_cast<TMenuButton*>(widget));
    if (key == QLatin1String("QComboBox") && !widget->accessibleName().isEmpty())
        return new TNamedComboAccessible(static_cast<QComboBox*>(widget));
    if (key == QLatin1String("TDialEdit"))
        return new TDialEditAccessible(static_cast<TDialEdit*>(widget));
    if (key == QLatin1String("TSpinButton"))
        return new QAccessibleWidget(widget, QAccessible::Button);
    if (key == QLatin1String("TSpeedDivider"))
        return new QAccessibleWidget(widget, QAccessible::Separator);
    return nullptr;
}

} // namespace

void InstallControlsAccessibility()
{
    static const bool installed = []
    {
        QAccessible::installFactory(ControlsFactory);
        return true;
    }();
    (void)installed;
}
