#pragma once

#include <QDialog>

#include <array>
#include <cstdint>

class QCheckBox;
class QFrame;
class QGroupBox;
class QPushButton;
class QRadioButton;

/// "Opciones": the song repeat count, the General MIDI lead-in and the track names of
/// exported MIDI files.
class TFormOption : public QDialog
{
    Q_OBJECT

public:
    explicit TFormOption(QWidget* parent = nullptr);

    /// The song plays 1 to MaxRepeatCount times.
    static constexpr int MaxRepeatCount = 4;
    std::int32_t RepeatCount = 1;
    bool IncludeReset = false;
    bool MidiTrackNames = false;

    QFrame* TabControl1;
    QGroupBox* GroupBox1;
    QGroupBox* GroupBox2;
    /// "1" to "4"; RadioButtons[k - 1] is RadioButtonk.
    std::array<QRadioButton*, MaxRepeatCount> RadioButtons{};
    QRadioButton* RadioButton5; ///< "Incluido "
    QRadioButton* RadioButton6; ///< "Excluido "
    QCheckBox* CheckTrackNames; ///< "Nombres de pista en MIDI"
    QPushButton* ButtonOk;
    QPushButton* ButtonCancel;

    /// Sets the radio buttons from the fields.
    void FormShow();
    /// Copies the radio buttons back into the fields (every way the dialog closes).
    void FormClose();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
};
