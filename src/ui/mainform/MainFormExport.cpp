// The main window's exports beyond the song's MIDI file: the score as MusicXML, a unit's MIDI
// file from the tab menu, and a tab dragged out of the window as a MIDI file.
#include "ui/mainform/LyravaneMainForm.h"

#include "base/FileIO.h"
#include "midi/MidiData.h"
#include "model/Munit.h"
#include "notation/MusicXmlWriter.h"
#include "render/RenderExport.h"
#include "ui/WindowUtils.h"
#include "ui/editor/SongPages.h"
#include "ui/mainform/ExportRunner.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTabBar>
#include <QUrl>

bool TLyravaneMainForm::RenderTabMidi(int tab, TMidiData& midi) const
{
    return RenderExport(Project, tab, {RepeatCount, tab == 0 && IncludeReset, MidiTrackNames},
                        midi);
}

void TLyravaneMainForm::Action_FileOutputScoreExecute()
{
    if (MouseCaptured())
        return;
    RefreshHover(Action_FileOutputScore);
    // The score is titled by the song's name, not by the file it is written to.
    const QString song = SongBaseName();
    const QString title = song.isEmpty() ? tr("Sin título") : song;
    FExports->Run(
        ScoreDialog, ProposedExportName(QStringLiteral(".musicxml")),
        [this, &title](const std::string& fsPath)
        { SaveScoreFile(Project, fsPath, title.toStdString(), RepeatCount, ScoreDialog.Checked); });
}

void TLyravaneMainForm::ExportUnitMidi(int tab)
{
    if (MouseCaptured() || tab <= 0 || tab >= Project.Count() || Project.UnitAt(tab) == nullptr)
        return;
    const QString song = SongBaseName();
    FExports->Run(ExportDialog,
                  (song.isEmpty() ? QString() : song + QLatin1Char(' ')) + TabName(tab) +
                      QStringLiteral(".mid"),
                  [this, tab](const std::string& fsPath)
                  {
                      TMidiData midi;
                      RenderTabMidi(tab, midi);
                      midi.SaveToFile(fsPath);
                  });
}

std::unique_ptr<QMenu> TLyravaneMainForm::MakeTabMenu(int tab)
{
    auto menu = std::make_unique<QMenu>(this);
    menu->setObjectName(QStringLiteral("TabMenu"));
    menu->addAction(Action_FileOutputMidi);
    menu->addAction(Action_TabOutputUnitMidi);
    Action_TabOutputUnitMidi->setEnabled(tab > 0 && tab < Project.Count() &&
                                         Project.UnitAt(tab) != nullptr);
    Action_TabOutputUnitMidi->disconnect(this);
    connect(Action_TabOutputUnitMidi, &QAction::triggered, this,
            [this, tab] { RunCommand([this, tab] { ExportUnitMidi(tab); }); });
    return menu;
}

std::unique_ptr<QMimeData> TLyravaneMainForm::MakeTabDragData(int tab)
{
    TMidiData midi;
    if (FServices.TempMidiFile.empty() || !RenderTabMidi(tab, midi))
        return nullptr;
    // Beside the playback file, in the private temporary folder; the drop target copies it.
    const QString folder = QFileInfo(FromFsPath(FServices.TempMidiFile)).absolutePath();
    const QString song = Project.FileName.empty() ? QStringLiteral("Lyravane") : SongBaseName();
    const QString name = tab == 0 ? song + QStringLiteral(".mid")
                                  : song + QLatin1Char(' ') + TabName(tab) + QStringLiteral(".mid");
    const QString path = folder + QLatin1Char('/') + name;
    midi.SaveToFile(ToFsPath(path));
    auto mime = std::make_unique<QMimeData>();
    mime->setUrls({QUrl::fromLocalFile(path)});
    return mime;
}

bool TLyravaneMainForm::TabBarEvent(QEvent* event)
{
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->keyCombination() == QKeyCombination(Qt::Key_Down))
    {
        // Down goes from the tab into its page, where the page's keyboard work starts.
        TSongPage* page =
            PropertyPage->isVisible() ? static_cast<TSongPage*>(PropertyPage) : BarEditor;
        if (page == nullptr || !page->isVisible())
            return false;
        QWidget* entry = page->EntryControl();
        if (entry == nullptr)
            entry = page->nextInFocusChain();
        entry->setFocus(Qt::TabFocusReason);
        return true;
    }
    if (event->type() == QEvent::ContextMenu)
    {
        const auto* request = static_cast<QContextMenuEvent*>(event);
        const int tab = TabControl1->tabAt(request->pos());
        // Asked for while the right button is down (X11): no wait for the mouse here.
        if (tab < 0)
            return true;
        const auto menu = MakeTabMenu(tab);
        menu->exec(request->globalPos());
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress)
    {
        const auto* press = static_cast<QMouseEvent*>(event);
        FDragTab = press->button() == Qt::LeftButton
                       ? TabControl1->tabAt(press->position().toPoint())
                       : -1;
        FDragStart = press->position().toPoint();
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease)
        FDragTab = -1;
    if (event->type() != QEvent::MouseMove || FDragTab < 0)
        return false;
    const auto* move = static_cast<QMouseEvent*>(event);
    if ((move->buttons() & Qt::LeftButton) == 0 ||
        (move->position().toPoint() - FDragStart).manhattanLength() <
            QApplication::startDragDistance())
        return false;
    const int tab = FDragTab;
    FDragTab = -1;
    RunCommand(
        [this, tab]
        {
            auto mime = MakeTabDragData(tab);
            if (mime == nullptr)
                return;
            auto* drag = new QDrag(TabControl1);
            drag->setMimeData(mime.release());
            drag->exec(Qt::CopyAction);
        });
    return true;
}
