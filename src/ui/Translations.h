#pragma once

#include <QString>

class QLocale;
class QTranslator;
struct TMessage;

/// The setting "Language" as the window takes it: "es" or "en", or empty (anything else) for
/// the system's language.
QString KnownLanguage(const QString& setting);

/// "es" or "en": the language setting's, or the one the system's locale asks for (English on
/// an English system, Spanish on any other).
QString ChosenLanguage(const QString& setting, const QLocale& system);

/// Installs the program's translation into language ("es" or "en") and, for Spanish, Qt's own
/// Spanish texts (the buttons of message boxes, the file dialog, the context menus of text
/// fields). Returns the translators, owned by the application (deleting one uninstalls it);
/// a catalogue that is not there is left out, and its texts stay as they are written.
struct TInstalledTranslations
{
    QTranslator* Program = nullptr;
    QTranslator* Qt = nullptr;
};
TInstalledTranslations InstallTranslations(const QString& language);

/// A text of the core (marked with Core::Tr) in the window's language.
QString CoreText(const char* source);
/// A message of the core with its values, in the window's language; values that are not
/// ours (paths, names, numbers) are shown as they are, paths in the file system's encoding.
QString CoreMessage(const TMessage& message);
