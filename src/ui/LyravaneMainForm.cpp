#include "ui/LyravaneMainForm.h"

#include "audio/AbstractMediaPlayer.h"
#include "base/Exceptions.h"
#include "base/Random.h"
#include "controls/ImageListEx.h"
#include "controls/MenuButton.h"
#include "controls/MenuButtonActionLink.h"
#include "controls/SpeedDivider.h"
#include "controls/ToolbarImages.h"
#include "midi/MidiData.h"
#include "model/Munit.h"
#include "model/Muprop.h"
#include "render/RenderSong.h"
#include "ui/FormAbout.h"
#include "ui/FormArranger.h"
#include "ui/FormHelp.h"
#include "ui/FormMusicMeasures.h"
#include "ui/FormMusicProperty.h"
#include "ui/FormOption.h"
#include "ui/OpenFileHistory.h"
#include "ui/Settings.h"
#include "ui/SongPages.h"
#include "ui/UnitClipboard.h"
#include "ui/WindowUtils.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScopeGuard>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <cstdio>
#include <sstream>

namespace
{
// The file messages are shown as they stand, in Japanese.
const QString MsgCannotOpen = QStringLiteral("ファイル '%s' がオープンできませんでした。");
const QString MsgInvalidFormat = QStringLiteral("ファイル '%s' は有効な形式ではありません。");
const QString MsgCannotWrite = QStringLiteral("ファイル '%s' への書き込みができませんでした。");
const QString MsgRevert = QStringLiteral("変更をすべて破棄します。よろしいですか？");
const QString MsgSaveChanges = QStringLiteral("%s has changed. Save now ? ");

constexpr int PrimeRetryMilliseconds = 250;

QString Format(QString pattern, const QString& name)
{
    return pattern.replace(QStringLiteral("%s"), name);
}

std::string ToFsPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString FromFsPath(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

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

/// Restores the song's modified flag when a page has been loaded from the song.
class TModifiedKeeper
{
public:
    explicit TModifiedKeeper(TMusicProject& song) : FSong(song), FModified(song.Modified) {}
    ~TModifiedKeeper() { FSong.SetModified(FModified); }
    TModifiedKeeper(const TModifiedKeeper&) = delete;
    TModifiedKeeper& operator=(const TModifiedKeeper&) = delete;

private:
    TMusicProject& FSong;
    bool FModified;
};
} // namespace

TLyravaneMainForm::TLyravaneMainForm(const TMainFormServices& services, QStringList arguments,
                                     QWidget* parent)
    : QMainWindow(parent), OpenDialog(this, services.FileDialogs),
      SaveAsDialog(this, services.FileDialogs), ExportDialog(this, services.FileDialogs),
      FServices(services), FArguments(std::move(arguments))
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

    OpenDialog.Title = QStringLiteral("Open");
    SaveAsDialog.Title = QStringLiteral("Save As...      ");
    ExportDialog.Title = QStringLiteral("Export to MIDI  ");
    OpenDialog.Filter = SaveAsDialog.Filter = QStringLiteral(" Lyravane file (*.lvp)|*.lvp|");
    OpenDialog.DefaultExt = SaveAsDialog.DefaultExt = QStringLiteral("lvp");
    ExportDialog.Filter = QStringLiteral("MIDI File (*.mid)   |*.mid|");
    ExportDialog.DefaultExt = QStringLiteral("mid");

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateClientArea();

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
    Randomize();

    Project.NewSong();
    Untitled = true;
    SetCaptionName(QStringLiteral("Untitled"));
    RebuildTabs();

    // The command states follow the program whenever it has nothing else to do.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                &TLyravaneMainForm::RefreshCommandStates);
    RefreshCommandStates();
}

