// The main window's construction: actions, menus, tool bar, pages; and its settings.
#include "ui/mainform/LyravaneMainForm.h"

#include "audio/PlaybackLoudness.h"
#include "base/Random.h"
#include "controls/ImageListEx.h"
#include "controls/MenuButton.h"
#include "controls/MenuButtonActionLink.h"
#include "controls/SpeedDivider.h"
#include "controls/ToolbarImages.h"
#include "ui/ControlKeys.h"
#include "ui/FormArranger.h"
#include "ui/OpenFileHistory.h"
#include "ui/Settings.h"
#include "ui/editor/FormMusicProperty.h"
#include "ui/editor/SongPages.h"
#include "ui/mainform/ExportRunner.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace
{
/// The part of a hint after "|", or all of it.
QString LongHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar >= 0 ? hint.mid(bar + 1) : hint;
}

QString ShortHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar >= 0 ? hint.left(bar) : hint;
}
} // namespace

TLyravaneMainForm::TLyravaneMainForm(const TMainFormServices& services,
                                     std::vector<std::string> arguments, QWidget* parent)
    : QMainWindow(parent),
      FDocument(std::make_unique<TSongDocument>(services.RecoveryDir,
                                                ReadRecoveryInterval(services.SettingsPath),
                                                [this] { return CurrentTab(); })),
      Project(FDocument->Song()), OpenDialog(this, services.FileDialogs),
      SaveAsDialog(this, services.FileDialogs), ExportDialog(this, services.FileDialogs),
      ScoreDialog(this, services.FileDialogs), AudioExportDialog(this, services.FileDialogs),
      StemsExportDialog(this, services.FileDialogs), FServices(services),
      FPlay(std::make_unique<TPlayController>(services.Player, services.TempMidiFile,
                                              FDocument->Song())),
      FArguments(std::move(arguments))
{
    setObjectName(QStringLiteral("LyravaneMainForm"));
    // A single border with a system menu and a minimise box, no maximise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    ImageList1 = new TImageListEx(this, ToolbarImageSize, ToolbarImageSize);
    ImageList2 = new TImageListEx(this, ToolbarImageSize, ToolbarImageSize);
    ImageList1->LoadStrip(ToolbarImageStrip());
    ImageList2->LoadStrip(ToolbarDisabledImageStrip());
    ImageList1->SetDisabledImages(ImageList2);

    OpenDialog.Title = tr("Open");
    SaveAsDialog.Title = tr("Save As...      ");
    ExportDialog.Title = tr("Export to MIDI  ");
    OpenDialog.Filter = SaveAsDialog.Filter = tr(" Lyravane file (*.lvp)|*.lvp|");
    OpenDialog.DefaultExt = SaveAsDialog.DefaultExt = QStringLiteral("lvp");
    ExportDialog.Filter = tr("MIDI File (*.mid)   |*.mid|");
    ExportDialog.DefaultExt = QStringLiteral("mid");
    ScoreDialog.Title = tr("Exportar partitura (MusicXML)");
    ScoreDialog.Filter = tr("Partitura MusicXML (*.musicxml)|*.musicxml|"
                            "MusicXML comprimido (*.mxl)|*.mxl|");
    ScoreDialog.DefaultExt = QStringLiteral("musicxml");
    ScoreDialog.CheckText =
        tr("Partitura &completa: la melodía y las cuatro partes del acompañamiento");
    AudioExportDialog.Title = tr("Exportar a audio");
    AudioExportDialog.Filter =
        tr("WAV (*.wav)|*.wav|FLAC (*.flac)|*.flac|Ogg Vorbis (*.ogg)|*.ogg|");
    AudioExportDialog.DefaultExt = QStringLiteral("wav");
    StemsExportDialog.Title = tr("Exportar pistas de audio");
    StemsExportDialog.Filter = tr("WAV (*.wav)|*.wav|FLAC (*.flac)|*.flac|");
    StemsExportDialog.DefaultExt = QStringLiteral("wav");

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateClientArea();
    CreateTabShortcuts();
    FExports = std::make_unique<TExportRunner>(this, Project, StatusBar1,
                                               FServices.ConfirmationMilliseconds);
    ConnectParts();

    History = std::make_unique<TOpenFileHistory>(FServices.SettingsPath);
    History->Actions = {Action_Nothing, Action_RecentFile1, Action_RecentFile2, Action_RecentFile3,
                        Action_RecentFile4};
    History->Measure = [this](const QString& text)
    { return QFontMetrics(font()).horizontalAdvance(text); };
    History->LoadHistory();

    FormArranger = std::make_unique<TFormArranger>(this, objectName(), FServices.SettingsPath);
    FormArranger->RestorePlacement(true);

    ReadSettings();
    setAcceptDrops(true);
    // The space bar plays or stops only where the focus has no use for it.
    installEventFilter(new TControlKeys(this));
    Randomize();

    // The document starts with a new song.
    SetCaptionName(FDocument->DisplayName());
    RebuildTabs();

    // The command states follow the program whenever it has nothing else to do.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                &TLyravaneMainForm::RefreshCommandStates);
    RefreshCommandStates();
}

