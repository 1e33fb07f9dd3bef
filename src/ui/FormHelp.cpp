#include "ui/FormHelp.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

TFormHelp::TFormHelp(QWidget* parent) : QDialog(parent, Qt::Window)
{
    setObjectName(QStringLiteral("FormHelp"));
    setWindowTitle(tr("Lyravane 1999 - Ayuda"));
    resize(620, 520);

    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    auto* contents = new QPushButton(tr("&Contenido"), this);
    auto* back = new QPushButton(tr("&Atras"), this);
    auto* forward = new QPushButton(tr("A&delante"), this);
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addStretch();
    layout->addLayout(buttons);

    Browser = new QTextBrowser(this);
    Browser->setOpenExternalLinks(true);
    layout->addWidget(Browser);

    connect(contents, &QPushButton::clicked, Browser, &QTextBrowser::home);
    connect(back, &QPushButton::clicked, Browser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, Browser, &QTextBrowser::forward);
    connect(Browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(Browser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    back->setEnabled(false);
    forward->setEnabled(false);
}

bool TFormHelp::ShowContents(const QString& helpFile)
{
    const QFileInfo info(helpFile);
    if (!info.isFile() || !info.isReadable())
        return false;
    Browser->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    return !Browser->toPlainText().isEmpty();
}
