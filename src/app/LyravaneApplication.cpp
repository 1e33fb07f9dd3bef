#include "app/LyravaneApplication.h"

#include "ui/MessageBoxes.h"

#include <exception>

TLyravaneApplication::TLyravaneApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TLyravaneApplication::notify(QObject* receiver, QEvent* event)
{
    try
    {
        return QApplication::notify(receiver, event);
    }
    catch (const std::exception& error)
    {
        if (MessageBoxes != nullptr)
            MessageBoxes->ShowDetailed(activeWindow(), ErrorText(error), ErrorDetails(error),
                                       TMsgIcon::Error, TMsgButtons::Ok);
    }
    catch (...)
    {
        if (MessageBoxes != nullptr)
            MessageBoxes->Show(activeWindow(), tr("Error desconocido"), TMsgIcon::Error,
                               TMsgButtons::Ok);
    }
    return false;
}