TLyravaneMainForm::~TLyravaneMainForm()
{
    // Its thread answers through this window: stopped first.
    FPlaybackLoudness.reset();
    FPlay->disconnect(this);
    FDocument->disconnect(this);
    try
    {
        FPlay->Player().Stop();
    }
    catch (const std::exception&)
    {
        // The program is ending; a player that cannot close has nothing left to play.
    }
    // A normal end: whatever was not saved was meant to go.
    FDocument->DiscardRecovery();
    History->SaveHistory();
    WriteSettings();
    FormArranger->SavePlacement();
    // The pages are deleted after the song; they must not hold on to its entries.
    PropertyPage->SetMuprop(nullptr);
    if (BarEditor != nullptr)
        BarEditor->ShowUnit(nullptr);
    // The song player removes the temporary MIDI file as it goes.
}

void TLyravaneMainForm::ReadSettings()
{
    const TPlaybackSettings settings = ReadPlaybackSettings(FServices.SettingsPath);
    RepeatCount = settings.RepeatCount;
    IncludeReset = settings.IncludeReset;
    MidiTrackNames = settings.MidiTrackNames;
    Action_ViewSongOverview->setChecked(ReadSongOverviewSetting(FServices.SettingsPath));
    ShowSongOverview(Action_ViewSongOverview->isChecked());
    connect(Action_ViewSongOverview, &QAction::toggled, this,
            [this](bool on)
            {
                ShowSongOverview(on);
                WriteSongOverviewSetting(FServices.SettingsPath, on);
            });
    const TClicks clicks = ReadClickSettings(FServices.SettingsPath);
    Action_MusicCountIn->setChecked(clicks.CountIn);
    Action_MusicMetronome->setChecked(clicks.Metronome);
    for (QAction* action : {Action_MusicCountIn, Action_MusicMetronome})
        connect(action, &QAction::toggled, this,
                [this]
                {
                    WriteClickSettings(
                        FServices.SettingsPath,
                        {Action_MusicCountIn->isChecked(), Action_MusicMetronome->isChecked()});
                });
}

void TLyravaneMainForm::WriteSettings()
{
    WritePlaybackSettings(FServices.SettingsPath, {RepeatCount, IncludeReset, MidiTrackNames});
}

QAction* TLyravaneMainForm::MakeAction(const QString& name, const QString& caption,
                                       const QString& hint, const QKeySequence& shortcut,
                                       int imageIndex, void (TLyravaneMainForm::*handler)())
{
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    action->setToolTip(ShortHint(hint));
    action->setStatusTip(LongHint(hint));
    action->setShortcut(shortcut);
    // Shortcuts work wherever the focus is inside the window, pages included.
    action->setShortcutContext(Qt::WindowShortcut);
    if (imageIndex >= 0)
    {
        TMenuButtonActionLink::SetActionImageIndex(action, imageIndex);
        action->setIcon(ImageList1->Icon(imageIndex));
    }
    if (handler != nullptr)
        connect(action, &QAction::triggered, this,
                [this, handler] { RunCommand([this, handler] { (this->*handler)(); }); });
    addAction(action);
    return action;
}

