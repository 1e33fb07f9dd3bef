#include "ui/SongOverview.h"

#include "model/Munit.h"
#include "model/MusicProject.h"
#include "ui/editor/ChordNames.h"
#include "ui/editor/MeasureGlyphs.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cmath>

namespace
{
/// A block dragged inside the overview: its row.
const QString BlockMimeType = QStringLiteral("application/x-lyravane-overview-block");

enum TBlockRole
{
    ChordsRole = Qt::UserRole + 1,
    LocksRole,
    PlayBarRole,
};

/// Paints a block: its name on top, then a column a bar with its two chords, a padlock over
/// a locked bar; the bar that plays framed in the play cursor's colour.
class TBlockDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize BlockSize;

    QSize sizeHint(const QStyleOptionViewItem& /*option*/,
                   const QModelIndex& /*index*/) const override
    {
        return BlockSize;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, false);
        const QPalette& palette = option.palette;
        const bool selected = (option.state & QStyle::State_Selected) != 0;
        const int playBar = index.data(PlayBarRole).toInt();
        const QRect block = option.rect.adjusted(2, 2, -3, -3);
        painter->fillRect(block, selected ? palette.highlight() : palette.base());
        const QColor text = palette.color(selected ? QPalette::HighlightedText : QPalette::Text);

        const QFontMetrics metrics(option.font);
        const int line = metrics.height();
        QRect nameRect(block.left() + 4, block.top() + 1, block.width() - 8, line + 2);
        QFont bold = option.font;
        bold.setBold(true);
        painter->setFont(bold);
        painter->setPen(text);
        const QString marker = playBar >= 0 ? QStringLiteral("\u25B6 ") : QString();
        painter->drawText(nameRect, Qt::AlignLeft | Qt::AlignVCenter,
                          marker + index.data(Qt::DisplayRole).toString());
        painter->setFont(option.font);

        const QStringList chords = index.data(ChordsRole).toStringList();
        const int locks = index.data(LocksRole).toInt();
        const int bars = static_cast<int>(chords.size() / 2);
        const int top = nameRect.bottom() + 1;
        const int width = bars > 0 ? (block.width() - 4) / bars : 0;
        for (int bar = 0; bar < bars; ++bar)
        {
            const QRect cell(block.left() + 2 + bar * width, top, width - 1,
                             block.bottom() - top - 1);
            if ((locks & (1 << bar)) != 0)
            {
                QColor tint = palette.color(QPalette::Mid);
                tint.setAlpha(80);
                painter->fillRect(cell, tint);
                PaintPadlock(*painter, QPoint(cell.right() - 8, cell.top() + 2), text);
            }
            for (int half = 0; half < 2; ++half)
            {
                const QString& name = chords[bar * 2 + half];
                const bool repeated = half == 1 && name == chords[bar * 2];
                QColor pen = text;
                if (repeated)
                    pen.setAlpha(110);
                painter->setPen(pen);
                painter->drawText(
                    QRect(cell.left() + 3, cell.top() + 1 + half * line, cell.width() - 4, line),
                    Qt::AlignLeft | Qt::AlignVCenter, name);
            }
            if (bar == playBar)
            {
                painter->setPen(QPen(TMeasureGlyphs::PlayCursorColor(), 2));
                painter->drawRect(cell.adjusted(1, 1, -1, -1));
            }
        }
        painter->setPen(playBar >= 0 ? QPen(TMeasureGlyphs::PlayCursorColor(), 2)
                                     : QPen(palette.color(QPalette::Mid)));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(block);
        if ((option.state & QStyle::State_HasFocus) != 0)
        {
            QStyleOptionFocusRect focus;
            focus.initFrom(option.widget);
            focus.rect = block.adjusted(2, 2, -2, -2);
            focus.backgroundColor = palette.color(selected ? QPalette::Highlight : QPalette::Base);
            option.widget->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter,
                                                  option.widget);
        }
        painter->restore();
    }

private:
    /// A padlock of 7 x 8 pixels at topLeft.
    static void PaintPadlock(QPainter& painter, QPoint topLeft, const QColor& colour)
    {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(colour, 1.2));
        painter.setBrush(Qt::NoBrush);
        painter.drawArc(QRectF(topLeft.x() + 1.5, topLeft.y(), 4, 6), 0, 180 * 16);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawRect(QRectF(topLeft.x(), topLeft.y() + 3.5, 7, 4.5));
        painter.restore();
    }
};
} // namespace

// --- Blocks ------------------------------------------------------------------------------------

QString TOverviewBlock::Name() const
{
    return TSongOverview::tr("Ptn.%1").arg(Entry);
}

QString TOverviewBlock::AccessibleName() const
{
    QStringList bars;
    for (qsizetype i = 0; i + 1 < Chords.size(); i += 2)
        bars << (Chords[i + 1] == Chords[i] || Chords[i + 1].isEmpty()
                     ? Chords[i]
                     : Chords[i] + QLatin1Char(' ') + Chords[i + 1]);
    return TSongOverview::tr("%1, compases %2 a %3: %4")
        .arg(Name())
        .arg(FirstBar)
        .arg(LastBar)
        .arg(bars.join(QStringLiteral(", ")));
}

