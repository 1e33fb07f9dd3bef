#pragma once

#include "model/MusicProject.h"
#include "ui/FileDialogs.h"
#include "ui/MessageBoxes.h"
#include "ui/mainform/MainFormServices.h"
#include "ui/mainform/PlayController.h"
#include "ui/mainform/SongDocument.h"

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
class QHBoxLayout;
class QMenu;
class QStatusBar;
class QTabBar;
class QToolButton;
class QTimer;
class TFormArranger;
class TFormOption;
class TFormHelp;
class TFormMixer;
class TPlaybackLoudness;
class QTimer;
class TImageListEx;
class TMenuButton;
class TExportRunner;
class TOpenFileHistory;
class TSongOverview;
class TSongPage;
class QLabel;

/// The main window: builds the widgets and the commands and wires them to its parts: the
/// song document (the song, its undo history and recovery file), the play controller and the
/// export runner. It shows one tab per entry of the song with the property page or the bar
/// editor below.
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

    /// The song, its undo history and its recovery file.
    TSongDocument& Document() { return *FDocument; }
    /// What plays, and what the window shows of it.
    TPlayController& Playback() { return *FPlay; }

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
    // The tests reach what nothing public shows through this: the options, the recent files and
    // the steps no action runs (tests/ui/mainform).
    friend struct TMainFormTestAccess;

    std::unique_ptr<TSongDocument> FDocument;
    /// The document's song: the window's name for it.
    TMusicProject& Project;
    TCenterOpenDialog OpenDialog;
    TCenterSaveDialog SaveAsDialog;
    TCenterSaveDialog ExportDialog;
    TCenterSaveDialog ScoreDialog;
    TCenterSaveDialog AudioExportDialog;
    /// "Exportar pistas de audio...": the name the parts' files are named after.
    TCenterSaveDialog StemsExportDialog;
    std::unique_ptr<TOpenFileHistory> History;
    std::unique_ptr<TFormArranger> FormArranger;
    std::int32_t RepeatCount = 1;
    bool IncludeReset = false;
    /// Exported MIDI files name their tracks (option "Nombres de pista en MIDI").
    bool MidiTrackNames = false;
    QString CaptionName;

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
    QAction* Action_FileOutputStems;
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
    /// "Componer canción": "Comp. Automatica" on every unit in order, one undo step.
    QAction* Action_EditComposeSong;
    /// The overview's "Duplicar": a copy of the current unit after it.
    QAction* Action_EditDuplicate;
    QAction* Action_MusicPlay2;
    QAction* Action_MusicPlay;
    QAction* Action_MusicStop;
    QAction* Action_MusicAddPattern;
    QAction* Action_MusicPlayFromHere;
    QAction* Action_MusicLoop;
    /// "Claqueta" and "Metrónomo": checkable, kept in settings.
    QAction* Action_MusicCountIn;
    QAction* Action_MusicMetronome;
    /// "Mezclador...": the mixer window.
    QAction* Action_MusicMixer;
    /// The space bar: the last play command again, or Parar while something plays.
    QAction* Action_MusicPlayOrStop;
    QAction* Action_MusicOption;
    /// "Vista de la canción": checkable, kept in settings, off unless set.
    QAction* Action_ViewSongOverview;
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
    /// Under the tab bar while "Vista de la canción" is on: the overview and its "Componer
    /// canción" button.
    QWidget* OverviewRow;
    TSongOverview* Overview;
    /// At the right of the status bar while the overview is on: the song's length.
    QLabel* SongLengthLabel;
    QMenu* MenuFile;
    QMenu* MenuEdit;
    QMenu* MenuMusic;
    QMenu* MenuHelp;
    TPropertyPage* PropertyPage = nullptr;
    /// The bar editor once made (see UnitPage).
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
    void Action_FileOutputStemsExecute();
    /// The song to an audio file with the dialog's name, or with parts its parts to files
    /// named after it, on the export runner's worker thread behind a progress dialog.
    void RunAudioExport(TCenterSaveDialog& dialog, const QString& title, bool parts);
    void Action_RecentFileExecute(int tag);
    void Action_FileExitExecute();
    void Action_EditUndoExecute();
    void Action_EditRedoExecute();
    void Action_EditNewMunitExecute();
    void Action_EditCutExecute();
    void Action_EditCopyExecute();
    void Action_EditPasteExecute();
    void Action_EditDeleteExecute();
    void Action_EditComposeSongExecute();
    void Action_EditDuplicateExecute();
    /// Moves the unit of entry from to entry to, as one undo step; to becomes current.
    void MoveEntry(int from, int to);
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
    void Action_MusicMixerExecute();
    /// The mixer shows the song's volumes as they stand (after any change of the song).
    void ShowMixerVolumes();
    /// A volume moved in the mixer: an edit of the song, heard at once while it plays.
    void MixerVolumeChanged(int track, int volume);
    /// The song's playback loudness is measured again a moment after the last change.
    void SchedulePlaybackLoudness();
    /// Playback gets the gain the export's normalising would give the song (none when the
    /// export is not normalised or the song has not been measured yet).
    void ApplyPlaybackGain();
    void Action_HelpContentsExecute();
    void Action_HelpAboutExecute();

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
    /// Menu Reproducir's and menu Ayuda's commands.
    void CreateMusicActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateClientArea();
    /// The song overview's row, hidden, and what its blocks ask for.
    QWidget* CreateOverviewRow(QWidget* parent);
    /// Shows or hides the overview; the window grows or shrinks by its height.
    void ShowSongOverview(bool on);
    /// The overview and the length shown follow the song.
    void RefreshSongOverview();
    /// The song's length with the repeats of "Opciones": beside the status bar while the
    /// overview is on, else in the status bar for a while when it changed.
    void ShowSongLength();
    QString SongLengthText() const;
    /// A block of the overview made current: its tab, with the keyboard left in the overview.
    void SelectOverviewEntry(int entry);
    void ShowOverviewMenu(int entry, QPoint globalPos);
    /// The tab bar and, beside it, the button with the list of every tab.
    QHBoxLayout* CreateTabRow();
    /// The property page and the bar editor (or the services' own), their edits undo steps.
    void CreatePages();
    /// The bar editor, made on first use.
    TUnitPage* UnitPage();
    void AddPage(TSongPage* page);
    QRect PageArea() const;
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
    /// The undo and redo commands name the step they would take back or make again.
    void RefreshUndoActions();
    void ReadSettings();
    void WriteSettings();
    void ApplyFixedOuterSize();
    /// Lets a tool bar button forget the mouse before a modal dialog opens over it.
    void RefreshHover(QAction* action);
    /// At start: offers the song a copy that ended without saving left behind.
    void OfferRecovery();
    /// Wires the document and the play controller to the pages, tabs, caption and status.
    void ConnectParts();
    /// Starts a play command (a failure is shown); the space bar repeats it.
    void StartPlay(QAction* command, const std::function<void()>& play);
    /// What the play controller sees: the play cursor, the playing tab's marker, the status.
    void ShowPlayPosition(int entry, double bars);
    void ShowPlayStatus(const QString& status, const QString& previous);
    TPlayController::TOptions PlayOptions() const;
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
    /// Plays the song, a unit, the start-up priming and the property page's previews.
    std::unique_ptr<TPlayController> FPlay;
    std::unique_ptr<TExportRunner> FExports;
    std::vector<std::string> FArguments;
    std::map<const QAction*, TMenuButton*> FToolButtons;
    QPointer<TFormHelp> FHelpWindow;
    /// Made the first time it is asked for; kept (hidden) until the window goes.
    TFormMixer* Mixer = nullptr;
    /// Measures the song's loudness for playback (only with a synthesiser); the request whose
    /// answer counts, and the answer.
    std::unique_ptr<TPlaybackLoudness> FPlaybackLoudness;
    QTimer* FLoudnessTimer = nullptr;
    unsigned FLoudnessRequest = 0;
    std::optional<double> FPlaybackLufs;
    /// The play command the space bar repeats.
    QAction* FLastPlayCommand = nullptr;
    /// Where the left button went down on a tab (-1: not on one), for dragging it out.
    int FDragTab = -1;
    QPoint FDragStart;
    /// The length last shown, to tell a change.
    QString FSongLengthText;
    bool FFormShowDone = false;
    bool FFormShowQueued = false;
    /// A window stored minimised that the window manager shows all the same is minimised
    /// again when it is first exposed.
    bool FMinimiseWhenExposed = false;
};