void TLyravaneMainForm::CreateActions()
{
    using T = TLyravaneMainForm;
    const QKeySequence none;
    Action_FileNew =
        MakeAction("Action_FileNew", tr("&Nuevo..."), tr("Empezar un nuevo proyecto."),
                   QKeySequence(Qt::CTRL | Qt::Key_N), tiNew, &T::Action_FileNewExecute);
    Action_FileOpen =
        MakeAction("Action_FileOpen", tr("&Abrir..."), tr("Abrir un proyecto ya creado."),
                   QKeySequence(Qt::CTRL | Qt::Key_O), tiOpen, &T::Action_FileOpenExecute);
    Action_FileRevert = MakeAction(
        "Action_FileRevert", tr("&Ultimo Archivo..."), tr("Volver al ultimo archivo abierto."),
        QKeySequence(Qt::CTRL | Qt::Key_R), -1, &T::Action_FileRevertExecute);
    Action_FileSave =
        MakeAction("Action_FileSave", tr("&Salvar"), tr("Salvar proyecto actual a disco."),
                   QKeySequence(Qt::CTRL | Qt::Key_S), tiSave, &T::Action_FileSaveExecute);
    Action_FileSaveAs = MakeAction("Action_FileSaveAs", tr("Salvar &Como..."),
                                   tr("Salvar el proyecto actual como..."),
                                   QKeySequence(Qt::Key_F12), -1, &T::Action_FileSaveAsExecute);
    Action_FileOutputMidi = MakeAction("Action_FileOutputMidi", tr("Exportar a &MIDI..."),
                                       tr("Exporta el proyecto actual a un archivo MIDI."),
                                       QKeySequence(Qt::CTRL | Qt::Key_E), tiExportMidi,
                                       &T::Action_FileOutputMidiExecute);
    Action_FileOutputScore =
        MakeAction("Action_FileOutputScore", tr("Exportar &partitura (MusicXML)..."),
                   tr("Exporta la canción como partitura MusicXML: melodía y acordes, o la "
                      "partitura completa."),
                   none, -1, &T::Action_FileOutputScoreExecute);
    Action_TabOutputUnitMidi =
        MakeAction("Action_TabOutputUnitMidi", tr("Exportar partitura a MIDI..."),
                   tr("Exporta esta partitura a un archivo MIDI, como la reproduce "
                      "\"Reproducir partitura\"."),
                   none, -1, nullptr);
    Action_FileOutputAudio = MakeAction("Action_FileOutputAudio", tr("Exportar a au&dio..."),
                                        tr("Exporta la canción a un archivo de sonido (WAV, FLAC u "
                                           "Ogg Vorbis)."),
                                        QKeySequence(), -1, &T::Action_FileOutputAudioExecute);
    Action_FileOutputStems = MakeAction(
        "Action_FileOutputStems", tr("Exportar pis&tas de audio..."),
        tr("Exporta cada parte a un archivo de sonido propio (WAV o FLAC), para un editor de "
           "audio: sumadas, suenan como la exportación a audio."),
        QKeySequence(), -1, &T::Action_FileOutputStemsExecute);
    // A plain line: styles draw a separator's text beside it.
    Action_Nothing = MakeAction("Action_Nothing", QString(), QString(), none, -1, nullptr);
    Action_Nothing->setSeparator(true);

    QAction** recent[TOpenFileHistory::MaxFiles] = {&Action_RecentFile1, &Action_RecentFile2,
                                                    &Action_RecentFile3, &Action_RecentFile4};
    for (int tag = 0; tag < TOpenFileHistory::MaxFiles; ++tag)
    {
        QAction* action = MakeAction(
            QStringLiteral("Action_RecentFile%1").arg(tag + 1), QStringLiteral("&%1").arg(tag + 1),
            tag == 0 ? tr("Archivo mas reciente.") : tr("Proyecto mas reciente."), none, -1,
            nullptr);
        action->setData(tag);
        connect(action, &QAction::triggered, this,
                [this, tag] { RunCommand([this, tag] { Action_RecentFileExecute(tag); }); });
        *recent[tag] = action;
    }

    Action_FileExit =
        MakeAction("Action_FileExit", tr("S&alir"), tr("Quitar Lyravane 1999"),
                   QKeySequence(Qt::ALT | Qt::Key_F4), -1, &T::Action_FileExitExecute);
    CreateEditActions();
    CreateMusicActions();
}

