#pragma once

#include "ui/Settings.h"

#include <QDialog>

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class TFileDialogRunner;

/// "Opciones": the song repeat count, the General MIDI lead-in and the track names of
/// exported MIDI files; below them, how audio is exported (normalised to a loudness or not)
/// and the SoundFont the synthesiser uses.
class TFormOption : public QDialog
{
    Q_OBJECT

public:
    explicit TFormOption(QWidget* parent = nullptr);

    std::int32_t RepeatCount = 1;
    bool IncludeReset = false;
    bool MidiTrackNames = false;
    bool Normalize = true;
    /// One of ExportLoudnessChoices (Settings.h).
    int LoudnessLufs = -14;
    /// The SoundFont in use when the dialog opens, and the one chosen when it closes.
    QString SoundFont;
    /// Offered in the list besides SoundFont (the installed ones).
    QStringList InstalledSoundFonts;
    /// The size of the window, one of WindowScaleChoices (Settings.h), in percent.
    int WindowScale = 100;
    /// The language setting: "" (the system's), "es" or "en".
    QString Language;
    /// Runs "Elegir otro..."'s file dialog; null: the real one.
    TFileDialogRunner* FileDialogs = nullptr;

    /// The raised frame around the playing options (GroupBox1 and GroupBox2).
    QFrame* TabControl1;
    QGroupBox* GroupBox1; ///< "Song Repeat ": the repeat count
    QGroupBox* GroupBox2; ///< "Sistema G.MIDI On": the lead-in
    /// "1" to "4"; RadioButtons[k - 1] is RadioButtonk.
    std::array<QRadioButton*, MaxRepeatCount> RadioButtons{};
    QRadioButton* RadioButton5; ///< "Incluido "
    QRadioButton* RadioButton6; ///< "Excluido "
    QCheckBox* CheckTrackNames; ///< "Nombres de pista en MIDI"
    /// The raised frame around the audio export and SoundFont groups.
    QFrame* FrameAudio;
    QGroupBox* GroupBoxExport;
    QCheckBox* CheckNormalize;
    QLabel* LabelLoudness;
    QComboBox* ComboLoudness;
    QGroupBox* GroupBoxSoundFont;
    /// "En uso: name"
    QLabel* LabelSoundFont;
    /// The installed SoundFonts and any chosen with the file dialog; the path is each
    /// item's data.
    QComboBox* ComboSoundFont;
    QPushButton* ButtonChooseSoundFont;
    QLabel* LabelWindowScale;
    /// "Tamaño de la ventana": 100 %, 125 %, 150 %, 200 %, the percent each item's data.
    QComboBox* ComboWindowScale;
    QLabel* LabelLanguage;
    /// "Idioma": by the system, Spanish or English; each item's data is the setting's value
    /// ("", "es", "en").
    QComboBox* ComboLanguage;
    QPushButton* ButtonOk;
    QPushButton* ButtonCancel;

    /// Sets the radio buttons from the fields.
    void FormShow();
    /// Copies the radio buttons back into the fields (every way the dialog closes).
    void FormClose();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildExportAndSoundFont();
    /// Selects path in the SoundFont list, adding it when it is not there.
    void SelectSoundFont(const QString& path);
    void ChooseSoundFont();
};
