#include "ui/FormAbout.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

TFormAbout::TFormAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FormAbout"));
    setWindowTitle(tr("Lyravane 1999 - Informacion de Version"));

    ProgramIcon = new QLabel(this);
    ProgramIcon->setFixedSize(48, 48);
    ProgramIcon->setPixmap(QApplication::windowIcon().pixmap(48, 48));

    Version = new QLabel(tr(VersionLine), this);
    QFont bold = Version->font();
    bold.setBold(true);
    Version->setFont(bold);

    Maker = new QLabel(tr("Copyright (C) 1999 Vemora. Hecho con Qt 6 y FluidSynth."), this);

    const QString address = QString::fromLatin1(WebAddress);
    Link = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(address), this);
    Link->setTextFormat(Qt::RichText);
    Link->setTextInteractionFlags(Qt::TextBrowserInteraction);
    Link->setOpenExternalLinks(true); // the default browser opens it

    OkButton = new QPushButton(tr("OK"), this);
    OkButton->setMinimumWidth(75);
    OkButton->setDefault(true);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    // Esc closes the box as the OK button does (QDialog maps it to reject()).

    // The texts set the size, each on one line, at any font and scale.
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(16, 16, 16, 12);
    page->setSpacing(12);
    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(ProgramIcon, 0, Qt::AlignTop);
    auto* lines = new QVBoxLayout;
    lines->setSpacing(6);
    for (QLabel* line : {Version, Maker, Link})
        lines->addWidget(line);
    top->addLayout(lines, 1);
    page->addLayout(top);
    page->addWidget(OkButton, 0, Qt::AlignHCenter);
    // Wide enough for the caption too: the title bar puts about 120 pixels of icon and
    // buttons beside it, and window managers often draw it in bold.
    const int captionWidth = QFontMetrics(bold).horizontalAdvance(windowTitle()) + 120;
    const QSize hint = page->sizeHint();
    setFixedSize(std::max(hint.width(), captionWidth), hint.height());
}