TLyravaneMainForm::~TLyravaneMainForm()
{
    if (FServices.Player != nullptr)
    {
        try
        {
            FServices.Player->Close();
        }
        catch (const std::exception&)
        {
            // The program is ending; a player that cannot close has nothing left to play.
        }
    }
    History->SaveHistory();
    WriteSettings();
    FormArranger->SavePlacement();
    // The pages are deleted after the song; they must not hold on to its entries.
    PropertyPage->SetMuprop(nullptr);
    BarEditor->ShowUnit(nullptr);
    if (!FServices.TempMidiFile.empty())
        std::remove(FServices.TempMidiFile.c_str());
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
        MakeAction("Action_FileNew", "&Nuevo...", "Empezar un nuevo proyecto.",
                   QKeySequence(Qt::CTRL | Qt::Key_N), tiNew, &T::Action_FileNewExecute);
    Action_FileOpen =
        MakeAction("Action_FileOpen", "&Abrir...", "Abrir un proyecto ya creado.",
                   QKeySequence(Qt::CTRL | Qt::Key_O), tiOpen, &T::Action_FileOpenExecute);
    Action_FileRevert =
        MakeAction("Action_FileRevert", "&Ultimo Archivo...", "Volver al ultimo archivo abierto.",
                   QKeySequence(Qt::CTRL | Qt::Key_R), -1, &T::Action_FileRevertExecute);
    Action_FileSave =
        MakeAction("Action_FileSave", "&Salvar", "Salvar proyecto actual a disco.",
                   QKeySequence(Qt::CTRL | Qt::Key_S), tiSave, &T::Action_FileSaveExecute);
    Action_FileSaveAs =
        MakeAction("Action_FileSaveAs", "Salvar &Como...", "Salvar el proyecto actual como...",
                   QKeySequence(Qt::Key_F12), -1, &T::Action_FileSaveAsExecute);
    Action_FileOutputMidi = MakeAction("Action_FileOutputMidi", "Exportar a &MIDI...",
                                       "Exporta el proyecto actual a un archivo MIDI.", none,
                                       tiExportMidi, &T::Action_FileOutputMidiExecute);
    Action_Nothing = MakeAction("Action_Nothing", "-", QString(), none, -1, nullptr);
    Action_Nothing->setSeparator(true);

    QAction** recent[] = {&Action_RecentFile1, &Action_RecentFile2, &Action_RecentFile3,
                          &Action_RecentFile4};
    for (int tag = 0; tag < 4; ++tag)
    {
        QAction* action = MakeAction(QStringLiteral("Action_RecentFile%1").arg(tag + 1),
                                     QStringLiteral("&%1").arg(tag + 1),
                                     tag == 0 ? QStringLiteral("Archivo mas reciente.")
                                              : QStringLiteral("Proyecto mas reciente."),
                                     none, -1, nullptr);
        action->setData(tag);
        connect(action, &QAction::triggered, this,
                [this, tag] { RunCommand([this, tag] { Action_RecentFileExecute(tag); }); });
        *recent[tag] = action;
    }

    Action_FileExit =
        MakeAction("Action_FileExit", "S&alir", "Quitar Lyravane 1999",
                   QKeySequence(Qt::ALT | Qt::Key_F4), -1, &T::Action_FileExitExecute);
    Action_EditNewMunit =
        MakeAction("Action_EditNewMunit", "Insertar", "Inserta una nueva partitura", none, tiInsert,
                   &T::Action_EditNewMunitExecute);
    Action_EditCut = MakeAction("Action_EditCut", "C&orta",
                                "Remueve la partitura actual y la pega al Portapeles", none, tiCut,
                                &T::Action_EditCutExecute);
    Action_EditCopy =
        MakeAction("Action_EditCopy", "&Copiar", "Copia la partitura actual al Portapapeles", none,
                   tiCopy, &T::Action_EditCopyExecute);
    Action_EditPaste =
        MakeAction("Action_EditPaste", "&Pegar", "Inserta una partitura del Portapapeles", none,
                   tiPaste, &T::Action_EditPasteExecute);
    Action_EditDelete = MakeAction("Action_EditDelete", "&Borrar", "Borrar la partitura actual",
                                   none, tiDelete, &T::Action_EditDeleteExecute);
    Action_MusicPlay2 =
        MakeAction("Action_MusicPlay2", "Reproducir partitura", "Reproducir la partitura actual.",
                   QKeySequence(Qt::Key_F5), tiPlayUnit, &T::Action_MusicPlay2Execute);
    Action_MusicPlay =
        MakeAction("Action_MusicPlay", "&Reproducir cancion", "Reproducir cancion actual.",
                   QKeySequence(Qt::Key_F6), tiPlaySong, &T::Action_MusicPlayExecute);
    Action_MusicStop = MakeAction("Action_MusicStop", "&Parar", "Para de reproducir.",
                                  QKeySequence(Qt::Key_F7), tiStop, &T::Action_MusicStopExecute);
    Action_MusicOption =
        MakeAction("Action_MusicOption", "&Opciones...", "Configurar las opciones.", none, -1,
                   &T::Action_MusicOptionExecute);
    Action_HelpContents = MakeAction(
        "Action_HelpContents", "&Contenido", QStringLiteral("Enseña el contenido de la ayuda."),
        QKeySequence(Qt::Key_F1), tiHelpContents, &T::Action_HelpContentsExecute);
    Action_HelpAbout = MakeAction("Action_HelpAbout", "&Acerca...", "Acerca Lyravane 1999", none,
                                  -1, &T::Action_HelpAboutExecute);
}

