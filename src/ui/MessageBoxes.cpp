#include "ui/MessageBoxes.h"

#include "audio/AudioError.h"
#include "base/Exceptions.h"
#include "ui/FileDialogs.h"
#include "ui/Translations.h"
#include "ui/WindowUtils.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QMessageBox>

namespace
{
/// The words of an error of ours in the window's language, what() for any other.
QString Headline(const std::exception& error)
{
    const auto* own = dynamic_cast<const ELyravaneError*>(&error);
    return own != nullptr ? CoreMessage(own->Message()) : QString::fromUtf8(error.what());
}

/// The cause after its places, in the window's language.
QString Cause(const ELyravaneError& error)
{
    QStringList parts;
    for (const std::string& place : error.Places())
        parts << FromFsPath(place);
    if (!error.CauseMessage().Empty())
        parts << CoreMessage(error.CauseMessage());
    return parts.join(QStringLiteral(": "));
}
} // namespace

QString ErrorDetails(const std::exception& error, bool wholeText)
{
    const auto* own = dynamic_cast<const ELyravaneError*>(&error);
    QString cause = own != nullptr ? Cause(*own) : QString();
    if (!wholeText)
        return cause;
    const QString text = Headline(error);
    return cause.isEmpty() ? text : text + QStringLiteral(" (") + cause + QLatin1Char(')');
}

QString ErrorText(const std::exception& error)
{
    const auto* soundFont = dynamic_cast<const ESoundFontError*>(&error);
    if (soundFont == nullptr)
        return Headline(error);
    using TReason = ESoundFontError::TReason;
    const QString path = FromFsPath(soundFont->Path());
    const char* problem = "";
    switch (soundFont->Reason())
    {
    case TReason::Missing:
        problem = QT_TRANSLATE_NOOP("TMessageBoxes", "No hay ningún SoundFont en %1.");
        break;
    case TReason::Directory:
        problem = QT_TRANSLATE_NOOP("TMessageBoxes", "%1 es una carpeta, no un SoundFont.");
        break;
    case TReason::NotRegular:
        problem = QT_TRANSLATE_NOOP("TMessageBoxes",
                                    "%1 no es un archivo normal (es una tubería, un dispositivo o "
                                    "un socket), y no se puede usar como SoundFont.");
        break;
    case TReason::Unreadable:
        problem = QT_TRANSLATE_NOOP("TMessageBoxes", "No se puede leer el SoundFont %1.");
        break;
    case TReason::NotSoundFont:
        problem =
            QT_TRANSLATE_NOOP("TMessageBoxes", "%1 no es un archivo SoundFont (.sf2 o .sf3).");
        break;
    case TReason::Refused:
        problem =
            QT_TRANSLATE_NOOP("TMessageBoxes", "El sintetizador no pudo cargar el SoundFont %1.");
        break;
    }
    return QCoreApplication::translate("TMessageBoxes", problem).arg(path) + QLatin1Char(' ') +
           QCoreApplication::translate("TMessageBoxes",
                                       "Instale el paquete fluid-soundfont-gm o elija otro "
                                       "SoundFont en Opciones.");
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
        box.button(QMessageBox::Yes)->setText(QCoreApplication::translate("TMessageBoxes", "&Sí"));
        box.button(QMessageBox::No)->setText(QCoreApplication::translate("TMessageBoxes", "&No"));
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
