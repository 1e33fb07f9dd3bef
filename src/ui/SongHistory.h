#pragma once

#include <QString>
#include <QUndoStack>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

class QObject;
class QWidget;
class TMusicProject;

/// The song as an undo step keeps it: the song with its locks (SongWithLocksParts). A part
/// that equals the one at the same place (or one place off) in the snapshot taken before
/// shares its memory, so a step costs little more than the entries it changed.
class TSongSnapshot
{
public:
    /// previous: the snapshot to share equal records with; may be null. The song as previous
    /// holds it gives previous itself.
    static std::shared_ptr<const TSongSnapshot>
    Take(const TMusicProject& song, const std::shared_ptr<const TSongSnapshot>& previous);
    /// Puts the song in this state, entries, values and locks; raises EReadError only if the
    /// snapshot was damaged. The pages must let go of the song's entries first.
    void Restore(TMusicProject& song) const;

    bool operator==(const TSongSnapshot& other) const;
    /// The memory of this snapshot that is not in counted yet; adds its parts to counted.
    std::size_t MemoryUsed(std::set<const void*>& counted) const;

private:
    /// The part at, or one place off, that holds bytes; null when none does.
    std::shared_ptr<const std::string> EqualPartNear(std::size_t at,
                                                     const std::string& bytes) const;

    std::vector<std::shared_ptr<const std::string>> FParts;
};

using TSongSnapshotPtr = std::shared_ptr<const TSongSnapshot>;

/// The undo history of the song: every edit that changes the song becomes one step holding
/// the song before and after it and the tabs shown then. Undo and redo put the song back
/// through Restore, which shows it.
class TSongHistory
{
public:
    /// Puts the song in a snapshot's state and shows the tab; called by undo and redo.
    using TRestore = std::function<void(const TSongSnapshot& state, int tab)>;
    /// Consecutive changes from one control less than this apart make one step.
    static constexpr std::int64_t MergeMilliseconds = 1000;

    TSongHistory(TMusicProject& song, std::function<int()> currentTab, TRestore restore);

    QUndoStack& Stack() { return FStack; }
    const QUndoStack& Stack() const { return FStack; }

    /// Runs edit and records what it changed as one step named name; nothing changed, no
    /// step. control: a control whose quick
    /// consecutive changes on one tab merge into one step (a drag, a held spin button);
    /// null: never merged. An edit run inside another edit, or while undo or redo restores
    /// the song, is part of that one.
    void Edit(const QString& name, const QObject* control, const std::function<void()>& edit);
    /// Forgets every step (New, Open): the song as it stands is the saved state.
    void Reset();
    /// The song as it stands is saved: undoing or redoing away from here modifies it.
    void MarkSaved();
    /// The song as it stands was never saved (a recovered song): it stays modified.
    void MarkUnsaved();

    /// Counts the changes of the song through the history: every step recorded or merged,
    /// every undo and redo.
    unsigned Revision() const { return FRevision; }

    /// The memory the steps hold: records counted once however many steps share them.
    std::size_t MemoryUsed() const;
    /// Milliseconds of a steady clock; tests set their own.
    std::function<std::int64_t()> Clock;

private:
    friend class TSongStep;
    void Record(const QString& name, const QObject* control, int tabBefore,
                const TSongSnapshotPtr& before, QWidget* focus);
    void Apply(const TSongSnapshotPtr& state, int tab, QWidget* control);
    /// The song is modified exactly when the stack is not at its saved state: the history
    /// alone sets the flag.
    void SyncModified();

    TMusicProject& FSong;
    std::function<int()> FCurrentTab;
    TRestore FRestore;
    QUndoStack FStack;
    /// The last snapshot taken or restored: the next one shares its records.
    TSongSnapshotPtr FLast;
    std::vector<const QObject*> FMergeControls;
    int FDepth = 0;
    unsigned FGeneration = 0;
    unsigned FRevision = 0;
};