void TLyravaneMainForm::CreateMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu"));
    MenuFile = bar->addMenu(QStringLiteral("&Archivo"));
    MenuFile->addActions({Action_FileNew, Action_FileOpen, Action_FileRevert, Action_FileSave,
                          Action_FileSaveAs, Action_FileOutputMidi, Action_Nothing,
                          Action_RecentFile1, Action_RecentFile2, Action_RecentFile3,
                          Action_RecentFile4});
    MenuFile->addSeparator();
    MenuFile->addAction(Action_FileExit);
    MenuEdit = bar->addMenu(QStringLiteral("&Editar"));
    MenuEdit->addActions({Action_EditNewMunit, Action_EditCut, Action_EditCopy, Action_EditPaste,
                          Action_EditDelete});
    MenuMusic = bar->addMenu(QStringLiteral("&Reproducir"));
    MenuMusic->addActions({Action_MusicPlay2, Action_MusicPlay, Action_MusicStop});
    MenuMusic->addSeparator();
    MenuMusic->addAction(Action_MusicOption);
    MenuHelp = bar->addMenu(QStringLiteral("&Ayuda"));
    MenuHelp->addAction(Action_HelpContents);
    MenuHelp->addSeparator();
    MenuHelp->addAction(Action_HelpAbout);
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
    for (QAction* action : {Action_MusicPlay2, Action_MusicPlay, Action_MusicStop})
        addButton(action);
    addDivider();
    addButton(Action_HelpContents);
    layout->addStretch();
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
    TabControl1 = new QTabBar(GroundPanel);
    TabControl1->setObjectName(QStringLiteral("TabControl1"));
    TabControl1->setExpanding(false);
    TabControl1->setUsesScrollButtons(true);
    TabControl1->setDrawBase(false);
    TabControl1->setFocusPolicy(Qt::StrongFocus);
    ground->addWidget(TabControl1);

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

    if (FServices.CreatePropertyPage)
        PropertyPage = FServices.CreatePropertyPage(PagePanel);
    else
    {
        TPropertyPageServices pageServices;
        pageServices.Song = &Project;
        pageServices.Player = FServices.Player;
        pageServices.TempMidiFile = FServices.TempMidiFile;
        pageServices.IncludeReset = [this] { return IncludeReset; };
        pageServices.MessageBoxes = FServices.MessageBoxes;
        PropertyPage = new TFormMusicProperty(pageServices, PagePanel);
    }
    BarEditor = FServices.CreateUnitPage ? FServices.CreateUnitPage(PagePanel)
                                         : new TFormMusicMeasures(PagePanel);
    PropertyPage->setParent(PagePanel);
    BarEditor->setParent(PagePanel);
    PropertyPage->setObjectName(QStringLiteral("FormMusicProperty"));
    BarEditor->setObjectName(QStringLiteral("FormMusicMeasures"));
    PropertyPage->hide();
    BarEditor->hide();

    connect(TabControl1, &QTabBar::currentChanged, this,
            [this] { RunCommand([this] { TabControl1Change(); }); });

    setCentralWidget(client);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setFixedHeight(19);
    setStatusBar(StatusBar1);
}