void TLyravaneMainForm::CreateMusicActions()
{
    using T = TLyravaneMainForm;
    const QKeySequence none;
    Action_MusicPlay2 = MakeAction("Action_MusicPlay2", tr("Reproducir partitura"),
                                   tr("Reproducir la partitura actual."), QKeySequence(Qt::Key_F5),
                                   tiPlayUnit, &T::Action_MusicPlay2Execute);
    Action_MusicPlay =
        MakeAction("Action_MusicPlay", tr("&Reproducir cancion"), tr("Reproducir cancion actual."),
                   QKeySequence(Qt::Key_F6), tiPlaySong, &T::Action_MusicPlayExecute);
    Action_MusicStop = MakeAction("Action_MusicStop", tr("&Parar"), tr("Para de reproducir."),
                                  QKeySequence(Qt::Key_F7), tiStop, &T::Action_MusicStopExecute);
    Action_MusicPlayFromHere =
        MakeAction("Action_MusicPlayFromHere", tr("Reproducir desde &aquí"),
                   tr("Reproduce la canción desde la partitura actual hasta el final."),
                   QKeySequence(Qt::SHIFT | Qt::Key_F6), -1, &T::Action_MusicPlayFromHereExecute);
    Action_MusicLoop =
        MakeAction("Action_MusicLoop", tr("Re&petir partitura"),
                   tr("Reproducir partitura repite la partitura actual hasta Parar."),
                   QKeySequence(Qt::Key_F8), -1, nullptr);
    Action_MusicLoop->setCheckable(true);
    Action_MusicCountIn = MakeAction(
        "Action_MusicCountIn", tr("&Claqueta"),
        tr("Un compás de golpes de metrónomo antes de empezar a reproducir."), none, -1, nullptr);
    Action_MusicCountIn->setCheckable(true);
    Action_MusicMetronome =
        MakeAction("Action_MusicMetronome", tr("&Metrónomo"),
                   tr("Un golpe en cada tiempo mientras se reproduce."), none, -1, nullptr);
    Action_MusicMetronome->setCheckable(true);
    Action_MusicMixer = MakeAction("Action_MusicMixer", tr("Me&zclador..."),
                                   tr("Volumen, silencio y solo de cada parte mientras suena."),
                                   none, tiMixer, &T::Action_MusicMixerExecute);
    // Not in a menu: a text field with the focus keeps the space bar for its text (it claims
    // it before the window's shortcuts).
    Action_MusicPlayOrStop =
        MakeAction("Action_MusicPlayOrStop", tr("Reproducir o parar"),
                   tr("Repite la última orden de reproducir, o para lo que suena."),
                   QKeySequence(Qt::Key_Space), -1, &T::Action_MusicPlayOrStopExecute);
    Action_MusicAddPattern =
        MakeAction("Action_MusicAddPattern", tr("Añadir &patrón..."),
                   tr("Añade un archivo MIDI propio a la biblioteca de patrones."), none, -1,
                   &T::Action_MusicAddPatternExecute);
    Action_MusicOption =
        MakeAction("Action_MusicOption", tr("&Opciones..."), tr("Configurar las opciones."), none,
                   -1, &T::Action_MusicOptionExecute);
    Action_ViewSongOverview = MakeAction(
        "Action_ViewSongOverview", tr("&Vista de la canción"),
        tr("Muestra la canción entera bajo las pestañas: cada partitura con sus acordes."), none,
        -1, nullptr);
    Action_ViewSongOverview->setCheckable(true);
    Action_HelpContents =
        MakeAction("Action_HelpContents", tr("&Contenido"), tr("Enseña el contenido de la ayuda."),
                   QKeySequence(Qt::Key_F1), tiHelpContents, &T::Action_HelpContentsExecute);
    Action_HelpAbout = MakeAction("Action_HelpAbout", tr("&Acerca..."), tr("Acerca Lyravane 1999"),
                                  none, -1, &T::Action_HelpAboutExecute);
}

