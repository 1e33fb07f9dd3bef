#include "ui/FormAddPattern.h"

#include "ui/FileDialogs.h"
#include "ui/Settings.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

TFormAddPattern::TFormAddPattern(TFileDialogRunner* fileDialogs, TAdder adder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      FFileDialogs(fileDialogs), FAdder(std::move(adder))
{
    setObjectName(QStringLiteral("FormAddPattern"));
    setWindowTitle(tr("Añadir patrón"));

    EditFile = new QLineEdit(this);
    EditFile->setObjectName(QStringLiteral("EditFile"));
    EditFile->setMinimumWidth(260);
    ButtonBrowse = new QPushButton(tr("&Examinar..."), this);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(EditFile, 1);
    fileRow->addWidget(ButtonBrowse);

    ComboBoxKind = new QComboBox(this);
    ComboBoxKind->addItems({tr("Acompañamiento"), tr("Bajo"), tr("Batería")});
    EditName = new QLineEdit(this);
    EditName->setObjectName(QStringLiteral("EditName"));
    EditName->setMaxLength(63);

    auto* form = new QFormLayout;
    // A row whose field is a layout gets no buddy by itself: the label needs one for its key.
    auto* fileLabel = new QLabel(tr("A&rchivo MIDI:"), this);
    fileLabel->setBuddy(EditFile);
    form->addRow(fileLabel, fileRow);
    form->addRow(tr("&Tipo:"), ComboBoxKind);
    form->addRow(tr("&Nombre:"), EditName);

    auto* buttons = new QDialogButtonBox(this);
    ButtonOk = buttons->addButton(tr("&Añadir"), QDialogButtonBox::AcceptRole);
    ButtonCancel = buttons->addButton(tr("&Cancelar"), QDialogButtonBox::RejectRole);
    ButtonOk->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(ButtonBrowse, &QPushButton::clicked, this, &TFormAddPattern::Browse);
    connect(buttons, &QDialogButtonBox::accepted, this, &TFormAddPattern::TryAdd);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void TFormAddPattern::Browse()
{
    TCenterOpenDialog dialog(this, FFileDialogs);
    dialog.Title = tr("Archivo MIDI del patrón");
    //: Description|pattern pairs: the patterns and the "|" separators stay as they are.
    dialog.Filter = tr("Archivo MIDI (*.mid *.MID *.midi)|*.mid|Todos los archivos (*)|*|");
    dialog.DefaultExt = QStringLiteral("mid");
    dialog.FileName = EditFile->text();
    if (!dialog.Execute())
        return;
    EditFile->setText(dialog.FileName);
    if (EditName->text().trimmed().isEmpty())
        EditName->setText(QFileInfo(dialog.FileName).completeBaseName());
}

void TFormAddPattern::TryAdd()
{
    const auto kind = static_cast<TPatternKind>(std::max(0, ComboBoxKind->currentIndex()));
    if (FAdder(ToFsPath(EditFile->text()), kind, EditName->text().toStdString()))
        accept();
}

QString DefaultUserPatternDir()
{
    return UserDataFolder() + QStringLiteral("/PATTERN");
}