TMenuButton* TLyravaneMainForm::ToolButton(const QAction* action) const
{
    const auto found = FToolButtons.find(action);
    return found != FToolButtons.end() ? found->second : nullptr;
}

void TLyravaneMainForm::RunCommand(const std::function<void()>& command)
{
    try
    {
        command();
    }
    catch (const std::exception& error)
    {
        ShowErrorBox(QString::fromUtf8(error.what()));
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

// --- Window life cycle --------------------------------------------------------------------------

void TLyravaneMainForm::ReadSettings()
{
    RepeatCount = 0;
    IncludeReset = false;
    const auto settings = OpenLyravaneSettings(FServices.SettingsPath);
    // Reading stops at the first value that is missing or of the wrong type; what was read
    // before it stays.
    [&]
    {
        if (settings->allKeys().isEmpty() || !settings->contains(QStringLiteral("RepeatCount")))
            return;
        bool ok = false;
        const int count = settings->value(QStringLiteral("RepeatCount")).toInt(&ok);
        if (!ok)
            return;
        RepeatCount = count;
        const QVariant reset = settings->value(QStringLiteral("IncludeReset"));
        if (reset.typeId() == QMetaType::Bool)
            IncludeReset = reset.toBool();
        else if (reset.typeId() == QMetaType::Int || reset.typeId() == QMetaType::LongLong)
            IncludeReset = reset.toInt() != 0;
        else if (reset.typeId() == QMetaType::QString)
        {
            const QString text = reset.toString().trimmed().toLower();
            if (text == QLatin1String("true") || text == QLatin1String("1"))
                IncludeReset = true;
            else if (text == QLatin1String("false") || text == QLatin1String("0"))
                IncludeReset = false;
        }
    }();
    if (RepeatCount < 1 || RepeatCount > 4)
        RepeatCount = 1;
}

void TLyravaneMainForm::WriteSettings()
{
    const auto settings = OpenLyravaneSettings(FServices.SettingsPath);
    settings->setValue(QStringLiteral("RepeatCount"), RepeatCount);
    settings->setValue(QStringLiteral("IncludeReset"), IncludeReset);
    settings->sync(); // a failure is not reported: the old values stay
}

void TLyravaneMainForm::ApplyFixedOuterSize()
{
    // The outer size is fixed; the client area is what the frame leaves of it.
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    const int frameWidth = isVisible() ? frame.width() - client.width() : 0;
    const int frameHeight = isVisible() ? frame.height() - client.height() : 0;
    const QSize wanted(OuterWidth - frameWidth, OuterHeight - frameHeight);
    if (size() != wanted || minimumSize() != wanted || maximumSize() != wanted)
        setFixedSize(wanted);
}

void TLyravaneMainForm::ShowWindow()
{
    ApplyFixedOuterSize();
    if (isMinimized())
        showMinimized();
    else
    {
        show();
        KeepOnScreen(this);
    }
}

void TLyravaneMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    ApplyFixedOuterSize();
    if (!FFormShowQueued)
    {
        FFormShowQueued = true;
        QTimer::singleShot(0, this, [this] { FormShow(); });
    }
}

bool TLyravaneMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == PagePanel && event->type() == QEvent::Resize)
    {
        // The pages sit at (-4, -4) so that their own border falls outside the visible area.
        const QRect area(-4, -4, PagePanel->width() + 8, PagePanel->height() + 8);
        PropertyPage->setGeometry(area);
        BarEditor->setGeometry(area);
    }
    return QMainWindow::eventFilter(watched, event);
}

void TLyravaneMainForm::FormShow()
{
    if (FFormShowDone)
        return;
    FFormShowDone = true;
    ApplyFixedOuterSize();
    RefreshCommandStates();
    update();
    RunCommand([this] { TabControl1Change(); });
    emit FirstShown();

    if (!FArguments.isEmpty() && !FArguments.constFirst().isEmpty())
    {
        const QString path = QFileInfo(FArguments.constFirst()).absoluteFilePath();
        RunCommand([this, &path] { OpenProjectFile(path); });
        update();
    }
    PrimePlayer();
}

