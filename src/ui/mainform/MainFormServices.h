#pragma once

#include <QString>

#include <functional>
#include <string>

class QWidget;
class TAbstractMediaPlayer;
class TFileDialogRunner;
class TMessageBoxes;
class TPropertyPage;
class TSynthesizer;
class TUnitClipboard;
class TUnitPage;

/// What the main window needs from outside: the platform layers it talks through (tests
/// replace each of them), where its files are, and the two pages it embeds. None is owned.
struct TMainFormServices
{
    TMessageBoxes* MessageBoxes = nullptr;
    TFileDialogRunner* FileDialogs = nullptr;
    TUnitClipboard* Clipboard = nullptr;
    TAbstractMediaPlayer* Player = nullptr;
    /// The synthesiser the player plays through: its SoundFont is the one audio is exported
    /// with, and the options change it. Null: the SoundFont setting, or the default.
    TSynthesizer* Synth = nullptr;
    /// Whether the player can open a file without waiting (the SoundFont has loaded); the
    /// start-up priming waits for it. Empty: always.
    std::function<bool()> PlayerReady;
    /// "$$$.mid" in the program's private temporary directory.
    std::string TempMidiFile;
    /// The HTML help opened by "&Contenido".
    QString HelpFile;
    /// An INI file for the settings; empty: the user's "Vemora"/"LYRV1999" settings.
    QString SettingsPath;
    /// The folder of the recovery files; empty: "recovery" in the program's data folder.
    QString RecoveryDir;
    /// The user's pattern library that "Añadir patrón" writes (its USER folder); empty:
    /// "PATTERN" in the program's data folder.
    QString UserPatternDir;
    /// Makers of the two pages (tests put simpler pages in their place); empty: the property
    /// page and the bar editor.
    std::function<TPropertyPage*(QWidget* parent)> CreatePropertyPage;
    std::function<TUnitPage*(QWidget* parent)> CreateUnitPage;
    /// How long a confirmation ("Guardado: ...", "Exportado: ...") stays in the status bar.
    int ConfirmationMilliseconds = 4000;
};
