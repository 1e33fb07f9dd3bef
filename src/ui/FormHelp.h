#pragma once

#include <QDialog>

class QTextBrowser;

/// The help window: the program's HTML help in a browser of its own, with back and forward.
class TFormHelp : public QDialog
{
    Q_OBJECT

public:
    explicit TFormHelp(QWidget* parent = nullptr);

    /// Shows the help file at its contents; false when the file cannot be read.
    bool ShowContents(const QString& helpFile);

    QTextBrowser* Browser;
};