void TLyravaneMainForm::PrimePlayer()
{
    if (FServices.Player == nullptr || FServices.TempMidiFile.empty())
        return;
    // The SoundFont loads in the background: prime once it is there, never wait for it.
    if (FServices.PlayerReady && !FServices.PlayerReady())
    {
        if (FPrimeTimer == nullptr)
        {
            FPrimeTimer = new QTimer(this);
            FPrimeTimer->setInterval(PrimeRetryMilliseconds);
            connect(FPrimeTimer, &QTimer::timeout, this, &TLyravaneMainForm::PrimePlayer);
            FPrimeTimer->start();
        }
        return;
    }
    if (FPrimeTimer != nullptr)
        FPrimeTimer->stop();
    try
    {
        FServices.Player->Close();
        TMidiData midi;
        midi.SetTrackCount(1);
        midi.AddGMSystemOn(0, 0);
        midi.SaveToFile(FServices.TempMidiFile);
        FServices.Player->SetFileName(FServices.TempMidiFile);
        FServices.Player->Open();
        FServices.Player->Play();
    }
    catch (const std::exception&)
    {
        // Priming only warms the synthesiser up. Without sound (no SoundFont, no audio
        // output) the play commands say why when the user asks for sound.
    }
}

void TLyravaneMainForm::closeEvent(QCloseEvent* event)
{
    // Closing must not lose a changed song: the save-changes prompt may keep the window open.
    if (!QuerySaveChanges())
    {
        event->ignore();
        return;
    }
    if (FHelpWindow != nullptr)
        FHelpWindow->close();
    event->accept();
}

// --- Tabs and caption ---------------------------------------------------------------------------

int TLyravaneMainForm::CurrentTab() const
{
    return TabControl1->currentIndex();
}

void TLyravaneMainForm::SelectTab(int index)
{
    const QSignalBlocker blocker(TabControl1);
    TabControl1->setCurrentIndex(index);
}

void TLyravaneMainForm::SetCaptionName(const QString& name)
{
    CaptionName = FileNamePart(name);
    QString caption = ProgramTitle();
    if (!name.isEmpty())
        caption += QStringLiteral(" - [") + CaptionName + QLatin1Char(']');
    setWindowTitle(caption);
}

void TLyravaneMainForm::RebuildTabs()
{
    const QSignalBlocker blocker(TabControl1);
    TabControl1->setUpdatesEnabled(false);
    while (TabControl1->count() > 0)
        TabControl1->removeTab(TabControl1->count() - 1);
    TabControl1->addTab(QStringLiteral("Composition"));
    TMuprop* first = Project.PropertyAt(0);
    for (int i = 1; i < Project.Count(); ++i)
    {
        if (TMunit* unit = Project.UnitAt(i))
            unit->SetProperty(first);
        TabControl1->addTab(QStringLiteral("Ptn.%1").arg(i));
    }
    TabControl1->setCurrentIndex(0);
    TabControl1->setUpdatesEnabled(true);
}

void TLyravaneMainForm::TabControl1Change()
{
    TWaitCursor wait;
    TabControl1->setFocus();
    const int index = CurrentTab();
    if (index < 0 || index >= Project.Count())
        return;
    const TModifiedKeeper keeper(Project);
    if (TMuprop* muprop = Project.PropertyAt(index))
    {
        BarEditor->hide();
        PropertyPage->SetMuprop(muprop);
        PropertyPage->show();
    }
    else if (TMunit* unit = Project.UnitAt(index))
    {
        PropertyPage->hide();
        BarEditor->SetSong(&Project);
        BarEditor->ShowUnit(unit);
        if (TMuprop* governing = Project.GoverningProperty(index))
            unit->SetProperty(governing);
        BarEditor->show();
    }
}

// --- Command states -----------------------------------------------------------------------------

bool TLyravaneMainForm::MouseCaptured()
{
    return QWidget::mouseGrabber() != nullptr || QGuiApplication::mouseButtons() != Qt::NoButton;
}