QString TOverviewBlock::LockText() const
{
    if (LockedBars.empty())
        return TSongOverview::tr("Sin compases bloqueados");
    QStringList bars;
    for (int bar : LockedBars)
        bars << QString::number(FirstBar + bar);
    return TSongOverview::tr("Compases bloqueados: %1").arg(bars.join(QStringLiteral(", ")));
}

std::vector<TOverviewBlock> OverviewBlocks(const TMusicProject& song)
{
    song.AttachProperties();
    std::vector<TOverviewBlock> blocks;
    int bar = 1;
    for (int entry = 0; entry < song.Count(); ++entry)
    {
        const TMunit* unit = song.UnitAt(entry);
        if (unit == nullptr)
            continue;
        TOverviewBlock block;
        block.Entry = entry;
        block.FirstBar = bar;
        block.LastBar = bar + unit->BarCount - 1;
        for (int b = 0; b < unit->BarCount; ++b)
        {
            for (int half = 0; half < 2; ++half)
                block.Chords << HalfBarChordName(*unit, b, half);
            if (unit->GetLock(b) != 0)
                block.LockedBars.push_back(b);
        }
        bar += unit->BarCount;
        blocks.push_back(std::move(block));
    }
    return blocks;
}

// --- The overview ------------------------------------------------------------------------------

TSongOverview::TSongOverview(QWidget* parent) : QListView(parent)
{
    setObjectName(QStringLiteral("SongOverview"));
    setAccessibleName(tr("Vista de la canción"));
    FModel = new QStandardItemModel(this);
    setModel(FModel);
    setItemDelegate(new TBlockDelegate(this));
    setFlow(QListView::LeftToRight);
    setWrapping(false);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setFocusPolicy(Qt::StrongFocus);
    FitToFont();

    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current)
            {
                if (!FShowing && current.isValid())
                    emit EntrySelected(FBlocks[static_cast<std::size_t>(current.row())].Entry);
            });
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index)
            {
                if (index.isValid())
                    emit PlayRequested(FBlocks[static_cast<std::size_t>(index.row())].Entry);
            });
}

void TSongOverview::FitToFont()
{
    const QFontMetrics metrics(font());
    // Four bars of the widest chord symbols the program writes.
    const int column = metrics.horizontalAdvance(QStringLiteral("F#m7b5")) + 6;
    const QSize block(4 * column + 10, 3 * metrics.height() + 12);
    static_cast<TBlockDelegate*>(itemDelegate())->BlockSize = block;
    setFixedHeight(block.height() + 2 * frameWidth() + 2 * spacing() +
                   horizontalScrollBar()->sizeHint().height());
    doItemsLayout();
}

void TSongOverview::changeEvent(QEvent* event)
{
    QListView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        FitToFont();
}

void TSongOverview::ShowSong(const TMusicProject& song)
{
    const int row = CurrentRow();
    const int current = row >= 0 ? FBlocks[static_cast<std::size_t>(row)].Entry : -1;
    FBlocks = OverviewBlocks(song);
    FShowing = true;
    FModel->clear();
    for (const TOverviewBlock& block : FBlocks)
    {
        auto* item = new QStandardItem(block.Name());
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
        item->setData(block.AccessibleName(), Qt::AccessibleTextRole);
        item->setData(block.LockText(), Qt::AccessibleDescriptionRole);
        item->setData(block.AccessibleName() + QLatin1Char('\n') + block.LockText(),
                      Qt::ToolTipRole);
        item->setData(block.Chords, ChordsRole);
        int locks = 0;
        for (int bar : block.LockedBars)
            locks |= 1 << bar;
        item->setData(locks, LocksRole);
        item->setData(block.Entry == FPlayingEntry ? FPlayingBar : -1, PlayBarRole);
        FModel->appendRow(item);
    }
    FShowing = false;
    SetCurrentEntry(current);
}

void TSongOverview::SetCurrentEntry(int entry)
{
    const auto found = std::find_if(FBlocks.begin(), FBlocks.end(),
                                    [entry](const TOverviewBlock& b) { return b.Entry == entry; });
    FShowing = true;
    if (found == FBlocks.end())
    {
        selectionModel()->clear();
    }
    else
    {
        const QModelIndex index = FModel->index(static_cast<int>(found - FBlocks.begin()), 0);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        scrollTo(index);
    }
    FShowing = false;
}

int TSongOverview::CurrentRow() const
{
    const QModelIndex current = selectionModel()->currentIndex();
    return current.isValid() && selectionModel()->isSelected(current) ? current.row() : -1;
}

void TSongOverview::ShowPlayPosition(int entry, double bars)
{
    const int bar = entry >= 0 ? static_cast<int>(std::floor(std::max(bars, 0.0))) : -1;
    if (entry == FPlayingEntry && bar == FPlayingBar)
        return;
    FPlayingEntry = entry;
    FPlayingBar = bar;
    for (int row = 0; row < FModel->rowCount(); ++row)
    {
        const int shown = FBlocks[static_cast<std::size_t>(row)].Entry == entry ? bar : -1;
        QStandardItem* item = FModel->item(row);
        if (item->data(PlayBarRole).toInt() != shown)
            item->setData(shown, PlayBarRole);
        if (shown >= 0 && !isHidden())
            scrollTo(item->index());
    }
}

