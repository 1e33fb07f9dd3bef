// The main window at run time: its life cycle, the tabs and caption, the command states,
// message boxes, help and About.
#include "ui/mainform/LyravaneMainForm.h"

#include "controls/MenuButton.h"
#include "model/Munit.h"
#include "model/Muprop.h"
#include "ui/FormAbout.h"
#include "ui/FormHelp.h"
#include "ui/SongOverview.h"
#include "ui/UnitClipboard.h"
#include "ui/WindowUtils.h"
#include "ui/editor/FormMusicMeasures.h"
#include "ui/editor/SongPages.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScopeGuard>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QUndoStack>
#include <QWindow>

#include <algorithm>

// --- Window life cycle --------------------------------------------------------------------------

void TLyravaneMainForm::ApplyFixedOuterSize()
{
    // The outer size is fixed; the client area is what the frame leaves of it.
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    const int frameWidth = isVisible() ? frame.width() - client.width() : 0;
    const int frameHeight = isVisible() ? frame.height() - client.height() : 0;
    // On a screen too small for it (a large scale factor) the window takes the whole work
    // area instead, so that it stays on the screen it opens on.
    // The song overview, when shown, adds its row below the tab bar.
    const int overview = OverviewRow->isVisibleTo(this) ? OverviewRow->sizeHint().height() : 0;
    const QSize outer =
        QSize(OuterWidth, OuterHeight + overview).boundedTo(ScreenWorkArea(this).size());
    const QSize wanted(outer.width() - frameWidth, outer.height() - frameHeight);
    if (size() != wanted || minimumSize() != wanted || maximumSize() != wanted)
        setFixedSize(wanted);
}

void TLyravaneMainForm::ShowWindow()
{
    ApplyFixedOuterSize();
    if (isMinimized())
    {
        showMinimized();
        // The native window exists before the stored state is applied, so it can be mapped
        // with a normal start, and the window manager then shows it. Once it is shown, the
        // state goes to the manager again (see eventFilter).
        if (QWindow* handle = windowHandle())
        {
            FMinimiseWhenExposed = true;
            handle->installEventFilter(this);
        }
    }
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
    if (watched == TabControl1 && TabBarEvent(event))
        return true;
    if (event->type() == QEvent::ShortcutOverride && qobject_cast<QLineEdit*>(watched) != nullptr)
    {
        // Undo and redo in a field of a page are the window's: the field lets them pass.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
            Action_EditRedo->shortcuts().contains(QKeySequence(key->keyCombination())))
        {
            event->ignore();
            return true;
        }
    }
    if (watched == PagePanel && event->type() == QEvent::Resize)
    {
        PropertyPage->setGeometry(PageArea());
        if (BarEditor != nullptr)
            BarEditor->setGeometry(PageArea());
    }
    if (FMinimiseWhenExposed && watched == windowHandle() && event->type() == QEvent::Expose &&
        windowHandle()->isExposed())
    {
        FMinimiseWhenExposed = false;
        windowHandle()->removeEventFilter(this);
        // Passing through the normal state makes the platform send the minimise request.
        QTimer::singleShot(0, this,
                           [this]
                           {
                               windowHandle()->setWindowStates(Qt::WindowNoState);
                               windowHandle()->setWindowStates(Qt::WindowMinimized);
                           });
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

    // The questions and messages of the start open over the window, once it is on the screen.
    WhenOnScreen(this,
                 [this]
                 {
                     RunCommand([this] { OfferRecovery(); });
                     if (!FArguments.empty() && !FArguments.front().empty())
                     {
                         const std::string path = AbsoluteFsPath(FArguments.front());
                         RunCommand([this, &path] { OpenProjectFile(path); });
                         update();
                     }
                     FPlay->Prime(FServices.PlayerReady);
                 });
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
    RefreshCaption();
}

void TLyravaneMainForm::RefreshCaption()
{
    QString caption = ProgramTitle();
    if (!CaptionName.isEmpty())
        caption += QStringLiteral(" - [") + CaptionName + QLatin1Char(']');
    if (Project.Modified)
        caption += QStringLiteral(" *");
    if (caption != windowTitle())
        setWindowTitle(caption);
}

QString TLyravaneMainForm::TabName(int tab)
{
    return tab == 0 ? tr("Composition") : tr("Ptn.%1").arg(tab);
}

void TLyravaneMainForm::RebuildTabs()
{
    const QSignalBlocker blocker(TabControl1);
    TabControl1->setUpdatesEnabled(false);
    while (TabControl1->count() > 0)
        TabControl1->removeTab(TabControl1->count() - 1);
    TabControl1->addTab(TabName(0));
    Project.AttachProperties();
    for (int i = 1; i < Project.Count(); ++i)
        TabControl1->addTab(TabName(i));
    TabControl1->setCurrentIndex(0);
    TabControl1->setUpdatesEnabled(true);
    UpdateTabListButton();
}