void TLyravaneMainForm::CreateEditActions()
{
    using T = TLyravaneMainForm;
    const QKeySequence none;
    Action_EditUndo = MakeAction(
        "Action_EditUndo", tr("&Deshacer"), tr("Deshace el último cambio de la canción."),
        QKeySequence(Qt::CTRL | Qt::Key_Z), -1, &T::Action_EditUndoExecute);
    Action_EditRedo =
        MakeAction("Action_EditRedo", tr("&Rehacer"), tr("Rehace el último cambio deshecho."),
                   QKeySequence(Qt::CTRL | Qt::Key_Y), -1, &T::Action_EditRedoExecute);
    Action_EditRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    Action_EditNewMunit = MakeAction("Action_EditNewMunit", tr("Insertar"),
                                     tr("Inserta una nueva partitura"), none, tiInsert, nullptr);
    Action_EditCut = MakeAction("Action_EditCut", tr("C&orta"),
                                tr("Remueve la partitura actual y la pega al Portapeles"),
                                QKeySequence(Qt::CTRL | Qt::Key_X), tiCut, nullptr);
    Action_EditCopy = MakeAction(
        "Action_EditCopy", tr("&Copiar"), tr("Copia la partitura actual al Portapapeles"),
        QKeySequence(Qt::CTRL | Qt::Key_C), tiCopy, &T::Action_EditCopyExecute);
    Action_EditPaste =
        MakeAction("Action_EditPaste", tr("&Pegar"), tr("Inserta una partitura del Portapapeles"),
                   QKeySequence(Qt::CTRL | Qt::Key_V), tiPaste, nullptr);
    // A text field with the focus keeps Ctrl+X, C, V and Supr for its text (it claims them
    // before the window's shortcuts).
    Action_EditDelete =
        MakeAction("Action_EditDelete", tr("&Borrar"), tr("Borrar la partitura actual"),
                   QKeySequence(Qt::Key_Delete), tiDelete, nullptr);
    Action_EditComposeSong = MakeAction(
        "Action_EditComposeSong", tr("Componer ca&nción"),
        tr("Comp. Automatica en cada partitura de la canción, en orden, dejando los compases "
           "bloqueados."),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), -1, &T::Action_EditComposeSongExecute);
    Action_EditDuplicate = MakeAction(
        "Action_EditDuplicate", tr("&Duplicar"),
        tr("Inserta una copia de la partitura actual después de ella."), none, -1, nullptr);
    // The unit commands are undo steps.
    const struct
    {
        QAction* Action;
        QString Step;
        void (T::*Handler)();
    } unitCommands[] = {{Action_EditNewMunit, tr("Insertar"), &T::Action_EditNewMunitExecute},
                        {Action_EditCut, tr("Cortar"), &T::Action_EditCutExecute},
                        {Action_EditPaste, tr("Pegar"), &T::Action_EditPasteExecute},
                        {Action_EditDelete, tr("Borrar"), &T::Action_EditDeleteExecute},
                        {Action_EditDuplicate, tr("Duplicar"), &T::Action_EditDuplicateExecute}};
    for (const auto& command : unitCommands)
        connect(command.Action, &QAction::triggered, this,
                [this, step = command.Step, handler = command.Handler]
                {
                    RunCommand(
                        [this, &step, handler]
                        { EditSong(step, nullptr, [this, handler] { (this->*handler)(); }); });
                });
}

void TLyravaneMainForm::CreateMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu"));
    MenuFile = bar->addMenu(tr("&Archivo"));
    MenuFile->addActions({Action_FileNew, Action_FileOpen, Action_FileRevert, Action_FileSave,
                          Action_FileSaveAs, Action_FileOutputMidi, Action_FileOutputAudio,
                          Action_FileOutputStems, Action_FileOutputScore, Action_Nothing,
                          Action_RecentFile1, Action_RecentFile2, Action_RecentFile3,
                          Action_RecentFile4});
    MenuFile->addSeparator();
    MenuFile->addAction(Action_FileExit);
    MenuEdit = bar->addMenu(tr("&Editar"));
    MenuEdit->addActions({Action_EditUndo, Action_EditRedo});
    MenuEdit->addSeparator();
    MenuEdit->addActions({Action_EditNewMunit, Action_EditCut, Action_EditCopy, Action_EditPaste,
                          Action_EditDelete});
    MenuEdit->addSeparator();
    MenuEdit->addAction(Action_EditComposeSong);
    MenuMusic = bar->addMenu(tr("&Reproducir"));
    MenuMusic->addActions(
        {Action_MusicPlay2, Action_MusicPlay, Action_MusicPlayFromHere, Action_MusicStop});
    MenuMusic->addSeparator();
    MenuMusic->addActions({Action_MusicLoop, Action_MusicCountIn, Action_MusicMetronome});
    MenuMusic->addSeparator();
    MenuMusic->addActions(
        {Action_MusicMixer, Action_ViewSongOverview, Action_MusicAddPattern, Action_MusicOption});
    MenuHelp = bar->addMenu(tr("&Ayuda"));
    MenuHelp->addAction(Action_HelpContents);
    MenuHelp->addSeparator();
    MenuHelp->addAction(Action_HelpAbout);
    MenuFile->setObjectName(QStringLiteral("MenuFile"));
    MenuEdit->setObjectName(QStringLiteral("MenuEdit"));
    MenuMusic->setObjectName(QStringLiteral("MenuMusic"));
    MenuHelp->setObjectName(QStringLiteral("MenuHelp"));
    for (QMenu* menu : {MenuFile, MenuEdit, MenuMusic, MenuHelp})
        menu->setToolTipsVisible(false);
}