// --- Keyboard and menu -------------------------------------------------------------------------

void TSongOverview::keyPressEvent(QKeyEvent* event)
{
    const int row = CurrentRow();
    const bool move = event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier);
    if (row >= 0 && move && (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right))
    {
        const int to = row + (event->key() == Qt::Key_Left ? -1 : 2);
        if (to >= 0 && to <= static_cast<int>(FBlocks.size()))
            emit MoveRequested(FBlocks[static_cast<std::size_t>(row)].Entry, TargetEntry(row, to));
        event->accept();
        return;
    }
    if (row >= 0 && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter))
    {
        emit PlayRequested(FBlocks[static_cast<std::size_t>(row)].Entry);
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

void TSongOverview::contextMenuEvent(QContextMenuEvent* event)
{
    QModelIndex index = indexAt(event->pos());
    QPoint at = event->globalPos();
    if (event->reason() == QContextMenuEvent::Keyboard)
    {
        index = currentIndex();
        at = viewport()->mapToGlobal(visualRect(index).center());
    }
    if (!index.isValid())
        return;
    SetCurrentEntry(FBlocks[static_cast<std::size_t>(index.row())].Entry);
    emit EntrySelected(FBlocks[static_cast<std::size_t>(index.row())].Entry);
    emit MenuRequested(FBlocks[static_cast<std::size_t>(index.row())].Entry, at);
}

// --- Drag and drop -----------------------------------------------------------------------------

int TSongOverview::TargetEntry(int row, int gap) const
{
    // The entries after the one taken out move up by one.
    const int count = static_cast<int>(FBlocks.size());
    const int before =
        gap < count ? FBlocks[static_cast<std::size_t>(gap)].Entry : FBlocks.back().Entry + 1;
    return before > FBlocks[static_cast<std::size_t>(row)].Entry ? before - 1 : before;
}

void TSongOverview::startDrag(Qt::DropActions /*supportedActions*/)
{
    const int row = CurrentRow();
    if (row < 0)
        return;
    auto* mime = new QMimeData;
    mime->setData(BlockMimeType, QByteArray::number(row));
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    const QRect rect = visualRect(FModel->index(row, 0));
    drag->setPixmap(viewport()->grab(rect));
    drag->setHotSpot(viewport()->mapFromGlobal(QCursor::pos()) - rect.topLeft());
    drag->exec(Qt::MoveAction);
    FDropGap = -1;
    viewport()->update();
}

int TSongOverview::DropGap(const QDropEvent& event) const
{
    if (event.source() != this || !event.mimeData()->hasFormat(BlockMimeType))
        return -1;
    const QPoint pos = event.position().toPoint();
    for (int row = 0; row < FModel->rowCount(); ++row)
    {
        const QRect rect = visualRect(FModel->index(row, 0));
        if (pos.x() < rect.center().x())
            return row;
    }
    return FModel->rowCount();
}

void TSongOverview::dragEnterEvent(QDragEnterEvent* event)
{
    if (DropGap(*event) < 0)
    {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

void TSongOverview::dragMoveEvent(QDragMoveEvent* event)
{
    const int gap = DropGap(*event);
    if (gap < 0)
    {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    if (gap != FDropGap)
    {
        FDropGap = gap;
        viewport()->update();
    }
}

void TSongOverview::dragLeaveEvent(QDragLeaveEvent* event)
{
    QListView::dragLeaveEvent(event);
    FDropGap = -1;
    viewport()->update();
}

void TSongOverview::dropEvent(QDropEvent* event)
{
    const int gap = DropGap(*event);
    FDropGap = -1;
    viewport()->update();
    bool ok = false;
    const int row = event->mimeData()->data(BlockMimeType).toInt(&ok);
    if (gap < 0 || !ok || row < 0 || row >= static_cast<int>(FBlocks.size()))
    {
        event->ignore();
        return;
    }
    // The window moves the unit and shows the song again.
    event->acceptProposedAction();
    if (gap != row && gap != row + 1)
        emit MoveRequested(FBlocks[static_cast<std::size_t>(row)].Entry, TargetEntry(row, gap));
}

void TSongOverview::paintEvent(QPaintEvent* event)
{
    QListView::paintEvent(event);
    if (FDropGap < 0 || FModel->rowCount() == 0)
        return;
    // A line where the dragged block would go.
    const bool after = FDropGap >= FModel->rowCount();
    const QRect rect = visualRect(FModel->index(after ? FModel->rowCount() - 1 : FDropGap, 0));
    const int x = after ? rect.right() : rect.left();
    QPainter painter(viewport());
    painter.fillRect(QRect(x - 1, rect.top(), 3, rect.height()),
                     palette().color(QPalette::Highlight));
}
