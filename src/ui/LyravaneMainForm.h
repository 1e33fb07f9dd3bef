#pragma once

#include "audio/SongPlayer.h"
#include "model/MusicProject.h"
#include "ui/FileDialogs.h"
#include "ui/MainFormServices.h"
#include "ui/MessageBoxes.h"
#include "ui/SongHistory.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QFrame;
class QMenu;
class QStatusBar;
class QTabBar;
class QToolButton;
class QTimer;
class TFormArranger;
class TFormHelp;
class TImageListEx;
class TMenuButton;
class TOpenFileHistory;
class TSongRecovery;

/// The main window: owns the song, shows one tab per entry with the property page or the bar
/// editor below, and carries every command of the program.
class TLyravaneMainForm : public QMainWindow
{
    Q_OBJECT

public:
    /// The outer size of the window, whatever the stored placement says.
    static constexpr int OuterWidth = 640;
    static constexpr int OuterHeight = 452;
    /// Insert and Paste stop at this many tabs: the one they add is the editor's last entry.
    static constexpr int MaxTabsForInsert = MaxEditorEntries - 1;

    /// FormCreate: reads the settings and the recent files, restores the placement, and
    /// starts with a new song. arguments: the command line without the program name, the
    /// bytes as given (a file name need not be valid UTF-8).
    TLyravaneMainForm(const TMainFormServices& services, std::vector<std::string> arguments = {},
                      QWidget* parent = nullptr);
    /// FormDestroy: closes the player and writes the settings, recent files and placement.
    ~TLyravaneMainForm() override;

    /// Shows the window as the stored placement asks, at its fixed outer size, and keeps it
    /// on the screen unless it starts minimised.
    void ShowWindow();

    /// The tabs of the song's entries; the program's developer aids pick a tab through it.
    QTabBar* TabControl1;

signals:
    /// The window has been shown and painted for the first time.
    void FirstShown();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The tests reach the window's parts and commands through this (tests/ui/mainform).
    friend struct TMainFormTestAccess;

    TMusicProject Project;
    TCenterOpenDialog OpenDialog;
    TCenterSaveDialog SaveAsDialog;
    TCenterSaveDialog ExportDialog;
    std::unique_ptr<TOpenFileHistory> History;
    std::unique_ptr<TFormArranger> FormArranger;
    std::int32_t RepeatCount = 1;
    bool IncludeReset = false;
    QString CaptionName;
    bool Untitled = true;

    QAction* Action_FileNew;
    QAction* Action_FileOpen;
    QAction* Action_FileRevert;
    QAction* Action_FileSave;
    QAction* Action_FileSaveAs;
    QAction* Action_FileOutputMidi;
    QAction* Action_Nothing;
    QAction* Action_RecentFile1;
    QAction* Action_RecentFile2;
    QAction* Action_RecentFile3;
    QAction* Action_RecentFile4;
    QAction* Action_FileExit;
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
    QAction* Action_MusicOption;
    QAction* Action_HelpContents;
    QAction* Action_HelpAbout;

    TImageListEx* ImageList1;
    TImageListEx* ImageList2;
    QWidget* ToolBar1;
    /// At the end of the tab bar when the song has many units: a menu of every tab.
    QToolButton* TabListButton;
    QFrame* GroundPanel;
    QWidget* PagePanel;
    QStatusBar* StatusBar1;
    QMenu* MenuFile;
    QMenu* MenuEdit;
    QMenu* MenuMusic;
    QMenu* MenuHelp;
    TPropertyPage* PropertyPage = nullptr;
    TUnitPage* BarEditor = nullptr;

    /// Shows the tab list button when the song has TabListUnits units or more and fills its
    /// menu on opening: one entry per tab, the current one checked.
    void UpdateTabListButton();
    void FillTabListMenu(QMenu* menu);
    static constexpr int TabListUnits = 15;

    /// The tool bar button bound to action, null when it has none.
    TMenuButton* ToolButton(const QAction* action) const;

    /// Runs once, after the window is first shown: the pages, the command-line project and
    /// the priming of the player.
    void FormShow();

    void TabControl1Change();
    void RebuildTabs();
    void SetCaptionName(const QString& name);
    /// The caption: the program, the song's name, and " *" while it has unsaved changes.
    void RefreshCaption();
    /// Enables the commands; runs whenever the event queue runs empty.
    void RefreshCommandStates();
    /// The long part of a hint (after "|", or all of it) into the status bar.
    void ShowStatusHint(const QString& hint);

