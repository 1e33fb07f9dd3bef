#include "ui/FormOption.h"

#include "ui/FileDialogs.h"
#include "ui/Settings.h"
#include "ui/WindowUtils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <vector>

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
    setWindowTitle(tr("  Opciones  "));
    setFixedSize(201, 421);

    TabControl1 = new QFrame(this);
    TabControl1->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    TabControl1->setGeometry(8, 8, 185, 105);
    TabControl1->setFocusPolicy(Qt::NoFocus);

    GroupBox1 = new QGroupBox(tr("Song Repeat "), TabControl1);
    GroupBox1->setGeometry(8, 8, 169, 41);
    for (int k = 0; k < MaxRepeatCount; ++k)
    {
        auto* button = new QRadioButton(QString::number(k + 1), GroupBox1);
        button->setObjectName(QStringLiteral("RadioButton%1").arg(k + 1));
        button->setGeometry(8 + 40 * k, 16, 33, 17);
        RadioButtons[static_cast<std::size_t>(k)] = button;
    }
    RadioButtons[0]->setChecked(true);

    GroupBox2 = new QGroupBox(tr("Sistema G.MIDI On"), TabControl1);
    GroupBox2->setGeometry(8, 56, 169, 41);
    RadioButton5 = new QRadioButton(tr("Incluido "), GroupBox2);
    RadioButton5->setGeometry(8, 16, 73, 17);
    RadioButton6 = new QRadioButton(tr("Excluido "), GroupBox2);
    RadioButton6->setGeometry(88, 16, 73, 17);

    CheckTrackNames = new QCheckBox(tr("&Nombres de pista en MIDI"), this);
    CheckTrackNames->setObjectName(QStringLiteral("CheckTrackNames"));
    CheckTrackNames->setGeometry(12, 119, 181, 19);

    BuildExportAndSoundFont();

    LabelWindowScale = new QLabel(tr("&Tamaño de la ventana:"), this);
    // The caption on a line of its own: beside the list it would not fit.
    LabelWindowScale->setGeometry(12, 309, 181, 19);
    ComboWindowScale = new QComboBox(this);
    ComboWindowScale->setObjectName(QStringLiteral("ComboWindowScale"));
    ComboWindowScale->setGeometry(12, 330, 70, 21);
    for (const int percent : WindowScaleChoices)
        ComboWindowScale->addItem(QStringLiteral("%1 %").arg(percent), percent);
    ComboWindowScale->setToolTip(tr("Se aplica al volver a abrir el programa"));
    LabelWindowScale->setBuddy(ComboWindowScale);

    LabelLanguage = new QLabel(tr("&Idioma:"), this);
    LabelLanguage->setGeometry(12, 360, 64, 21);
    ComboLanguage = new QComboBox(this);
    ComboLanguage->setObjectName(QStringLiteral("ComboLanguage"));
    ComboLanguage->setGeometry(76, 360, 117, 21);
    // Each language by its own name, as everywhere.
    ComboLanguage->addItem(tr("Según el sistema"), QString());
    ComboLanguage->addItem(QStringLiteral("Español"), QStringLiteral("es"));
    ComboLanguage->addItem(QStringLiteral("English"), QStringLiteral("en"));
    ComboLanguage->setToolTip(tr("Se aplica al volver a abrir el programa"));
    LabelLanguage->setBuddy(ComboLanguage);

    ButtonOk = new QPushButton(tr("&OK"), this);
    ButtonOk->setGeometry(8, 388, 89, 25);
    ButtonOk->setDefault(true);
    ButtonOk->setAutoDefault(true);
    ButtonCancel = new QPushButton(tr("  &Cancelar  "), this);
    ButtonCancel->setGeometry(104, 388, 89, 25);
    connect(ButtonOk, &QPushButton::clicked, this, &QDialog::accept);
    // Esc and the close box end the dialog through reject() too.
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);

    // Top to bottom, as the dialog reads.
    const std::vector<QWidget*> order = {
        RadioButtons[0],       RadioButtons[1],  RadioButtons[2], RadioButtons[3], RadioButton5,
        RadioButton6,          CheckTrackNames,  CheckNormalize,  ComboLoudness,   ComboSoundFont,
        ButtonChooseSoundFont, ComboWindowScale, ComboLanguage,   ButtonOk,        ButtonCancel};
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TFormOption::BuildExportAndSoundFont()
{
    FrameAudio = new QFrame(this);
    FrameAudio->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    FrameAudio->setGeometry(8, 144, 185, 159);
    FrameAudio->setFocusPolicy(Qt::NoFocus);

    GroupBoxExport = new QGroupBox(tr("Exportar a audio"), FrameAudio);
    GroupBoxExport->setGeometry(8, 8, 169, 65);
    CheckNormalize = new QCheckBox(tr("&Normalizar volumen"), GroupBoxExport);
    CheckNormalize->setGeometry(8, 18, 153, 17);
    LabelLoudness = new QLabel(tr("&Objetivo:"), GroupBoxExport);
    LabelLoudness->setGeometry(24, 40, 56, 17);
    ComboLoudness = new QComboBox(GroupBoxExport);
    ComboLoudness->setGeometry(80, 38, 81, 21);
    for (const int lufs : ExportLoudnessChoices)
        ComboLoudness->addItem(QStringLiteral("%1 LUFS").arg(lufs), lufs);
    LabelLoudness->setBuddy(ComboLoudness);
    connect(CheckNormalize, &QCheckBox::toggled, ComboLoudness, &QWidget::setEnabled);
    connect(CheckNormalize, &QCheckBox::toggled, LabelLoudness, &QWidget::setEnabled);

    GroupBoxSoundFont = new QGroupBox(QStringLiteral("SoundFont"), FrameAudio);
    GroupBoxSoundFont->setGeometry(8, 80, 169, 71);
    LabelSoundFont = new QLabel(GroupBoxSoundFont);
    LabelSoundFont->setGeometry(8, 16, 153, 17);
    // The list takes the row but for a small button, so a SoundFont's name shows whole; its
    // popup is as wide as the longest name.
    ComboSoundFont = new QComboBox(GroupBoxSoundFont);
    ComboSoundFont->setGeometry(8, 36, 125, 21);
    ComboSoundFont->setAccessibleName(QStringLiteral("SoundFont"));
    ButtonChooseSoundFont = new QPushButton(QStringLiteral("…"), GroupBoxSoundFont);
    ButtonChooseSoundFont->setGeometry(136, 35, 25, 23);
    ButtonChooseSoundFont->setToolTip(tr("Elegir otro archivo SoundFont"));
    ButtonChooseSoundFont->setAccessibleName(tr("Elegir SoundFont"));
    connect(ButtonChooseSoundFont, &QPushButton::clicked, this, &TFormOption::ChooseSoundFont);
}

