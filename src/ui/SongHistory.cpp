#include "ui/SongHistory.h"

#include "model/MusicProject.h"
#include "model/SongBytes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QUndoCommand>
#include <QWidget>

#include <algorithm>

namespace
{
/// Counts one level of nesting for as long as it lives.
class TNesting
{
public:
    explicit TNesting(int& depth) : FDepth(depth) { ++FDepth; }
    ~TNesting() { --FDepth; }
    TNesting(const TNesting&) = delete;
    TNesting& operator=(const TNesting&) = delete;

private:
    int& FDepth;
};
} // namespace

// --- Snapshots ----------------------------------------------------------------------------------

TSongSnapshotPtr TSongSnapshot::Take(const TMusicProject& song, const TSongSnapshotPtr& previous)
{
    auto snapshot = std::make_shared<TSongSnapshot>();
    std::vector<std::string> parts = SongWithLocksParts(song);
    snapshot->FParts.reserve(parts.size());
    for (std::size_t i = 0; i < parts.size(); ++i)
    {
        std::shared_ptr<const std::string> shared =
            previous != nullptr ? previous->EqualPartNear(i, parts[i]) : nullptr;
        if (shared == nullptr)
            shared = std::make_shared<const std::string>(std::move(parts[i]));
        snapshot->FParts.push_back(std::move(shared));
    }
    if (previous != nullptr && *snapshot == *previous)
        return previous;
    return snapshot;
}

std::shared_ptr<const std::string> TSongSnapshot::EqualPartNear(std::size_t at,
                                                                const std::string& bytes) const
{
    // An insert or a delete moves the entries after it by one place. (At 0, at - 1 wraps
    // round past the end.)
    for (const std::size_t near : {at, at - 1, at + 1})
        if (near < FParts.size() && *FParts[near] == bytes)
            return FParts[near];
    return nullptr;
}

void TSongSnapshot::Restore(TMusicProject& song) const
{
    std::string bytes;
    for (const auto& part : FParts)
        bytes += *part;
    SongWithLocksFromBytes(bytes, song);
}

bool TSongSnapshot::operator==(const TSongSnapshot& other) const
{
    return std::equal(FParts.begin(), FParts.end(), other.FParts.begin(), other.FParts.end(),
                      [](const auto& a, const auto& b) { return *a == *b; });
}

std::size_t TSongSnapshot::MemoryUsed(std::set<const void*>& counted) const
{
    if (!counted.insert(this).second)
        return 0;
    std::size_t bytes = sizeof *this + FParts.capacity() * sizeof(FParts.front());
    for (const auto& part : FParts)
        if (counted.insert(part.get()).second)
            bytes += sizeof(std::string) + part->capacity();
    return bytes;
}

// --- Steps --------------------------------------------------------------------------------------

/// One step: the song before and after it, the tab shown with each, and the control the
/// edit was made with, which shows the value undo or redo puts back.
class TSongStep : public QUndoCommand
{
public:
    TSongStep(TSongHistory& history, const QString& name, int mergeId, std::int64_t at,
              TSongSnapshotPtr before, int tabBefore, TSongSnapshotPtr after, int tabAfter,
              QWidget* control)
        : QUndoCommand(name), FHistory(history), FMergeId(mergeId), FAt(at),
          FBefore(std::move(before)), FAfter(std::move(after)), FTabBefore(tabBefore),
          FTabAfter(tabAfter), FControl(control)
    {
    }

    void undo() override { FHistory.Apply(FBefore, FTabBefore, FControl); }

    void redo() override
    {
        // Pushed after the edit has been made: the first redo has nothing to do.
        if (FDone)
            FHistory.Apply(FAfter, FTabAfter, FControl);
        FDone = true;
    }

    int id() const override { return FMergeId; }

    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* next = static_cast<const TSongStep*>(other);
        if (next->FTabBefore != FTabAfter || next->FAt - FAt >= TSongHistory::MergeMilliseconds)
            return false;
        FAfter = next->FAfter;
        FTabAfter = next->FTabAfter;
        FAt = next->FAt;
        // Dragged back to where it started: the step changes nothing and goes.
        setObsolete(*FAfter == *FBefore);
        return true;
    }

    std::size_t MemoryUsed(std::set<const void*>& counted) const
    {
        return sizeof *this + FBefore->MemoryUsed(counted) + FAfter->MemoryUsed(counted);
    }

