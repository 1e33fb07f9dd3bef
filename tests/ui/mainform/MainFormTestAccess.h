#pragma once

#include "midi/PatternCheck.h"
#include "ui/mainform/LyravaneMainForm.h"

#include <QFile>
#include <QMenu>
#include <QMimeData>

#include <string>
#include <vector>

/// The tests' door into the main window: its parts and commands under their own names. A
/// friend of the window; it holds references, so it must not outlive the window.
struct TMainFormTestAccess
{
    explicit TMainFormTestAccess(TLyravaneMainForm& form)
        : W(form), Project(form.Project), OpenDialog(form.OpenDialog), History(form.History),
          RepeatCount(form.RepeatCount), IncludeReset(form.IncludeReset),
          MidiTrackNames(form.MidiTrackNames), Action_FileNew(form.Action_FileNew),
          Action_FileOpen(form.Action_FileOpen), Action_FileRevert(form.Action_FileRevert),
          Action_FileSave(form.Action_FileSave), Action_FileSaveAs(form.Action_FileSaveAs),
          Action_FileOutputMidi(form.Action_FileOutputMidi),
          Action_FileOutputScore(form.Action_FileOutputScore),
          Action_TabOutputUnitMidi(form.Action_TabOutputUnitMidi),
          Action_RecentFile1(form.Action_RecentFile1), Action_RecentFile4(form.Action_RecentFile4),
          Action_EditUndo(form.Action_EditUndo), Action_EditRedo(form.Action_EditRedo),
          Action_EditNewMunit(form.Action_EditNewMunit), Action_EditCut(form.Action_EditCut),
          Action_EditCopy(form.Action_EditCopy), Action_EditPaste(form.Action_EditPaste),
          Action_EditDelete(form.Action_EditDelete), Action_MusicPlay2(form.Action_MusicPlay2),
          Action_MusicPlay(form.Action_MusicPlay), Action_MusicStop(form.Action_MusicStop),
          Action_MusicPlayFromHere(form.Action_MusicPlayFromHere),
          Action_MusicLoop(form.Action_MusicLoop),
          Action_MusicPlayOrStop(form.Action_MusicPlayOrStop), PagePanel(form.PagePanel),
          StatusBar1(form.StatusBar1), MenuFile(form.MenuFile), MenuEdit(form.MenuEdit),
          MenuMusic(form.MenuMusic), MenuHelp(form.MenuHelp), PropertyPage(form.PropertyPage),
          BarEditor(form.BarEditor), SongHistory(form.Document().History())
    {
    }

    TLyravaneMainForm& W;
    TMusicProject& Project;
    TCenterOpenDialog& OpenDialog;
    std::unique_ptr<TOpenFileHistory>& History;
    std::int32_t& RepeatCount;
    bool& IncludeReset;
    bool& MidiTrackNames;

    QAction* Action_FileNew;
    QAction* Action_FileOpen;
    QAction* Action_FileRevert;
    QAction* Action_FileSave;
    QAction* Action_FileSaveAs;
    QAction* Action_FileOutputMidi;
    QAction* Action_FileOutputScore;
    QAction* Action_TabOutputUnitMidi;
    QAction* Action_RecentFile1;
    QAction* Action_RecentFile4;
    QAction* Action_EditUndo;
    QAction* Action_EditRedo;
    QAction* Action_EditNewMunit;
    QAction* Action_EditCut;
    QAction* Action_EditCopy;
    QAction* Action_EditPaste;
    QAction* Action_EditDelete;
    QAction* Action_MusicPlay2;
    QAction* Action_MusicPlay;
    QAction* Action_MusicStop;
    QAction* Action_MusicPlayFromHere;
    QAction* Action_MusicLoop;
    QAction* Action_MusicPlayOrStop;

    QWidget* PagePanel;
    QStatusBar* StatusBar1;
    QMenu* MenuFile;
    QMenu* MenuEdit;
    QMenu* MenuMusic;
    QMenu* MenuHelp;
    TPropertyPage* PropertyPage;
    TUnitPage* BarEditor;
    TSongHistory& SongHistory;

    TMenuButton* ToolButton(const QAction* action) const { return W.ToolButton(action); }
    TFormHelp* HelpWindow() const { return W.HelpWindow(); }
    void FormShow() { W.FormShow(); }
    bool Untitled() const { return W.Document().Untitled(); }
    void RebuildTabs() { W.RebuildTabs(); }
    void RefreshCommandStates() { W.RefreshCommandStates(); }
    void ShowStatusHint(const QString& hint) { W.ShowStatusHint(hint); }
    QTimer* RecoveryTimer() const { return W.Document().RecoveryTimer(); }
    const TSongRecovery& Recovery() const { return W.Document().Recovery(); }
    void OpenProjectFile(const QString& path) { W.OpenProjectFile(path); }
    void SaveProjectFile(const QString& path) { W.SaveProjectFile(path); }
    void DropFiles(const QStringList& paths)
    {
        std::vector<std::string> bytes;
        for (const QString& path : paths)
            bytes.push_back(QFile::encodeName(path).toStdString());
        W.DropFiles(bytes);
    }

    void Action_FileNewExecute() { W.Action_FileNewExecute(); }
    void Action_FileOpenExecute() { W.Action_FileOpenExecute(); }
    void Action_FileRevertExecute() { W.Action_FileRevertExecute(); }
    void Action_FileSaveExecute() { W.Action_FileSaveExecute(); }
    void Action_FileSaveAsExecute() { W.Action_FileSaveAsExecute(); }
    void Action_FileOutputMidiExecute() { W.Action_FileOutputMidiExecute(); }
    void Action_FileOutputScoreExecute() { W.Action_FileOutputScoreExecute(); }
    std::unique_ptr<QMenu> MakeTabMenu(int tab) { return W.MakeTabMenu(tab); }
    std::unique_ptr<QMimeData> MakeTabDragData(int tab) { return W.MakeTabDragData(tab); }
    void Action_FileOutputAudioExecute() { W.Action_FileOutputAudioExecute(); }
    void Action_RecentFileExecute(int tag) { W.Action_RecentFileExecute(tag); }
    void Action_FileExitExecute() { W.Action_FileExitExecute(); }
    void Action_EditNewMunitExecute() { W.Action_EditNewMunitExecute(); }
    void Action_EditCutExecute() { W.Action_EditCutExecute(); }
    void Action_EditCopyExecute() { W.Action_EditCopyExecute(); }
    void Action_EditPasteExecute() { W.Action_EditPasteExecute(); }
    void Action_EditDeleteExecute() { W.Action_EditDeleteExecute(); }
    void Action_MusicPlay2Execute() { W.Action_MusicPlay2Execute(); }
    void Action_MusicPlayExecute() { W.Action_MusicPlayExecute(); }
    void Action_MusicStopExecute() { W.Action_MusicStopExecute(); }
    void Action_MusicOptionExecute() { W.Action_MusicOptionExecute(); }
    bool AddUserPatternFile(const std::string& path, TPatternKind kind, const std::string& name)
    {
        return W.AddUserPatternFile(path, kind, name);
    }
    void Action_HelpContentsExecute() { W.Action_HelpContentsExecute(); }
    void Action_HelpAboutExecute() { W.Action_HelpAboutExecute(); }
};

/// The insides of a window the test holds.
inline TMainFormTestAccess Inside(TLyravaneMainForm& form)
{
    return TMainFormTestAccess(form);
}