    TMsgResult ShowMessageBox(const QString& text, TMsgIcon icon, TMsgButtons buttons);
    void ShowErrorBox(const QString& text, const QString& details = QString());

    /// The save-changes prompt: true when the caller may go on.
    bool QuerySaveChanges();
    void OpenProjectFile(const QString& path);
    /// The same for a path in the file system's bytes.
    void OpenProjectFile(const std::string& fsPath);
    void SaveProjectFile(const QString& path);
    /// Opens the first of the dropped files (the others are ignored).
    void DropFiles(const std::vector<std::string>& paths);

    void Action_FileNewExecute();
    void Action_FileOpenExecute();
    void Action_FileRevertExecute();
    void Action_FileSaveExecute();
    void Action_FileSaveAsExecute();
    void Action_FileOutputMidiExecute();
    void Action_RecentFileExecute(int tag);
    void Action_FileExitExecute();
    void Action_EditUndoExecute();
    void Action_EditRedoExecute();
    void Action_EditNewMunitExecute();
    void Action_EditCutExecute();
    void Action_EditCopyExecute();
    void Action_EditPasteExecute();
    void Action_EditDeleteExecute();
    void Action_MusicPlay2Execute();
    void Action_MusicPlayExecute();
    void Action_MusicStopExecute();
    void Action_MusicOptionExecute();
    void Action_HelpContentsExecute();
    void Action_HelpAboutExecute();

    /// Some control holds the mouse (a button is held in a page): the guarded commands wait.
    static bool MouseCaptured();

    TFormHelp* HelpWindow() const;

    void CreateActions();
    /// Menu Editar's commands; the unit commands are undo steps.
    void CreateEditActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateClientArea();
    /// Ctrl+Tab and Ctrl+PgDn go to the next tab, Ctrl+Shift+Tab and Ctrl+PgUp to the one
    /// before, round the ends.
    void CreateTabShortcuts();
    QAction* MakeAction(const QString& name, const QString& caption, const QString& hint,
                        const QKeySequence& shortcut, int imageIndex,
                        void (TLyravaneMainForm::*handler)());
    /// Runs a command so that no exception crosses the event loop: a failure is shown.
    void RunCommand(const std::function<void()>& command);
    /// Runs an edit of the song as one undo step (see TSongHistory::Edit).
    void EditSong(const QString& step, const QObject* control, const std::function<void()>& edit);
    /// Undo and redo: puts the song in state and shows the tab.
    void RestoreSong(const TSongSnapshot& state, int tab);
    /// The undo and redo commands name the step they would take back or make again.
    void RefreshUndoActions();
    /// At start: offers the song a copy that ended without saving left behind.
    void OfferRecovery();
    /// Starts the recovery timer after a change; an unmodified song has no recovery file.
    void ScheduleRecovery();
    /// Writes the song with unsaved changes to the recovery file.
    void WriteRecovery();
    void RemoveRecovery();
    void ReadSettings();
    void WriteSettings();
    void ApplyFixedOuterSize();
    /// Lets a tool bar button forget the mouse before a modal dialog opens over it.
    void RefreshHover(QAction* action);
    void PrimePlayer();
    /// Parar is enabled only while something plays: the song, a unit or a pattern preview.
    void UpdateStopCommand();
    int CurrentTab() const;
    void SelectTab(int index);
    /// Copy as a step of Cut too.
    void CopyCurrentUnit();
    void DeleteCurrentEntry();

    TMainFormServices FServices;
    std::unique_ptr<TSongHistory> FSongHistory;
    std::unique_ptr<TSongRecovery> FRecovery;
    QTimer* FRecoveryTimer = nullptr;
    /// The history's revision the recovery file holds; none: it holds nothing up to date.
    std::optional<unsigned> FRecoveredRevision = 0;
    /// Plays the song, a unit, the start-up priming and the property page's previews.
    TSongPlayer FSongPlayer;
    std::vector<std::string> FArguments;
    std::map<const QAction*, TMenuButton*> FToolButtons;
    QPointer<TFormHelp> FHelpWindow;
    QTimer* FPrimeTimer = nullptr;
    /// Watches the player, which says nothing when a play ends by itself.
    QTimer* FStopTimer = nullptr;
    bool FFormShowDone = false;
    bool FFormShowQueued = false;
    /// A window stored minimised that the window manager shows all the same is minimised
    /// again when it is first exposed.
    bool FMinimiseWhenExposed = false;
};
