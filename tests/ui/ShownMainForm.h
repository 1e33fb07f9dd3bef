#pragma once

#include "ui/MessageBoxes.h"
#include "ui/mainform/LyravaneMainForm.h"
#include "ui/mainform/MainFormServices.h"

#include <QTemporaryDir>
#include <QTest>

/// Answers every message box with Ok and counts them.
class TOkMessageBoxes : public TMessageBoxes
{
public:
    int Shown = 0;
    TMsgResult Show(QWidget*, const QString&, TMsgIcon, TMsgButtons) override
    {
        ++Shown;
        return TMsgResult::Ok;
    }
};

/// A main window with a settings file of its own and message boxes answered with Ok.
struct TShownMainForm
{
    QTemporaryDir Dir;
    TOkMessageBoxes Boxes;
    TMainFormServices Services = [this]
    {
        TMainFormServices services;
        services.MessageBoxes = &Boxes;
        services.SettingsPath = Dir.filePath(QStringLiteral("settings.ini"));
        return services;
    }();
    TLyravaneMainForm Form{Services};

    /// Shows the window; false when it never appeared on the screen.
    bool Show()
    {
        Form.show();
        return QTest::qWaitForWindowExposed(&Form);
    }
};