void TLyravaneMainForm::RefreshCommandStates()
{
    const int tabs = TabControl1->count();
    const int index = CurrentTab();
    Action_FileRevert->setEnabled(!Untitled);
    Action_EditNewMunit->setEnabled(tabs <= MaxTabsForInsert);
    Action_EditCut->setEnabled(index > 0);
    Action_EditCopy->setEnabled(index > 0);
    Action_EditDelete->setEnabled(index > 0);
    Action_EditPaste->setEnabled(tabs <= MaxTabsForInsert && FServices.Clipboard != nullptr &&
                                 FServices.Clipboard->HasUnit());
    Action_MusicPlay2->setEnabled(index >= 0 && index < Project.Count() &&
                                  Project.UnitAt(index) != nullptr);
}

// --- Message boxes ------------------------------------------------------------------------------

TMsgResult TLyravaneMainForm::ShowMessageBox(const QString& text, TMsgIcon icon,
                                             TMsgButtons buttons)
{
    return FServices.MessageBoxes->Show(this, text, icon, buttons);
}

void TLyravaneMainForm::ShowErrorBox(const QString& text)
{
    ShowMessageBox(text, TMsgIcon::Error, TMsgButtons::Ok);
}

void TLyravaneMainForm::RefreshHover(QAction* action)
{
    // A dialog is about to open over the tool bar: the button under the mouse must not stay
    // lit behind it.
    QWidget* focus = QApplication::focusWidget();
    setEnabled(false);
    if (TMenuButton* button = ToolButton(action))
        button->UpdateHover();
    setEnabled(true);
    if (focus != nullptr)
        focus->setFocus();
    repaint();
}

// --- File procedures ----------------------------------------------------------------------------

bool TLyravaneMainForm::QuerySaveChanges()
{
    if (!Project.Modified)
        return true;
    const QString name = Project.FileName.empty() ? QStringLiteral("Untitled")
                                                  : FileNamePart(FromFsPath(Project.FileName));
    switch (
        ShowMessageBox(Format(MsgSaveChanges, name), TMsgIcon::Question, TMsgButtons::YesNoCancel))
    {
    case TMsgResult::No:
        return true;
    case TMsgResult::Yes:
        Action_FileSaveExecute();
        return !Project.Modified;
    default:
        return false;
    }
}

void TLyravaneMainForm::OpenProjectFile(const QString& path)
{
    auto song = std::make_unique<TMusicProject>();
    QString failure;
    {
        TWaitCursor wait;
        try
        {
            song->LoadFromFile(ToFsPath(path));
        }
        catch (const EFOpenError&)
        {
            failure = MsgCannotOpen;
        }
        catch (const std::exception&)
        {
            failure = MsgInvalidFormat;
        }
        if (failure.isEmpty())
        {
            PropertyPage->SetMuprop(nullptr);
            BarEditor->ShowUnit(nullptr);
            Project.Assign(*song);
            Project.SetFileName(ToFsPath(path));
            Project.SetModified(false);
            Untitled = false;
            SetCaptionName(path);
            History->AddFile(path);
            OpenDialog.FileName = path;
            RebuildTabs();
            TabControl1Change();
        }
    }
    if (!failure.isEmpty())
    {
        // The live song, its tabs and caption stay as they were.
        ShowErrorBox(Format(failure, FileNamePart(path)));
        History->RemoveFile(path);
    }
}

void TLyravaneMainForm::SaveProjectFile(const QString& path)
{
    bool written = false;
    {
        TWaitCursor wait;
        try
        {
            // Written through a temporary file: a failed save leaves the old file as it was.
            Project.SaveToFile(ToFsPath(path));
            Untitled = false;
            written = true;
        }
        catch (const std::exception&)
        {
            written = false;
        }
        if (written)
        {
            SetCaptionName(path);
            Project.SetFileName(ToFsPath(path));
            Project.SetModified(false);
            History->AddFile(path);
            OpenDialog.FileName = path;
        }
    }
    if (!written)
        ShowErrorBox(Format(MsgCannotWrite, FileNamePart(path)));
}

// --- File commands ------------------------------------------------------------------------------

void TLyravaneMainForm::Action_FileNewExecute()
{
    if (!QuerySaveChanges())
        return;
    PropertyPage->SetMuprop(nullptr);
    BarEditor->ShowUnit(nullptr);
    Project.NewSong();
    Untitled = true;
    SetCaptionName(QStringLiteral("Untitled"));
    RebuildTabs();
    TabControl1Change();
}

