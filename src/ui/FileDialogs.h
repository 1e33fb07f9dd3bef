#pragma once

#include <QString>

#include <optional>
#include <string>

class QFileIconProvider;
class QUrl;
class QWidget;

/// What a file dialog asks: kind, title, filter in "description|pattern|" pairs, default
/// extension and the proposed file name; with CheckText, a check box under the file name,
/// whose state the dialog starts from Checked and leaves in Checked.
struct TFileDialogRequest
{
    bool Save = false;
    QString Title;
    QString Filter;
    QString DefaultExt;
    QString FileName;
    QString CheckText;
    bool Checked = false;
};

/// Runs file dialogs. The windows reach them through this, so tests can choose files.
class TFileDialogRunner
{
public:
    virtual ~TFileDialogRunner() = default;
    /// The chosen path, or nothing when the user cancelled; request.Checked holds the check
    /// box's state when a path was chosen.
    virtual std::optional<QString> Run(QWidget* owner, TFileDialogRequest& request) = 0;
};

/// The real file dialogs (QFileDialog, centred over the owner). The save dialog asks before
/// it overwrites an existing file.
class TQtFileDialogRunner : public TFileDialogRunner
{
public:
    std::optional<QString> Run(QWidget* owner, TFileDialogRequest& request) override;
};

/// The icons and type names of the file dialogs, taken from the name alone. Qt's own provider
/// reads a file's first bytes to tell its type, and a file that never answers (such as
/// /proc/kmsg) would freeze the window while the user types its name.
QFileIconProvider* NameOnlyIconProvider();

/// A path as the file system names it (its bytes, for the core) and as the windows show it.
std::string ToFsPath(const QString& path);
QString FromFsPath(const std::string& path);

/// The path of a local file's URL in the file system's bytes: a name that is not valid
/// UTF-8 keeps its bytes, which QUrl::toLocalFile would replace.
std::string LocalFsPath(const QUrl& url);

/// path made absolute against the working directory, bytes kept.
std::string AbsoluteFsPath(const std::string& path);

/// "Desc|*.ext|Desc2|*.e2|" as Qt name filters ("Desc (*.ext)"), one per line.
QString QtNameFilters(const QString& filter);

/// The program's file-open dialog: its owner is the window it opens centred over, and its
/// file name keeps the last path chosen.
class TCenterOpenDialog
{
public:
    TCenterOpenDialog(QWidget* owner, TFileDialogRunner* runner) : FOwner(owner), FRunner(runner) {}
    virtual ~TCenterOpenDialog() = default;

    QString Title;
    QString Filter;
    QString DefaultExt;
    QString FileName;
    /// A check box under the file name (none when empty) and its state, kept between runs.
    QString CheckText;
    bool Checked = false;

    /// Runs the dialog; on confirmation FileName holds the chosen path.
    bool Execute();

protected:
    virtual bool IsSaveDialog() const { return false; }

private:
    QWidget* FOwner;            // not owned
    TFileDialogRunner* FRunner; // not owned
};

/// The program's save dialog: asks before overwriting an existing file.
class TCenterSaveDialog : public TCenterOpenDialog
{
public:
    using TCenterOpenDialog::TCenterOpenDialog;

protected:
    bool IsSaveDialog() const override { return true; }
};
