#include "ui/FormAbout.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

TFormAbout::TFormAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FormAbout"));
    setWindowTitle(QStringLiteral("Lyravane 1999 - Informacion de Version"));
    setFixedSize(300, 150);

    ProgramIcon = new QLabel(this);
    ProgramIcon->setGeometry(16, 16, 48, 48);
    ProgramIcon->setPixmap(QApplication::windowIcon().pixmap(48, 48));

    Version = new QLabel(QString::fromLatin1(VersionLine), this);
    Version->setGeometry(80, 16, 210, 17);
    QFont bold = Version->font();
    bold.setBold(true);
    Version->setFont(bold);

    Maker =
        new QLabel(QStringLiteral("Copyright (C) 1999 Vemora. Hecho con Qt 6 y FluidSynth."), this);
    Maker->setGeometry(80, 38, 210, 34);
    Maker->setWordWrap(true);

    const QString address = QString::fromLatin1(WebAddress);
    Link = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(address), this);
    Link->setGeometry(80, 76, 210, 17);
    Link->setTextFormat(Qt::RichText);
    Link->setTextInteractionFlags(Qt::TextBrowserInteraction);
    Link->setOpenExternalLinks(true); // the default browser opens it

    OkButton = new QPushButton(QStringLiteral("OK"), this);
    OkButton->setGeometry(112, 112, 75, 25);
    OkButton->setDefault(true);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    // Esc closes the box as the OK button does (QDialog maps it to reject()).
}