void TLyravaneMainForm::CreateToolBar()
{
    ToolBar1 = new QWidget(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setFixedHeight(30);
    auto* layout = new QHBoxLayout(ToolBar1);
    layout->setContentsMargins(2, 4, 2, 4);
    layout->setSpacing(0);

    const auto addButton = [&](QAction* action)
    {
        auto* button = new TMenuButton(ToolBar1);
        button->setObjectName(QStringLiteral("ToolButton_") + action->objectName());
        button->setFixedSize(TMenuButton::DefaultWidth, TMenuButton::DefaultHeight);
        button->SetFlat(true);
        button->SetImages(ImageList1);
        button->SetAction(action);
        layout->addWidget(button);
        FToolButtons[action] = button;
    };
    const auto addDivider = [&]
    {
        auto* divider = new TSpeedDivider(ToolBar1);
        divider->setFixedSize(TSpeedDivider::DefaultWidth, TMenuButton::DefaultHeight);
        layout->addWidget(divider);
    };
    for (QAction* action :
         {Action_FileNew, Action_FileOpen, Action_FileSave, Action_FileOutputMidi})
        addButton(action);
    addDivider();
    for (QAction* action : {Action_EditNewMunit, Action_EditCut, Action_EditCopy, Action_EditPaste,
                            Action_EditDelete})
        addButton(action);
    addDivider();
    for (QAction* action :
         {Action_MusicPlay2, Action_MusicPlay, Action_MusicStop, Action_MusicMixer})
        addButton(action);
    addDivider();
    addButton(Action_HelpContents);
    layout->addStretch();
}

void TLyravaneMainForm::CreateTabShortcuts()
{
    const auto step = [this](int by)
    {
        const int count = TabControl1->count();
        if (count > 1 && !MouseCaptured())
            TabControl1->setCurrentIndex((TabControl1->currentIndex() + by + count) % count);
    };
    const QKeySequence next[] = {QKeySequence(Qt::CTRL | Qt::Key_Tab),
                                 QKeySequence(Qt::CTRL | Qt::Key_PageDown)};
    const QKeySequence previous[] = {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
                                     QKeySequence(Qt::CTRL | Qt::Key_PageUp)};
    for (const QKeySequence& keys : next)
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [step] { step(1); });
    for (const QKeySequence& keys : previous)
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [step] { step(-1); });
}

void TLyravaneMainForm::CreateClientArea()
{
    auto* client = new QWidget(this);
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(ToolBar1);

    GroundPanel = new QFrame(client);
    GroundPanel->setObjectName(QStringLiteral("GroundPanel"));
    GroundPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    GroundPanel->setLineWidth(1);
    column->addWidget(GroundPanel, 1);

    auto* ground = new QVBoxLayout(GroundPanel);
    ground->setContentsMargins(4, 4, 4, 4);
    ground->setSpacing(0);
    ground->addLayout(CreateTabRow());
    ground->addWidget(CreateOverviewRow(GroundPanel));

    auto* pane = new QFrame(GroundPanel);
    pane->setObjectName(QStringLiteral("TabPane"));
    pane->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    ground->addWidget(pane, 1);
    auto* paneLayout = new QVBoxLayout(pane);
    paneLayout->setContentsMargins(2, 2, 2, 2);
    PagePanel = new QWidget(pane);
    PagePanel->setObjectName(QStringLiteral("PagePanel"));
    paneLayout->addWidget(PagePanel);
    PagePanel->installEventFilter(this);
    CreatePages();

    connect(TabControl1, &QTabBar::currentChanged, this,
            [this] { RunCommand([this] { TabControl1Change(); }); });

    setCentralWidget(client);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setFixedHeight(19);
    setStatusBar(StatusBar1);
    SongLengthLabel = new QLabel(StatusBar1);
    SongLengthLabel->setObjectName(QStringLiteral("SongLengthLabel"));
    StatusBar1->addPermanentWidget(SongLengthLabel);
    SongLengthLabel->hide();
}

