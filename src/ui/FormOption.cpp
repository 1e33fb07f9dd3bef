#include "ui/FormOption.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

namespace
{
void SetChecked(QRadioButton* button, bool checked)
{
    // An auto-exclusive button refuses to be unchecked while it is its group's choice.
    button->setAutoExclusive(false);
    button->setChecked(checked);
    button->setAutoExclusive(true);
}
} // namespace

TFormOption::TFormOption(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FormOption"));
    setWindowTitle(QStringLiteral("  Opciones  "));
    setFixedSize(201, 177);

    TabControl1 = new QFrame(this);
    TabControl1->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    TabControl1->setGeometry(8, 8, 185, 105);
    TabControl1->setFocusPolicy(Qt::NoFocus);

    GroupBox1 = new QGroupBox(QStringLiteral("Song Repeat "), TabControl1);
    GroupBox1->setGeometry(8, 8, 169, 41);
    for (int k = 0; k < MaxRepeatCount; ++k)
    {
        auto* button = new QRadioButton(QString::number(k + 1), GroupBox1);
        button->setObjectName(QStringLiteral("RadioButton%1").arg(k + 1));
        button->setGeometry(8 + 40 * k, 16, 33, 17);
        RadioButtons[static_cast<std::size_t>(k)] = button;
    }
    RadioButtons[0]->setChecked(true);

    GroupBox2 = new QGroupBox(QStringLiteral("Sistema G.MIDI On"), TabControl1);
    GroupBox2->setGeometry(8, 56, 169, 41);
    RadioButton5 = new QRadioButton(QStringLiteral("Incluido "), GroupBox2);
    RadioButton5->setGeometry(8, 16, 73, 17);
    RadioButton6 = new QRadioButton(QStringLiteral("Excluido "), GroupBox2);
    RadioButton6->setGeometry(88, 16, 73, 17);

    CheckTrackNames = new QCheckBox(QStringLiteral("&Nombres de pista en MIDI"), this);
    CheckTrackNames->setObjectName(QStringLiteral("CheckTrackNames"));
    CheckTrackNames->setGeometry(12, 119, 181, 19);

    ButtonOk = new QPushButton(QStringLiteral("&OK"), this);
    ButtonOk->setGeometry(8, 144, 89, 25);
    ButtonOk->setDefault(true);
    ButtonOk->setAutoDefault(true);
    ButtonCancel = new QPushButton(QStringLiteral("  &Cancelar  "), this);
    ButtonCancel->setGeometry(104, 144, 89, 25);
    connect(ButtonOk, &QPushButton::clicked, this, &QDialog::accept);
    // Esc and the close box end the dialog through reject() too.
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);

    // The keyboard goes as the eye does: the repeat count, the reset choice, the track
    // names, OK, Cancelar.
    setTabOrder(RadioButtons[MaxRepeatCount - 1], RadioButton5);
    setTabOrder(RadioButton5, RadioButton6);
    setTabOrder(RadioButton6, CheckTrackNames);
    setTabOrder(CheckTrackNames, ButtonOk);
    setTabOrder(ButtonOk, ButtonCancel);
}

void TFormOption::FormShow()
{
    for (int k = 0; k < MaxRepeatCount; ++k)
        SetChecked(RadioButtons[static_cast<std::size_t>(k)], RepeatCount == k + 1);
    SetChecked(RadioButton5, IncludeReset);
    SetChecked(RadioButton6, !IncludeReset);
    CheckTrackNames->setChecked(MidiTrackNames);
}

void TFormOption::FormClose()
{
    for (int k = 0; k < MaxRepeatCount; ++k)
        if (RadioButtons[static_cast<std::size_t>(k)]->isChecked())
            RepeatCount = k + 1;
    if (RadioButton5->isChecked())
        IncludeReset = true;
    if (RadioButton6->isChecked())
        IncludeReset = false;
    MidiTrackNames = CheckTrackNames->isChecked();
}

void TFormOption::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
    // The keyboard starts on the repeat count that is chosen, not on the first one.
    for (QRadioButton* button : RadioButtons)
        if (button->isChecked())
            button->setFocus(Qt::OtherFocusReason);
}

void TFormOption::done(int result)
{
    FormClose();
    QDialog::done(result);
}
