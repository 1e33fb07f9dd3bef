#pragma once

#include <QCoreApplication>
#include <QString>

#include <functional>
#include <string>

class QStatusBar;
class QWidget;
class TCenterSaveDialog;
class TMusicProject;

/// One way through every export (MIDI, score, audio): the file dialog proposing a name in the
/// song's folder, the refusal of the open song's own file, the writing (on a worker thread
/// behind a progress dialog for the slow ones), and the confirmation in the status bar.
class TExportRunner
{
    Q_DECLARE_TR_FUNCTIONS(TExportRunner)

public:
    /// Reports how far the writing is, 0 to 1; false asks it to give up.
    using TProgress = std::function<bool(double done)>;
    using TWrite = std::function<void(const std::string& fsPath)>;
    using TSlowWrite = std::function<void(const std::string& fsPath, const TProgress& progress)>;

    /// owner: the window the dialogs open over; song: the live song (its file is never an
    /// export's target); status: where confirmations go, for confirmMilliseconds.
    TExportRunner(QWidget* owner, const TMusicProject& song, QStatusBar* status,
                  int confirmMilliseconds);

    /// Runs dialog proposing name (a file name; empty: none) and writes the chosen file;
    /// false when the dialog was cancelled. A failure raises with the reason; the open song's
    /// own file (under any name) is refused with a message.
    bool Run(TCenterSaveDialog& dialog, const QString& name, const TWrite& write);
    /// The same for a slow export: prepare runs once the file is chosen, on the window's
    /// thread, and returns the writing, which runs on a worker thread behind a window-modal
    /// progress dialog titled title ("Cancelar", Esc or a stop signal give up: nothing is left
    /// behind, and the status bar says so). The window answers meanwhile.
    bool RunWithProgress(TCenterSaveDialog& dialog, const QString& name, const QString& title,
                         const std::function<TSlowWrite()>& prepare);

private:
    /// The dialog's run and the refusal of the song's own file.
    bool Choose(TCenterSaveDialog& dialog, const QString& name);
    void Confirm(const QString& path);

    QWidget* FOwner;
    const TMusicProject& FSong;
    QStatusBar* FStatus;
    int FConfirmMilliseconds;
};