QHBoxLayout* TLyravaneMainForm::CreateTabRow()
{
    TabControl1 = new QTabBar(GroundPanel);
    TabControl1->setObjectName(QStringLiteral("TabControl1"));
    TabControl1->setExpanding(false);
    TabControl1->setUsesScrollButtons(true);
    TabControl1->setDrawBase(false);
    TabControl1->setFocusPolicy(Qt::StrongFocus);
    TabControl1->installEventFilter(this);
    auto* tabRow = new QHBoxLayout;
    tabRow->setSpacing(2);
    tabRow->addWidget(TabControl1, 1);
    TabListButton = new QToolButton(GroundPanel);
    TabListButton->setObjectName(QStringLiteral("TabListButton"));
    TabListButton->setArrowType(Qt::DownArrow);
    TabListButton->setAutoRaise(true);
    TabListButton->setPopupMode(QToolButton::InstantPopup);
    TabListButton->setToolTip(tr("Todas las pestañas"));
    TabListButton->setAccessibleName(TabListButton->toolTip());
    auto* tabMenu = new QMenu(TabListButton);
    tabMenu->setObjectName(QStringLiteral("TabListMenu"));
    connect(tabMenu, &QMenu::aboutToShow, this, [this, tabMenu] { FillTabListMenu(tabMenu); });
    TabListButton->setMenu(tabMenu);
    TabListButton->hide();
    tabRow->addWidget(TabListButton, 0, Qt::AlignVCenter);
    return tabRow;
}

void TLyravaneMainForm::CreatePages()
{
    if (FServices.CreatePropertyPage)
        PropertyPage = FServices.CreatePropertyPage(PagePanel);
    else
    {
        TPropertyPageServices pageServices;
        pageServices.SongPlayer = &FPlay->Player();
        pageServices.IncludeReset = [this] { return IncludeReset; };
        pageServices.MessageBoxes = FServices.MessageBoxes;
        PropertyPage = new TFormMusicProperty(pageServices, PagePanel);
    }
    PropertyPage->setObjectName(QStringLiteral("FormMusicProperty"));
    AddPage(PropertyPage);
}

void TLyravaneMainForm::UpdateTabListButton()
{
    TabListButton->setVisible(TabControl1->count() - 1 >= TabListUnits);
}

void TLyravaneMainForm::FillTabListMenu(QMenu* menu)
{
    menu->clear();
    for (int i = 0; i < TabControl1->count(); ++i)
    {
        QAction* entry = menu->addAction(TabControl1->tabText(i));
        entry->setCheckable(true);
        entry->setChecked(i == TabControl1->currentIndex());
        connect(entry, &QAction::triggered, this, [this, i] { TabControl1->setCurrentIndex(i); });
    }
}

TMenuButton* TLyravaneMainForm::ToolButton(const QAction* action) const
{
    const auto found = FToolButtons.find(action);
    return found != FToolButtons.end() ? found->second : nullptr;
}

void TLyravaneMainForm::EditSong(const QString& step, const QObject* control,
                                 const std::function<void()>& edit)
{
    FDocument->Edit(step, control, edit);
}

void TLyravaneMainForm::RunCommand(const std::function<void()>& command)
{
    try
    {
        command();
    }
    catch (const std::exception& error)
    {
        ShowErrorBox(ErrorText(error), ErrorDetails(error));
    }
}

bool TLyravaneMainForm::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip)
    {
        ShowStatusHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TLyravaneMainForm::ShowStatusHint(const QString& hint)
{
    StatusBar1->showMessage(LongHint(hint));
}
