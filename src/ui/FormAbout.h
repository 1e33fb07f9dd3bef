#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

/// "Lyravane 1999 - Informacion de Version": icon, version, maker and a link to its site.
class TFormAbout : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char* VersionLine =
        QT_TRANSLATE_NOOP("TFormAbout", "Lyravane 1999 Version 1.22");
    static constexpr const char* WebAddress = "https://vemora.example.org/lyravane/";

    explicit TFormAbout(QWidget* parent = nullptr);

    QLabel* ProgramIcon;
    QLabel* Version;
    QLabel* Maker;
    QLabel* Link;
    QPushButton* OkButton;
};