void TFormOption::SelectSoundFont(const QString& path)
{
    if (path.isEmpty())
        return;
    int index = ComboSoundFont->findData(path);
    if (index < 0)
    {
        ComboSoundFont->addItem(QFileInfo(path).fileName(), path);
        index = ComboSoundFont->count() - 1;
        ComboSoundFont->setItemData(index, path, Qt::ToolTipRole);
    }
    ComboSoundFont->setCurrentIndex(index);
}

void TFormOption::ChooseSoundFont()
{
    TFileDialogRequest request;
    request.Title = tr("Elegir SoundFont");
    request.Filter = tr("SoundFont|*.sf2 *.sf3|");
    request.FileName = ComboSoundFont->currentData().toString();
    TQtFileDialogRunner real;
    TFileDialogRunner* runner = FileDialogs ? FileDialogs : &real;
    if (const std::optional<QString> chosen = runner->Run(this, request))
        SelectSoundFont(*chosen);
}

void TFormOption::FormShow()
{
    for (int k = 0; k < MaxRepeatCount; ++k)
        SetChecked(RadioButtons[static_cast<std::size_t>(k)], RepeatCount == k + 1);
    SetChecked(RadioButton5, IncludeReset);
    SetChecked(RadioButton6, !IncludeReset);
    CheckTrackNames->setChecked(MidiTrackNames);
    CheckNormalize->setChecked(Normalize);
    ComboLoudness->setEnabled(Normalize);
    LabelLoudness->setEnabled(Normalize);
    ComboLoudness->setCurrentIndex(std::max(0, ComboLoudness->findData(LoudnessLufs)));
    ComboWindowScale->setCurrentIndex(std::max(0, ComboWindowScale->findData(WindowScale)));
    ComboLanguage->setCurrentIndex(std::max(0, ComboLanguage->findData(Language)));
    ComboSoundFont->clear();
    for (const QString& path : InstalledSoundFonts)
        SelectSoundFont(path);
    SelectSoundFont(SoundFont);
    WidenPopup(ComboSoundFont);
    const QString name = SoundFont.isEmpty() ? tr("ninguno") : QFileInfo(SoundFont).fileName();
    LabelSoundFont->setText(LabelSoundFont->fontMetrics().elidedText(
        tr("En uso: %1").arg(name), Qt::ElideMiddle, LabelSoundFont->width()));
    LabelSoundFont->setToolTip(SoundFont);
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
    Normalize = CheckNormalize->isChecked();
    LoudnessLufs = ComboLoudness->currentData().toInt();
    if (ComboSoundFont->currentIndex() >= 0)
        SoundFont = ComboSoundFont->currentData().toString();
    WindowScale = ComboWindowScale->currentData().toInt();
    Language = ComboLanguage->currentData().toString();
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
