#pragma once

#include <QObject>
#include <QPointer>

class QAction;
class TMenuButton;

/// Keeps a TMenuButton in step with a command (QAction): enabled, visible, tool tip and status
/// tip, checked state as Down, and the image index kept in the action's "ImageIndex" property.
class TMenuButtonActionLink : public QObject
{
    Q_OBJECT

public:
    /// Name of the dynamic QAction property holding the image index of a command.
    static constexpr const char* ImageIndexProperty = "ImageIndex";

    TMenuButtonActionLink(TMenuButton* client, QAction* action);
    ~TMenuButtonActionLink() override;

    QAction* Action() const { return FAction; }

    /// Stores index as the image index of action (a dynamic property the link watches).
    static void SetActionImageIndex(QAction* action, int index);
    /// The image index of action, −1 when it has none.
    static int ActionImageIndex(const QAction* action);

    /// The action links its checked state and the button is in step with it.
    bool IsCheckedLinked() const;
    /// The action has an image index and the button shows it.
    bool IsImageIndexLinked() const;
    /// Passes the value to the button only when linked.
    void SetChecked(bool value);
    void SetImageIndex(int value);

    /// Copies the whole state of the action to the button (binding time).
    void Apply();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ActionChanged();

    TMenuButton* FClient;      // not owned: the button owns this link
    QPointer<QAction> FAction; // not owned
    bool FChecked = false;
    int FImageIndex = -1;
};