void TLyravaneMainForm::Action_FileOpenExecute()
{
    if (MouseCaptured())
        return;
    RefreshHover(Action_FileOpen);
    // The dialog keeps the last project opened or saved (Revert reopens it) until another
    // one has really been opened.
    const QString last = OpenDialog.FileName;
    if (!OpenDialog.Execute())
        return;
    const QString chosen = OpenDialog.FileName;
    OpenDialog.FileName = last;
    if (!QuerySaveChanges())
        return;
    OpenProjectFile(chosen);
    update();
}

void TLyravaneMainForm::Action_FileRevertExecute()
{
    if (MouseCaptured() || Untitled)
        return;
    if (ShowMessageBox(MsgRevert, TMsgIcon::Exclamation, TMsgButtons::YesNo) != TMsgResult::Yes)
        return;
    update();
    OpenProjectFile(OpenDialog.FileName);
}

void TLyravaneMainForm::Action_FileSaveExecute()
{
    if (MouseCaptured())
        return;
    RefreshHover(Action_FileSave);
    if (!Project.FileName.empty())
        SaveProjectFile(FromFsPath(Project.FileName));
    else
        Action_FileSaveAsExecute();
}

void TLyravaneMainForm::Action_FileSaveAsExecute()
{
    if (MouseCaptured())
        return;
    SaveAsDialog.FileName = FromFsPath(Project.FileName);
    if (!SaveAsDialog.Execute())
        return;
    update();
    SaveProjectFile(SaveAsDialog.FileName);
}

void TLyravaneMainForm::Action_FileExitExecute()
{
    if (MouseCaptured())
        return;
    close();
}

void TLyravaneMainForm::Action_RecentFileExecute(int tag)
{
    if (MouseCaptured())
        return;
    const QString path = History->FileAt(tag);
    if (path.isEmpty() || !QuerySaveChanges())
        return;
    OpenProjectFile(path);
}

void TLyravaneMainForm::DropFiles(const QStringList& paths)
{
    if (paths.isEmpty() || !QuerySaveChanges())
        return;
    OpenProjectFile(QFileInfo(paths.constFirst()).absoluteFilePath());
    update();
}

void TLyravaneMainForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        for (const QUrl& url : event->mimeData()->urls())
            if (url.isLocalFile())
            {
                event->acceptProposedAction();
                return;
            }
}

void TLyravaneMainForm::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    event->acceptProposedAction();
    // The drop's source waits until this returns: open the file once it has let go.
    QTimer::singleShot(0, this,
                       [this, paths] { RunCommand([this, &paths] { DropFiles(paths); }); });
}

// --- Editing commands ---------------------------------------------------------------------------

void TLyravaneMainForm::Action_EditNewMunitExecute()
{
    if (TabControl1->count() > MaxTabsForInsert)
        return;
    const int index = CurrentTab();
    Project.Items.Insert(index + 1, std::make_unique<TMunit>());
    RebuildTabs();
    SelectTab(index + 1);
    TabControl1Change();
    Project.SetModified(true);
}

void TLyravaneMainForm::CopyCurrentUnit()
{
    const TMunit* unit = Project.UnitAt(CurrentTab());
    if (unit == nullptr)
        return;
    std::ostringstream stream(std::ios::binary);
    unit->WriteToStream(stream);
    const std::string record = stream.str();
    FServices.Clipboard->SetUnit(QByteArray(record.data(), static_cast<qsizetype>(record.size())));
}

void TLyravaneMainForm::DeleteCurrentEntry()
{
    const int index = CurrentTab();
    // The properties of the song (tab 0) are never removed.
    if (index <= 0 || index >= Project.Count())
        return;
    PropertyPage->SetMuprop(nullptr);
    BarEditor->ShowUnit(nullptr);
    Project.Items.Delete(index);
    RebuildTabs();
    SelectTab(index < TabControl1->count() ? index : TabControl1->count() - 1);
    TabControl1Change();
    Project.SetModified(true);
}

void TLyravaneMainForm::Action_EditCopyExecute()
{
    if (CurrentTab() > 0)
        CopyCurrentUnit();
}

void TLyravaneMainForm::Action_EditCutExecute()
{
    if (CurrentTab() <= 0)
        return;
    CopyCurrentUnit();
    DeleteCurrentEntry();
}

