#include "controls/ControlsAccessible.h"

#include "controls/MenuButton.h"
#include "controls/SpinButton.h"

#include <QAccessibleWidget>
#include <QAction>

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

QAccessibleInterface* ControlsFactory(const QString& key, QObject* object)
{
    if (!object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (key == QLatin1String("TMenuButton"))
        return new TMenuButtonAccessible(static_cast<TMenuButton*>(widget));
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
