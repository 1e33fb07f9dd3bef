#pragma once

#include <QString>

#include <exception>

class QWidget;

/// The icon of a message box.
enum class TMsgIcon
{
    None,
    Information,
    Question,
    Exclamation,
    Error
};

/// The buttons of a message box.
enum class TMsgButtons
{
    Ok,
    YesNo,
    YesNoCancel,
    /// Yes and No captioned in Spanish ("Sí", "No"); Yes is the default.
    SiNo
};

/// The button that closed a message box.
enum class TMsgResult
{
    Ok,
    Yes,
    No,
    Cancel
};

/// Message boxes captioned with the program title. The windows reach them through this,
/// so tests can answer them without a human.
class TMessageBoxes
{
public:
    virtual ~TMessageBoxes() = default;
    /// Shows text over owner (centred; null: no owner) and returns the button pressed.
    virtual TMsgResult Show(QWidget* owner, const QString& text, TMsgIcon icon,
                            TMsgButtons buttons) = 0;
    /// The same with details the user can unfold under the text (the cause of an error);
    /// without details it is Show.
    virtual TMsgResult ShowDetailed(QWidget* owner, const QString& text, const QString& details,
                                    TMsgIcon icon, TMsgButtons buttons)
    {
        (void)details;
        return Show(owner, text, icon, buttons);
    }
};

/// The details of an error's box in the window's language: its cause (the file and what was
/// wrong); with wholeText the message too, for a box whose text says something of its own.
QString ErrorDetails(const std::exception& error, bool wholeText = false);

/// The text a box shows for an error: its message in the window's language, and for a
/// SoundFont that cannot be used, a sentence of the window's own that says what to do.
QString ErrorText(const std::exception& error);

/// The real message boxes (QMessageBox).
class TQtMessageBoxes : public TMessageBoxes
{
public:
    TMsgResult Show(QWidget* owner, const QString& text, TMsgIcon icon,
                    TMsgButtons buttons) override;
    TMsgResult ShowDetailed(QWidget* owner, const QString& text, const QString& details,
                            TMsgIcon icon, TMsgButtons buttons) override;
};
