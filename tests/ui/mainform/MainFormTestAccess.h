#pragma once

#include "ui/mainform/LyravaneMainForm.h"

#include <QMenu>
#include <QMimeData>

/// What no command, page or part of the window shows the tests: the options, the recent files,
/// the Open dialog's file (the one Revert reopens), what the window does by itself (its first
/// showing, the command states) and the steps no action of its own runs. A friend of the
/// window; it holds references, so it must not outlive the window.
struct TMainFormTestAccess
{
    TLyravaneMainForm& W;
    std::int32_t& RepeatCount = W.RepeatCount;
    bool& IncludeReset = W.IncludeReset;
    bool& MidiTrackNames = W.MidiTrackNames;
    std::unique_ptr<TOpenFileHistory>& History = W.History;
    TCenterOpenDialog& OpenDialog = W.OpenDialog;

    void FormShow() { W.FormShow(); }
    void RefreshCommandStates() { W.RefreshCommandStates(); }
    void OpenProjectFile(const QString& path) { W.OpenProjectFile(path); }
    void SaveProjectFile(const QString& path) { W.SaveProjectFile(path); }
    void DropFiles(const std::vector<std::string>& paths) { W.DropFiles(paths); }
    std::unique_ptr<QMenu> MakeTabMenu(int tab) { return W.MakeTabMenu(tab); }
    std::unique_ptr<QMimeData> MakeTabDragData(int tab) { return W.MakeTabDragData(tab); }
    bool AddUserPatternFile(const auto&... args) { return W.AddUserPatternFile(args...); }
};

/// The insides of a window the test holds.
inline TMainFormTestAccess Inside(TLyravaneMainForm& form)
{
    return TMainFormTestAccess{form};
}
