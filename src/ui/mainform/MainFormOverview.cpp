// The main window's view of the whole song: the overview under the tab bar and the song's
// length; and the commands on whole songs and units it offers: compose the song, move and
// duplicate a unit.
#include "ui/mainform/LyravaneMainForm.h"

#include "compose/ComposeUnit.h"
#include "model/Munit.h"
#include "render/RenderSong.h"
#include "ui/SongOverview.h"
#include "ui/WindowUtils.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTabBar>
#include <QToolButton>

QWidget* TLyravaneMainForm::CreateOverviewRow(QWidget* parent)
{
    OverviewRow = new QWidget(parent);
    OverviewRow->setObjectName(QStringLiteral("OverviewRow"));
    auto* row = new QHBoxLayout(OverviewRow);
    row->setContentsMargins(0, 2, 0, 2);
    row->setSpacing(2);
    Overview = new TSongOverview(OverviewRow);
    row->addWidget(Overview, 1);
    auto* compose = new QToolButton(OverviewRow);
    compose->setObjectName(QStringLiteral("ComposeSongButton"));
    compose->setDefaultAction(Action_EditComposeSong);
    // On two lines, so that the blocks keep the width.
    Action_EditComposeSong->setIconText(tr("Componer\ncanción"));
    compose->setToolButtonStyle(Qt::ToolButtonTextOnly);
    compose->setFixedHeight(Overview->height());
    row->addWidget(compose);
    OverviewRow->hide();

    connect(Overview, &TSongOverview::EntrySelected, this, &TLyravaneMainForm::SelectOverviewEntry);
    connect(Overview, &TSongOverview::PlayRequested, this,
            [this](int entry)
            {
                SelectOverviewEntry(entry);
                Action_MusicPlayFromHere->trigger();
            });
    connect(Overview, &TSongOverview::MoveRequested, this,
            [this](int from, int to)
            {
                RunCommand([this, from, to] { MoveEntry(from, to); });
                Overview->setFocus();
            });
    connect(Overview, &TSongOverview::MenuRequested, this, &TLyravaneMainForm::ShowOverviewMenu);
    return OverviewRow;
}

void TLyravaneMainForm::ShowSongOverview(bool on)
{
    OverviewRow->setVisible(on);
    RefreshSongOverview();
    ApplyFixedOuterSize();
    if (isVisible() && !isMinimized())
        KeepOnScreen(this);
}

void TLyravaneMainForm::RefreshSongOverview()
{
    if (OverviewRow->isVisibleTo(this))
    {
        Overview->ShowSong(Project);
        Overview->SetCurrentEntry(CurrentTab());
    }
    ShowSongLength();
}

QString TLyravaneMainForm::SongLengthText() const
{
    const QString length = MinutesSeconds(SongSeconds(Project, RepeatCount, IncludeReset));
    return RepeatCount > 1 ? tr("Duración: %1 (%2 veces)").arg(length).arg(RepeatCount)
                           : tr("Duración: %1").arg(length);
}

void TLyravaneMainForm::ShowSongLength()
{
    const QString text = SongLengthText();
    const bool overview = OverviewRow->isVisibleTo(this);
    SongLengthLabel->setText(text);
    SongLengthLabel->setVisible(overview);
    // Without the overview, a changed length is told for a while, unless a play's status
    // has the status bar.
    if (!overview && !FSongLengthText.isEmpty() && text != FSongLengthText && !FPlay->Playing())
        StatusBar1->showMessage(text, FServices.ConfirmationMilliseconds);
    FSongLengthText = text;
}

void TLyravaneMainForm::SelectOverviewEntry(int entry)
{
    if (entry < 0 || entry >= TabControl1->count())
        return;
    TabControl1->setCurrentIndex(entry);
    // Showing the tab's page gave the tab bar the keyboard.
    Overview->setFocus();
}

void TLyravaneMainForm::ShowOverviewMenu(int entry, QPoint globalPos)
{
    SelectOverviewEntry(entry);
    RefreshCommandStates();
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("OverviewMenu"));
    menu.addActions({Action_EditDuplicate, Action_EditDelete, Action_MusicPlayFromHere});
    menu.exec(globalPos);
}

// --- Commands ----------------------------------------------------------------------------------

void TLyravaneMainForm::Action_EditComposeSongExecute()
{
    if (MouseCaptured())
        return;
    TWaitCursor wait;
    EditSong(tr("Componer canción"), nullptr,
             [this] { ComposeSong(Project, {.Chords = true, .Rhythm = true, .Melody = true}); });
    // The bar editor shows the unit as composed.
    TabControl1Change();
}

void TLyravaneMainForm::Action_EditDuplicateExecute()
{
    const int index = CurrentTab();
    const TMunit* unit = index > 0 && index < Project.Count() ? Project.UnitAt(index) : nullptr;
    if (unit == nullptr || TabControl1->count() > MaxTabsForInsert)
        return;
    // A copy in full, its locked bars too: it is the same unit once more.
    auto copy = std::make_unique<TMunit>(*unit);
    FDocument->ReplaceSong([index, &copy](TMusicProject& song)
                           { song.Items.Insert(index + 1, std::move(copy)); },
                           index + 1);
}

void TLyravaneMainForm::MoveEntry(int from, int to)
{
    const int count = Project.Count();
    // The properties of the song (entry 0) stay first.
    if (from <= 0 || to <= 0 || from >= count || to >= count || from == to)
        return;
    EditSong(tr("Mover"), nullptr,
             [this, from, to]
             {
                 FDocument->ReplaceSong([from, to](TMusicProject& song)
                                        { song.Items.Insert(to, song.Items.Extract(from)); },
                                        to);
             });
}
