#pragma once

#include <QApplication>

class TMessageBoxes;

/// The application object. Its standard handler shows the text of a failure that escaped an
/// event handler in a message box and lets the program go on: nothing crosses the event loop.
class TLyravaneApplication : public QApplication
{
    Q_DECLARE_TR_FUNCTIONS(TLyravaneApplication)

public:
    TLyravaneApplication(int& argc, char** argv);

    /// Where the standard handler shows failures; not owned.
    TMessageBoxes* MessageBoxes = nullptr;

    bool notify(QObject* receiver, QEvent* event) override;
};
