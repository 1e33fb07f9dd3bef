#include "controls/MenuButtonActionLink.h"

#include "controls/MenuButton.h"

#include <QAction>
#include <QDynamicPropertyChangeEvent>
#include <QVariant>

TMenuButtonActionLink::TMenuButtonActionLink(TMenuButton* client, QAction* action)
    : FClient(client), FAction(action)
{
    connect(action, &QAction::changed, this, &TMenuButtonActionLink::ActionChanged);
    connect(client, &TMenuButton::Click, this,
            [this]
            {
                if (FAction != nullptr)
                    FAction->trigger();
            });
    action->installEventFilter(this);
}

TMenuButtonActionLink::~TMenuButtonActionLink()
{
    if (FAction != nullptr)
        FAction->removeEventFilter(this);
}

void TMenuButtonActionLink::SetActionImageIndex(QAction* action, int index)
{
    action->setProperty(ImageIndexProperty, index);
}

int TMenuButtonActionLink::ActionImageIndex(const QAction* action)
{
    bool ok = false;
    const int index = action->property(ImageIndexProperty).toInt(&ok);
    return ok ? index : -1;
}

bool TMenuButtonActionLink::IsCheckedLinked() const
{
    return FAction != nullptr && FAction->isCheckable() && FChecked == FClient->Down();
}

bool TMenuButtonActionLink::IsImageIndexLinked() const
{
    return FAction != nullptr && FImageIndex == FClient->ImageIndex();
}

void TMenuButtonActionLink::SetChecked(bool value)
{
    if (IsCheckedLinked())
        FClient->SetDown(value);
    FChecked = value;
}

void TMenuButtonActionLink::SetImageIndex(int value)
{
    if (IsImageIndexLinked())
        FClient->SetImageIndex(value);
    FImageIndex = value;
}

void TMenuButtonActionLink::Apply()
{
    if (FAction == nullptr)
        return;
    FClient->setEnabled(FAction->isEnabled());
    // Only hidden here: showing a button that has no parent yet would open it as a window.
    if (!FAction->isVisible())
        FClient->setVisible(false);
    FClient->setToolTip(FAction->toolTip());
    FClient->setStatusTip(FAction->statusTip());
    FChecked = FAction->isChecked();
    if (FAction->isCheckable())
        FClient->SetDown(FChecked);
    FImageIndex = ActionImageIndex(FAction);
    FClient->SetImageIndex(FImageIndex);
}

void TMenuButtonActionLink::ActionChanged()
{
    if (FAction == nullptr)
        return;
    FClient->setEnabled(FAction->isEnabled());
    if (FClient->parentWidget() != nullptr && FClient->isHidden() == FAction->isVisible())
        FClient->setVisible(FAction->isVisible());
    FClient->setToolTip(FAction->toolTip());
    FClient->setStatusTip(FAction->statusTip());
    // The button follows a new checked state only if it was in step with the old one.
    if (FAction->isCheckable() && FAction->isChecked() != FChecked)
        SetChecked(FAction->isChecked());
}

bool TMenuButtonActionLink::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FAction && event->type() == QEvent::DynamicPropertyChange &&
        static_cast<QDynamicPropertyChangeEvent*>(event)->propertyName() == ImageIndexProperty)
    {
        const int index = ActionImageIndex(FAction);
        if (index != FImageIndex)
            SetImageIndex(index);
    }
    return QObject::eventFilter(watched, event);
}