void TLyravaneMainForm::ConnectParts()
{
    // Another song in place (New, Open, a recovered song, undo, redo): the pages let go of
    // the old entries first, and the tabs, the page and the caption show the new song after.
    connect(FDocument.get(), &TSongDocument::AboutToReplace, this,
            [this]
            {
                PropertyPage->SetMuprop(nullptr);
                if (BarEditor != nullptr)
                    BarEditor->ShowUnit(nullptr);
            });
    connect(FDocument.get(), &TSongDocument::Replaced, this,
            [this](int tab)
            {
                SetCaptionName(FDocument->DisplayName());
                RebuildTabs();
                SelectTab(std::clamp(tab, 0, TabControl1->count() - 1));
                TabControl1Change();
            });
    connect(FDocument.get(), &TSongDocument::Changed, this,
            [this]
            {
                RefreshCaption();
                RefreshUndoActions();
                SchedulePlaybackLoudness();
                RefreshSongOverview();
            });
    connect(FDocument.get(), &TSongDocument::Replaced, this,
            [this] { SchedulePlaybackLoudness(); });
    connect(FDocument.get(), &TSongDocument::RecoveryNotWritten, this,
            [this](const QString& reason) {
                StatusBar1->showMessage(
                    tr("No se pudo escribir el archivo de recuperación: %1").arg(reason));
            });
    connect(FPlay.get(), &TPlayController::PlayingChanged, Action_MusicStop, &QAction::setEnabled);
    connect(FPlay.get(), &TPlayController::PositionChanged, this,
            &TLyravaneMainForm::ShowPlayPosition);
    connect(FPlay.get(), &TPlayController::StatusChanged, this, &TLyravaneMainForm::ShowPlayStatus);
    FPlay->Refresh();
}

TUnitPage* TLyravaneMainForm::UnitPage()
{
    // Made when a unit's tab is first shown: a window opens on the composition tab.
    if (BarEditor == nullptr)
    {
        BarEditor = FServices.CreateUnitPage ? FServices.CreateUnitPage(PagePanel)
                                             : new TFormMusicMeasures(PagePanel);
        BarEditor->setObjectName(QStringLiteral("FormMusicMeasures"));
        AddPage(BarEditor);
    }
    return BarEditor;
}

void TLyravaneMainForm::AddPage(TSongPage* page)
{
    page->setParent(PagePanel);
    page->hide();
    page->setGeometry(PageArea());
    page->SetEditRunner(
        [this](const QString& step, const QObject* control, const std::function<void()>& edit)
        { EditSong(step, control, edit); });
    // Ctrl+Z in a number field undoes the song, not the field's typing.
    for (QLineEdit* field : page->findChildren<QLineEdit*>())
        field->installEventFilter(this);
}

QRect TLyravaneMainForm::PageArea() const
{
    // The pages sit at (-4, -4) so that their own border falls outside the visible area.
    return {-4, -4, PagePanel->width() + 8, PagePanel->height() + 8};
}

void TLyravaneMainForm::TabControl1Change()
{
    TWaitCursor wait;
    TabControl1->setFocus();
    // The commands follow the tab at once, not only when the window next waits for input.
    const auto refresh = qScopeGuard([this] { RefreshCommandStates(); });
    const int index = CurrentTab();
    Overview->SetCurrentEntry(index);
    if (index < 0 || index >= Project.Count())
        return;
    if (TMuprop* muprop = Project.PropertyAt(index))
    {
        if (BarEditor != nullptr)
            BarEditor->hide();
        PropertyPage->SetMuprop(muprop);
        PropertyPage->show();
    }
    else if (TMunit* unit = Project.UnitAt(index))
    {
        PropertyPage->hide();
        UnitPage()->ShowUnit(unit);
        Project.AttachProperties();
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
    Action_FileRevert->setEnabled(!FDocument->Untitled());
    Action_EditNewMunit->setEnabled(tabs <= MaxTabsForInsert);
    Action_EditCut->setEnabled(index > 0);
    Action_EditCopy->setEnabled(index > 0);
    Action_EditDelete->setEnabled(index > 0);
    Action_EditDuplicate->setEnabled(tabs <= MaxTabsForInsert && index > 0 &&
                                     index < Project.Count() && Project.UnitAt(index) != nullptr);
    Action_EditPaste->setEnabled(tabs <= MaxTabsForInsert && FServices.Clipboard != nullptr &&
                                 FServices.Clipboard->HasUnit());
    Action_MusicPlay2->setEnabled(index >= 0 && index < Project.Count() &&
                                  Project.UnitAt(index) != nullptr);
    RefreshUndoActions();
    RefreshCaption();
}

void TLyravaneMainForm::RefreshUndoActions()
{
    const QUndoStack& stack = FDocument->History().Stack();
    const auto named = [](const QString& command, const QString& step)
    {
        QString text = command;
        if (!step.isEmpty())
            text +=
                QLatin1Char(' ') + QString(step).replace(QLatin1Char('&'), QStringLiteral("&&"));
        return text;
    };
    Action_EditUndo->setEnabled(stack.canUndo());
    Action_EditUndo->setText(named(tr("&Deshacer"), stack.undoText()));
    Action_EditRedo->setEnabled(stack.canRedo());
    Action_EditRedo->setText(named(tr("&Rehacer"), stack.redoText()));
}

// --- Message boxes ------------------------------------------------------------------------------

TMsgResult TLyravaneMainForm::ShowMessageBox(const QString& text, TMsgIcon icon,
                                             TMsgButtons buttons)
{
    return FServices.MessageBoxes->Show(this, text, icon, buttons);
}

void TLyravaneMainForm::ShowErrorBox(const QString& text, const QString& details)
{
    FServices.MessageBoxes->ShowDetailed(this, text, details, TMsgIcon::Error, TMsgButtons::Ok);
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

// --- Help and About -----------------------------------------------------------------------------

void TLyravaneMainForm::Action_HelpContentsExecute()
{
    if (FHelpWindow == nullptr)
        FHelpWindow = new TFormHelp(this);
    if (!FHelpWindow->ShowContents(FServices.HelpFile))
    {
        ShowErrorBox(tr("No se puede abrir la ayuda: ") + FServices.HelpFile);
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
