#pragma once

#include "midi/PatternCheck.h"

#include <QDialog>

#include <functional>
#include <string>

class QComboBox;
class QLineEdit;
class QPushButton;
class TFileDialogRunner;

/// "Añadir patrón": a MIDI file, its kind and the name it gets in the lists. OK hands the
/// three to the adder, which says what is wrong itself; the dialog closes once it succeeds.
class TFormAddPattern : public QDialog
{
    Q_OBJECT

public:
    /// Adds the pattern; true when it was added.
    using TAdder =
        std::function<bool(const std::string& path, TPatternKind kind, const std::string& name)>;

    TFormAddPattern(TFileDialogRunner* fileDialogs, TAdder adder, QWidget* parent = nullptr);

    QLineEdit* EditFile;
    QPushButton* ButtonBrowse;
    QComboBox* ComboBoxKind; ///< in TPatternKind order
    QLineEdit* EditName;
    QPushButton* ButtonOk;
    QPushButton* ButtonCancel;

    /// Runs the open dialog for the file; a chosen file also proposes its base name.
    void Browse();
    /// Hands the fields to the adder and closes when it added the pattern.
    void TryAdd();

private:
    TFileDialogRunner* FFileDialogs; // not owned
    TAdder FAdder;
};

/// The user's pattern library: "PATTERN" in the user's data folder (UserDataFolder); its
/// index files and patterns are under USER/.
QString DefaultUserPatternDir();
