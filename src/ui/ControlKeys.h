#pragma once

#include <QObject>

/// Lets the control that has the focus keep the keys it uses, as everywhere on the desktop:
/// the space bar goes to a button, a check box, a radio button, a list or a field rather than
/// to a window's shortcut on it (the main window's play or stop), and Return or Enter press
/// a focused push button. Installed on a window, it sees the keys its controls let pass.
class TControlKeys : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