private:
    TSongHistory& FHistory;
    int FMergeId;
    std::int64_t FAt;
    TSongSnapshotPtr FBefore;
    TSongSnapshotPtr FAfter;
    int FTabBefore;
    int FTabAfter;
    QPointer<QWidget> FControl;
    bool FDone = false;
};

// --- History ------------------------------------------------------------------------------------

TSongHistory::TSongHistory(TMusicProject& song, std::function<int()> currentTab, TRestore restore)
    : FSong(song), FCurrentTab(std::move(currentTab)), FRestore(std::move(restore))
{
    FStack.setUndoLimit(0); // no limit: a step costs little more than the entries it changed
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    Clock = [clock] { return clock->elapsed(); };
    // The stack has moved (push, undo, redo, clear) or the saved state has: the song is
    // modified exactly when it is not in the saved state. The stack's index moves after the
    // step has been undone or redone, so the flag follows the signals.
    const auto sync = [this] { SyncModified(); };
    QObject::connect(&FStack, &QUndoStack::indexChanged, &FStack, sync);
    QObject::connect(&FStack, &QUndoStack::cleanChanged, &FStack, sync);
}

void TSongHistory::Edit(const QString& name, const QObject* control,
                        const std::function<void()>& edit)
{
    if (FDepth > 0)
    {
        edit();
        return;
    }
    const TNesting nesting(FDepth);

    const unsigned generation = FGeneration;
    const int tabBefore = FCurrentTab();
    // Where the keyboard was: the control undo and redo of the step go back to.
    const QPointer<QWidget> focus = QApplication::focusWidget();
    FLast = TSongSnapshot::Take(FSong, FLast);
    const TSongSnapshotPtr before = FLast;
    try
    {
        edit();
    }
    catch (...)
    {
        // What a failing edit changed before it failed is a step all the same.
        if (generation == FGeneration)
            Record(name, control, tabBefore, before, focus);
        throw;
    }
    // New and Open start the history afresh: they are no step.
    if (generation == FGeneration)
        Record(name, control, tabBefore, before, focus);
}

void TSongHistory::Record(const QString& name, const QObject* control, int tabBefore,
                          const TSongSnapshotPtr& before, QWidget* focus)
{
    FLast = TSongSnapshot::Take(FSong, before);
    if (FLast == before)
        return;
    int mergeId = -1;
    if (control != nullptr)
    {
        const auto found = std::find(FMergeControls.begin(), FMergeControls.end(), control);
        mergeId = static_cast<int>(found - FMergeControls.begin());
        if (found == FMergeControls.end())
            FMergeControls.push_back(control);
    }
    ++FRevision;
    FStack.push(new TSongStep(*this, name, mergeId, Clock(), before, tabBefore, FLast,
                              FCurrentTab(), focus));
}

void TSongHistory::Apply(const TSongSnapshotPtr& state, int tab, QWidget* control)
{
    const TNesting nesting(FDepth);
    const QPointer<QWidget> focus = QApplication::focusWidget();
    FRestore(*state, tab);
    FLast = state;
    ++FRevision;
    // The keyboard goes on where the value came back: to the control the edit was made with,
    // else where it was, when either is still to be seen.
    for (QWidget* widget : {control, focus.data()})
        if (widget != nullptr && widget->isVisible() && widget->isEnabled())
        {
            widget->setFocus(Qt::OtherFocusReason);
            break;
        }
}

void TSongHistory::SyncModified()
{
    FSong.SetModified(!FStack.isClean());
}

void TSongHistory::Reset()
{
    ++FGeneration;
    FStack.clear();
    FLast.reset();
    SyncModified();
}

void TSongHistory::MarkSaved()
{
    FStack.setClean();
    SyncModified();
}

void TSongHistory::MarkUnsaved()
{
    FStack.resetClean();
    SyncModified();
}

std::size_t TSongHistory::MemoryUsed() const
{
    std::set<const void*> counted;
    std::size_t bytes = 0;
    for (int i = 0; i < FStack.count(); ++i)
        bytes += static_cast<const TSongStep*>(FStack.command(i))->MemoryUsed(counted);
    return bytes;
}
