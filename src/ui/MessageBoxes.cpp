#include "ui/MessageBoxes.h"

#include "base/Exceptions.h"
#include "ui/FileDialogs.h"
#include "ui/WindowUtils.h"

#include <QAbstractButton>
#include <QMessageBox>

QString ErrorDetails(const std::exception& error, bool wholeText)
{
    const auto* own = dynamic_cast<const ELyravaneError*>(&error);
    const std::string cause = own != nullptr ? own->Cause() : std::string();
    // Paths in a message are in the file system's encoding.
    return FromFsPath(wholeText ? MessageWithCause(error) : cause);
}

TMsgResult TQtMessageBoxes::Show(QWidget* owner, const QString& text, TMsgIcon icon,
                                 TMsgButtons buttons)
{
    return ShowDetailed(owner, text, QString(), icon, buttons);
}

TMsgResult TQtMessageBoxes::ShowDetailed(QWidget* owner, const QString& text,
                                         const QString& details, TMsgIcon icon, TMsgButtons buttons)
{
    QMessageBox box(owner);
    box.setWindowTitle(ProgramTitle());
    box.setText(text);
    if (!details.isEmpty())
        box.setDetailedText(details);
    switch (icon)
    {
    case TMsgIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case TMsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case TMsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case TMsgIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case TMsgIcon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    switch (buttons)
    {
    case TMsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case TMsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    case TMsgButtons::SiNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("&Sí"));
        box.button(QMessageBox::No)->setText(QStringLiteral("&No"));
        break;
    case TMsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    // Qt centres a box over its owner's window and keeps it inside the screen.
    switch (box.exec())
    {
    case QMessageBox::Yes:
        return TMsgResult::Yes;
    case QMessageBox::No:
        return TMsgResult::No;
    case QMessageBox::Cancel:
        return TMsgResult::Cancel;
    default:
        return buttons == TMsgButtons::Ok ? TMsgResult::Ok : TMsgResult::Cancel;
    }
}
