#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <string>

class QComboBox;
class QDateTime;
class QWidget;

/// "Lyravane 1999": the caption of every message box and the start of the main caption.
QString ProgramTitle();

/// The file-name part of a path: the text after its last separator (or a drive colon).
QString FileNamePart(const QString& path);
/// The file-name part without its extension (the text from its last dot on).
QString FileBaseName(const QString& path);

/// A library's name as the window shows it: its bytes as UTF-8 when they are valid UTF-8,
/// else as Shift-JIS (pattern sets brought from Windows).
QString DisplayName(const std::string& bytes);

/// The area a window may occupy on the screen it is on (the maximised-window area).
QRect ScreenWorkArea(const QWidget* window);

/// Moves a top-left corner so that a window of size lies inside area: first pulled back
/// from the right and bottom edges, then from the left and top ones, so a window larger
/// than the area ends at its top-left corner.
QPoint ClampIntoArea(QPoint topLeft, QSize size, const QRect& area);

/// When something happened, as a message says it: "hoy, 21:42", "ayer, 21:42", else
/// "8/12/2026, 21:42".
QString WhenText(const QDateTime& at, const QDateTime& now);

/// Pulls a top-level window back into the screen's work area, shrinking one that is larger.
void KeepOnScreen(QWidget* window);

/// Centres a window over its parent window, then keeps it on the screen.
void CenterOnOwner(QWidget* window);

/// Makes a list's popup as wide as its widest item (and its scroll bar); returns that width.
int WidenPopup(QComboBox* list);

/// Runs done once the window is on the screen and painted: at once when it is already
/// exposed or has no native window, else after its first exposure has been painted.
void WhenOnScreen(QWidget* window, std::function<void()> done);

/// Shows the hourglass cursor for its lifetime, on every path out of a command.
class TWaitCursor
{
public:
    TWaitCursor();
    ~TWaitCursor();
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};
