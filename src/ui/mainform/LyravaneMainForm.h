#pragma once

#include "audio/SongPlayer.h"
#include "model/MusicProject.h"
#include "render/RenderSong.h"
#include "ui/FileDialogs.h"
#include "ui/MessageBoxes.h"
#include "ui/SongHistory.h"
#include "ui/mainform/MainFormServices.h"

enum class TPatternKind;

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
class QMimeData;
class TMidiData;
class QFrame;
class QMenu;
class QStatusBar;
class QTabBar;
class QToolButton;
class QTimer;
class TFormArranger;
class TFormOption;
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
    TCenterSaveDialog ScoreDialog;
    TCenterSaveDialog AudioExportDialog;
    std::unique_ptr<TOpenFileHistory> History;
    std::unique_ptr<TFormArranger> FormArranger;
    std::int32_t RepeatCount = 1;
    bool IncludeReset = false;
    /// Exported MIDI files name their tracks (option "Nombres de pista en MIDI").
    bool MidiTrackNames = false;
    QString CaptionName;
    bool Untitled = true;

    QAction* Action_FileNew;
    QAction* Action_FileOpen;
    QAction* Action_FileRevert;
    QAction* Action_FileSave;
    QAction* Action_FileSaveAs;
    QAction* Action_FileOutputMidi;
    QAction* Action_FileOutputScore;
    /// The tab menu's "Exportar partitura a MIDI...": the unit of the tab the menu is for.
    QAction* Action_TabOutputUnitMidi;
    QAction* Action_FileOutputAudio;
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
    QAction* Action_MusicAddPattern;
    QAction* Action_MusicPlayFromHere;
    QAction* Action_MusicLoop;
    /// The space bar: the last play command again, or Parar while something plays.
    QAction* Action_MusicPlayOrStop;
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
    /// "Exportar partitura (MusicXML)...": the file, with the full score as a check box in its
    /// dialog (a lead sheet unless it is checked).
    void Action_FileOutputScoreExecute();
    /// "Exportar partitura a MIDI..." for the unit of tab `tab`, as "Reproducir partitura"
    /// plays it without the lead-in.
    void ExportUnitMidi(int tab);
    void Action_FileOutputAudioExecute();
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
    void Action_MusicAddPatternExecute();
    /// Copies a pattern file into the user's library and shows it in the property page's
    /// lists; a fault is shown in a message box. True when it was added.
    bool AddUserPatternFile(const std::string& path, TPatternKind kind, const std::string& name);
    void Action_MusicPlayFromHereExecute();
    void Action_MusicPlayOrStopExecute();
    void Action_MusicOptionExecute();
    void Action_HelpContentsExecute();
    void Action_HelpAboutExecute();

    /// How long a confirmation stays in the status bar.
    static constexpr int ConfirmationMilliseconds = 4000;
    /// A tab's caption without the playing marker: "Composition", "Ptn.1", ...
    static QString TabName(int tab);
    /// The song's file name without folder and extension; empty while it has none.
    QString SongBaseName() const;
    /// What an export's file dialog proposes: the song's name with extension (".mid"), or
    /// nothing while the song has no name.
    QString ProposedExportName(const QString& extension) const;
    /// Names each pattern the song asks for that no library lists: on standard error, and
    /// the first in the status bar.
    void ReportMissingPatterns();
    /// Runs an export's file dialog proposing name (a file name; empty: none) in the song's
    /// folder; false when cancelled. The open song's own file (under any name) is refused
    /// with a message: an export there would replace the song with a file of another kind.
    bool ChooseExportFile(TCenterSaveDialog& dialog, const QString& name);
    /// "Exportado: name" in the status bar for a few seconds.
    void ConfirmExported(const QString& path);
    /// The export and SoundFont part of the options dialog: filled in from the settings and
    /// the synthesiser, and taken back (a new SoundFont starts loading).
    void PrepareOptionDialog(TFormOption& dialog) const;
    void ApplyOptionDialog(const TFormOption& dialog);
    /// The SoundFont the synthesiser uses (the setting's, or the default, without one).
    QString CurrentSoundFont() const;
    /// Loads another SoundFont in the background; the status bar says when it is ready, a
    /// message why it could not be, and the one in use stays.
    void ChangeSoundFont(const QString& path);

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
    /// Watches the player: Parar is enabled only while something plays (the song, a unit or
    /// a pattern preview); while the song or a unit plays, the play cursor, the marker of
    /// the playing unit's tab and the status bar follow it, and a loop gets its next pass.
    void UpdatePlayState();
    /// Plays what render fills in; layout: where each unit lies in it (render may fill it
    /// in). With loopTo > 0 it
    /// loops from the first unit's start to loopTo.
    void StartPlay(QAction* command, const TSongPlayer::TRenderer& render,
                   const std::vector<TSongSpan>& layout, std::int32_t loopTo = 0);
    /// Renders the looped unit afresh for the loop's next pass once the pass under way is
    /// near its end.
    void QueueLoopPass(const TPlayPosition& position);
    void ShowPlayPosition(const TPlayPosition& position);
    /// Takes the play cursor, the tab marker and the status away.
    void ClearPlayPosition();
    /// Puts the playing marker on tab (none: -1), taking it off any other.
    void MarkPlayingTab(int tab);
    int CurrentTab() const;
    void SelectTab(int index);
    /// The MIDI of a tab as its exports write it: the song for "Composition" (as "Exportar a
    /// MIDI"), a unit as "Reproducir partitura" plays it without the lead-in; track names
    /// when the option asks for them. False for a tab without a unit.
    bool RenderTabMidi(int tab, TMidiData& midi) const;
    /// The tab's context menu: the song's export and the unit's.
    std::unique_ptr<QMenu> MakeTabMenu(int tab);
    /// The tab's MIDI file written into the private temporary folder under a name for the
    /// drop target; the drag's data, a text/uri-list of that file. Null without a unit.
    std::unique_ptr<QMimeData> MakeTabDragData(int tab);
    /// Watches the tab bar: a right click opens the tab's menu, a tab dragged out of the
    /// window drops its MIDI file where it lands.
    bool TabBarEvent(QEvent* event);
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
    QTimer* FPlayTimer = nullptr;
    /// The play command the space bar repeats.
    QAction* FLastPlayCommand = nullptr;
    /// The units of what the window plays, and which play of the song player it is (the
    /// property page's previews play through it too).
    std::vector<TSongSpan> FPlayLayout;
    unsigned FPlayNumber = 0;
    bool FLooping = false;
    /// The pass of the loop whose end has its follow-up rendered already.
    int FQueuedPass = 0;
    QString FPlayStatus;
    /// Where the left button went down on a tab (-1: not on one), for dragging it out.
    int FDragTab = -1;
    QPoint FDragStart;
    bool FFormShowDone = false;
    bool FFormShowQueued = false;
    /// A window stored minimised that the window manager shows all the same is minimised
    /// again when it is first exposed.
    bool FMinimiseWhenExposed = false;
};
