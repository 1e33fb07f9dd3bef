#pragma once

#include <QListView>
#include <QString>
#include <QStringList>

#include <vector>

class QStandardItemModel;
class TMusicProject;

/// What the song overview shows of one unit of the song.
struct TOverviewBlock
{
    /// The unit's entry in the song: its tab.
    int Entry = 0;
    /// The song's bars it spans, counted from 1.
    int FirstBar = 1;
    int LastBar = 4;
    /// Two chord symbols a bar, as the bar editor's tooltips name them ("Am7").
    QStringList Chords;
    /// The locked bars, counted from 0 within the unit.
    std::vector<int> LockedBars;

    /// "Ptn.3"
    QString Name() const;
    /// What a screen reader says: "Ptn.3, compases 9 a 12: C, Am7, F, G7" (a bar of two chords
    /// as "Dm7 G7").
    QString AccessibleName() const;
    /// "Compases bloqueados: 9, 10", or "Sin compases bloqueados".
    QString LockText() const;
};

/// The blocks of every unit of the song in playing order.
std::vector<TOverviewBlock> OverviewBlocks(const TMusicProject& song);

/// "Vista de la canción": the song as a row of blocks, one a unit, with its name, its chords
/// and its locked bars; the unit and bar that play are marked. It tells what the user asks of
/// a block; the window does it (and shows the song again).
class TSongOverview : public QListView
{
    Q_OBJECT

public:
    explicit TSongOverview(QWidget* parent = nullptr);

    /// Shows the song's units anew, keeping the current block's entry.
    void ShowSong(const TMusicProject& song);
    /// Makes the block of entry current (none: another entry); tells nothing.
    void SetCurrentEntry(int entry);
    /// The unit of entry plays, bars into it; entry -1: nothing plays.
    void ShowPlayPosition(int entry, double bars);
    /// The blocks shown.
    const std::vector<TOverviewBlock>& Blocks() const { return FBlocks; }

signals:
    /// A click or the arrow keys made the block of entry current.
    void EntrySelected(int entry);
    /// A double click or Enter on the block of entry.
    void PlayRequested(int entry);
    /// A drag or Ctrl+Shift+Left/Right: the unit of entry goes to entry toEntry of the song.
    void MoveRequested(int entry, int toEntry);
    /// The block's context menu, at globalPos.
    void MenuRequested(int entry, QPoint globalPos);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    /// The size of a block and the overview's height for the font.
    void FitToFont();
    /// The gap a drop at pos goes into: 0 before the first block, Blocks().size() after the
    /// last; -1 when the drag is none of ours.
    int DropGap(const QDropEvent& event) const;
    /// The entry a unit taken from block row lands on when put in gap.
    int TargetEntry(int row, int gap) const;
    int CurrentRow() const;

    QStandardItemModel* FModel;
    std::vector<TOverviewBlock> FBlocks;
    int FPlayingEntry = -1;
    int FPlayingBar = -1;
    int FDropGap = -1;
    bool FShowing = false;
};