void TLyravaneMainForm::Action_EditDeleteExecute()
{
    DeleteCurrentEntry();
}

void TLyravaneMainForm::Action_EditPasteExecute()
{
    if (TabControl1->count() > MaxTabsForInsert)
        return;
    const std::optional<QByteArray> record = FServices.Clipboard->GetUnit();
    if (!record || record->size() < UnitRecordSize)
        return;
    std::istringstream stream(std::string(record->constData(), UnitRecordSize), std::ios::binary);
    auto unit = std::make_unique<TMunit>();
    unit->ReadFromStream(stream); // a rejected record reaches the standard handler
    const int index = CurrentTab();
    Project.Items.Insert(index + 1, std::move(unit));
    RebuildTabs();
    SelectTab(index + 1);
    TabControl1Change();
    Project.SetModified(true);
}

// --- Sound commands -----------------------------------------------------------------------------

void TLyravaneMainForm::Action_MusicPlayExecute()
{
    TWaitCursor wait;
    FServices.Player->Close();
    {
        TMidiData midi;
        RenderSong(Project, midi, RepeatCount, IncludeReset);
        midi.SaveToFile(FServices.TempMidiFile);
    }
    FServices.Player->SetFileName(FServices.TempMidiFile);
    FServices.Player->Open();
    FServices.Player->Play();
}

void TLyravaneMainForm::Action_MusicPlay2Execute()
{
    TWaitCursor wait;
    const int index = CurrentTab();
    if (index < 0 || index >= Project.Count())
        return;
    const TMunit* unit = Project.UnitAt(index);
    if (unit == nullptr)
        return;
    FServices.Player->Close();
    {
        TMidiData midi;
        RenderUnitPlayback(*unit, midi, IncludeReset);
        midi.SaveToFile(FServices.TempMidiFile);
    }
    FServices.Player->SetFileName(FServices.TempMidiFile);
    FServices.Player->Open();
    FServices.Player->Play();
}

void TLyravaneMainForm::Action_MusicStopExecute()
{
    FServices.Player->Close();
}

void TLyravaneMainForm::Action_FileOutputMidiExecute()
{
    if (MouseCaptured())
        return;
    RefreshHover(Action_FileOutputMidi);
    QString proposed;
    if (!Project.FileName.empty())
    {
        const QString name = FileNamePart(FromFsPath(Project.FileName));
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        proposed = (dot > 0 ? name.left(dot) : name) + QStringLiteral(".mid");
    }
    ExportDialog.FileName = proposed;
    if (!ExportDialog.Execute())
        return;
    update();
    TWaitCursor wait;
    TMidiData midi;
    RenderSong(Project, midi, RepeatCount, IncludeReset);
    midi.SaveToFile(ToFsPath(ExportDialog.FileName));
}

// --- Options, help, About -----------------------------------------------------------------------

void TLyravaneMainForm::Action_MusicOptionExecute()
{
    if (MouseCaptured())
        return;
    TFormOption dialog(this);
    CenterOnOwner(&dialog);
    dialog.RepeatCount = RepeatCount;
    dialog.IncludeReset = IncludeReset;
    if (dialog.exec() == QDialog::Accepted)
    {
        RepeatCount = dialog.RepeatCount;
        IncludeReset = dialog.IncludeReset;
    }
}

void TLyravaneMainForm::Action_HelpContentsExecute()
{
    if (FHelpWindow == nullptr)
        FHelpWindow = new TFormHelp(this);
    if (!FHelpWindow->ShowContents(FServices.HelpFile))
    {
        ShowErrorBox(QStringLiteral("No se puede abrir la ayuda: ") + FServices.HelpFile);
        return;
    }
    FHelpWindow->show();
    FHelpWindow->raise();
    FHelpWindow->activateWindow();
}

void TLyravaneMainForm::Action_HelpAboutExecute()
{
    if (MouseCaptured())
        return;
    TFormAbout dialog(this);
    CenterOnOwner(&dialog);
    dialog.exec();
}

TFormHelp* TLyravaneMainForm::HelpWindow() const
{
    return FHelpWindow;
}
